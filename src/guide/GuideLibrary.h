#pragma once
// The viewer's programme guides: those named in their playlists' headers and those they
// added by file or address, downloaded and kept like playlists (the last good copy in the
// cache folder, refreshed in the background when older than 12 hours or the guide's own
// interval, asked for with its ETag and Last-Modified), imported on a worker into the
// guide store, and matched to the viewer's channels in the viewer's order of the guides,
// leaving out those turned off. The main window owns one.

#include "BackgroundWork.h"
#include "GuideImporter.h"
#include "GuideOrderFile.h"
#include "GuideStore.h"

#include <QDateTime>
#include <QNetworkAccessManager>
#include <QObject>

#include <functional>
#include <QTimer>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <vector>

struct GuideDownloadResult;
class GuideDownload;
struct Playlist;

struct GuideSource {
    QString name;
    QString source;          // a local path or an http(s) address
    bool own = false;        // added by the viewer; else named by a playlist
    QString userAgent;       // the playlist's, for its guides
    QDateTime lastRefresh;   // UTC: when it was last fetched or read; invalid = never
    GuideProblem lastProblem = GuideProblem::None;
    QString lastDetail;      // the problem's detail (a status code, the network's words)
    int unknownZones = 0;    // programmes of the last import whose zone name was not known, read as UTC
};

class GuideLibrary : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 kStaleAfterSeconds = 12 * 60 * 60; // until the viewer prefers another

    explicit GuideLibrary(QObject* parent = nullptr);
    ~GuideLibrary() override;

    // Reads <dataFolder>/Korvanta/Guides.xml and GuideChoices.xml and opens the store;
    // the stored guides answer once their channels are matched, on a worker (Changed).
    // Nothing is downloaded or imported before the viewer's channels are known
    // (SetViewerChannels); then stale guides are refreshed in the background.
    void Load(const QString& dataFolder, const QString& databasePath = GuideDatabase::DefaultPath());
    // Writes Guides.xml when the viewer's guides changed; reason says why it could not be.
    bool Save(QString* reason = nullptr);

    // The guides their headers name, with the playlist's user agent (its first channel's).
    void SetPlaylists(const std::vector<Playlist>& playlists);
    // The channels to match, matched on a worker; guides stored for other channels are
    // imported again from their copies.
    void SetViewerChannels(std::vector<GuideViewerChannel> channels);
    void SetLanguage(const std::string& language);
    void SetGlobalOffset(qint64 seconds);
    // The viewer's choice for a channel; an empty source forgets it.
    void Choose(const QString& channelKey, const GuideChoice& choice);

    void Add(const QString& source);
    void Rename(int index, const QString& name);
    void Remove(int index);
    void Refresh(int index);
    void RefreshAll();
    // A downloaded guide older than this is fetched again.
    void SetStaleAfter(qint64 seconds) { staleAfterSeconds = seconds; }
    // How far back programmes are kept, from the next import on; at most kDaysBack.
    void SetDaysBack(qint64 days) { daysBack = std::clamp<qint64>(days, 0, GuideImport::kDaysBack); }
    qint64 DaysBack() const { return daysBack; }
    // What a guide's address that hides its password becomes when asked of its server; the
    // guide keeps the hidden one for its name, its copy and the log.
    void SetAddressRevealer(std::function<QString(const QString&)> reveal) { revealer = std::move(reveal); }
    // The viewer's order: the guide at index goes step places up (negative) or down.
    void Move(int index, int step);
    // What the viewer set for the guide at index, kept in GuideOrder.xml.
    void SetSetting(int index, const GuideSetting& setting);
    GuideSetting SettingOf(int index) const;
    // Stops the download or import of a guide; what was stored of it stays.
    void Cancel(int index);
    // Thousandths read of a guide being imported, 0 while it is downloaded or waits; -1
    // when nothing is under way for it.
    int PermilleOf(const QString& source) const;

    const std::vector<GuideSource>& Guides() const { return guides; }
    const GuideStore& Store() const { return store; }
    const GuideChoices& Choices() const { return choices; }
    // The viewer's channels are matched to the stored guides' (false while a match runs).
    bool IsLinked() const { return !linking; }
    GuideLink LinkOf(const GuideViewerChannel& channel) const { return matcher.Find(channel); }
    const GuideMatcher& Matcher() const { return matcher; }
    const QString& DatabasePath() const { return databasePath; }
    GuideNowNext NowAndNext(const GuideViewerChannel& channel, qint64 now) const;

    // Downloads give up after this long without data; tests shorten it.
    void SetDownloadTimeout(int milliseconds) { downloadTimeoutMs = milliseconds; }

signals:
    // What the store holds changed, or how the viewer's channels are matched to it: now and
    // next are to be asked again. Once per import, once it is matched.
    void Changed();
    // The list of guides changed, or what is known of one (its name, its last problem, its
    // load under way).
    void ListChanged();
    void Progress(const QString& source, int permille);
    // A guide the viewer added or refreshed could not be fetched or read; what was stored
    // of it stays. Background refreshes only record their problem in the guide.
    void Failed(const QString& name, GuideProblem problem, const QString& detail);
    // A download ended; changed is false when the server had nothing new.
    void Refreshed(const QString& source, bool changed);

private:
    void Download(GuideSource& guide);
    void Downloaded(const QString& source, const GuideDownloadResult& result);
    void Import(const GuideSource& guide);
    void Imported(const QString& source, const GuideImportResult& result);
    void RefreshStale();
    // Matches the viewer's channels to the stored guides' on the worker; what waited for
    // the match runs once it is in.
    void Relink();
    void Linked(GuideMatcher made);
    QByteArray ImportedFor() const;
    GuideSource* Find(const QString& source);
    // The guides in the viewer's order; those it does not know yet after, as they came.
    void Arrange();
    // The viewer arranged their guides: the order and the settings are written.
    void SaveOrder();
    qint64 StaleAfter(const GuideSource& guide) const;
    void Report(GuideSource& guide, GuideProblem problem, const QString& detail);

    std::vector<GuideSource> guides;
    std::shared_ptr<const std::vector<GuideViewerChannel>> viewerChannels =
        std::make_shared<const std::vector<GuideViewerChannel>>();
    bool channelsKnown = false;
    GuideChoices choices;
    GuideArrangement order;
    GuideMatcher matcher;
    qint64 globalOffset = 0;
    bool linking = false;
    quint64 relinks = 0;         // the newest match asked for; older answers are dropped
    bool refreshWhenLinked = false;
    std::set<QString> importWhenLinked; // sources
    std::map<QString, int> permille;   // by source, while under way
    std::set<QString> asked;           // sources the viewer added or refreshed, until done
    std::string language = "en";
    QString guidesPath, choicesPath, orderPath, databasePath;
    bool modified = false;
    int downloadTimeoutMs;
    GuideStore store;
    std::unique_ptr<GuideImporter> importer;
    QNetworkAccessManager network;
    std::map<QString, GuideDownload*> downloads; // by source
    QTimer staleCheck;
    qint64 staleAfterSeconds = kStaleAfterSeconds;
    qint64 daysBack = GuideImport::kDaysBack;
    std::function<QString(const QString&)> revealer;
    BackgroundWork linker{this}; // last: gone first, so no match lands on a half-gone library
};
