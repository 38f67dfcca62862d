#pragma once
// The viewer's own playlists: their list in Playlists.xml, their channels read from the
// local file or from the cached copy of a downloaded one, and the downloads that keep
// those copies fresh.

#include "BackgroundWork.h"
#include "LanguageStrings.h"
#include "M3uParser.h"
#include "Playlist.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

enum class DownloadError;
enum class FileReadError;
struct FileReadResult;
struct M3uResult;
class PlaylistDownload;
class PlaylistFileRead;

// How far a load of a playlist got: thousandths of it, or, while a download whose length
// was not declared runs, kUnknown and only the bytes received.
struct PlaylistProgress {
    static constexpr int kUnknown = -1;
    int permille = 0;
    qint64 receivedBytes = 0;
};

class PlaylistLibrary : public QObject
{
    Q_OBJECT
public:
    // Longer paths and addresses are refused when added.
    static constexpr int kMaxSourceLength = 4096;
    // A running load's progress is told no more often, so a fast download does not redraw
    // per packet.
    static constexpr int kProgressEveryMs = 100;

    // Reasons are worded with the Playlists and Guidance groups of texts, read when they are
    // needed.
    explicit PlaylistLibrary(const LanguageStrings& texts, QObject* parent = nullptr);
    ~PlaylistLibrary() override;

    // Reads <dataFolder>/Korvanta/Playlists.xml, then every playlist's channels in the
    // background, from the local file or the cached copy. A damaged file gives no
    // playlists and a warning on standard error, and is kept until the playlists change.
    // A playlist whose channels cannot be read stays, unavailable; a downloaded one is then
    // downloaded again in the background, as is one whose copy is older than a day.
    // Nothing here shows a message.
    void Load(const QString& dataFolder);
    // Writes Playlists.xml when the list changed since it was read or written; reason says
    // why it could not be.
    bool Save(QString* reason = nullptr);

    // A local path (or file: address) is read, an http(s) address downloaded, both in the
    // background. Failed() reports a source that cannot become a playlist.
    void Add(const QString& source);
    void Rename(int index, const QString& name);
    void Refresh(int index);
    void Remove(int index);

    // Stops whatever reads, downloads or parses the playlist of source, one being added
    // too: the playlist and its copy stay as they were, and no failure is reported.
    void Cancel(const QString& source);
    // How far the load of source got; nothing when none is under way.
    std::optional<PlaylistProgress> ProgressOf(const QString& source) const;
    // The sources being added, which have no playlist yet, in the order they were asked for.
    QStringList Adding() const;

    // Provider accounts are shown after the playlists, as playlists of their own that
    // Playlists.xml never holds. Each call tells Changed.
    void PutAccount(const std::shared_ptr<Playlist>& account);
    // An account as its copy kept it, read at start: told as Loaded, as the stored list is.
    void PutAccountCopy(const std::shared_ptr<Playlist>& account);
    void AddToAccount(const QString& source, const std::shared_ptr<std::vector<PlaylistChannel>>& entries);
    void ChangeAccount(const QString& source, const QString& name, const QString& lastError, const QDateTime& lastRefresh);
    void RemoveAccount(const QString& source);

    const std::vector<Playlist>& Playlists() const { return playlists; }
    // A read or a download is under way (or a parse, even one cancelled).
    bool IsBusy() const { return !reads.empty() || !downloads.empty() || parses > 0; }

    // Downloads and reads of files give up after these; tests shorten them.
    void SetDownloadTimeout(int milliseconds) { downloadTimeoutMs = milliseconds; }
    // The viewer's wait for a download, which its timeout's message then names.
    void SetViewerTimeout(int seconds);
    // The viewer's user agent for the downloads; empty: the toolkit's own.
    void SetUserAgent(const QString& agent) { userAgent = agent; }
    void SetReadTimeout(int milliseconds) { readTimeoutMs = milliseconds; }

signals:
    // After any change of the list or of a playlist's channels.
    void Changed();
    // The stored list, or an account's copy, was read at start; the playlists' channels
    // follow with Changed.
    void Loaded();
    // A playlist the viewer asked for could not be loaded; nothing already imported changed.
    void Failed(const QString& playlistName, const QString& reason);
    // A downloaded playlist could not be refreshed and its copy stays in use; message says
    // why and of when the copy is, for the viewer.
    void CopyKept(const QString& playlistName, const QString& message);
    // A playlist was loaded although skippedLines of its lines could not be read; report
    // says so for the viewer, naming the first of them and why (empty when none was).
    void Imported(const QString& playlistName, int skippedLines, const QString& report);
    // A playlist the viewer added is in, for the first time.
    void Added(const QString& playlistName);
    // A load of source began, got further (at most every kProgressEveryMs) or ended.
    void Progress(const QString& source);

private:
    // Why a load was started: the viewer's own requests report their outcome; the reads at
    // start only take up what was there.
    enum class Request { Start, Background, Refresh, Add };

    struct Outcome {
        std::vector<PlaylistChannel> channels;
        QString error; // worded for the viewer; empty when the channels can be used
        int skippedLines = 0;
        std::vector<M3uRefusedLine> firstRefused;
        QStringList guideAddresses;
        QString location; // where a download ended, when that was not its source
        int refusedLines = 0; // of skippedLines, those not allowed
    };

    // Everything read, downloaded and parsed for one source until nothing of it is left.
    struct Loading {
        quint64 order;                        // of the loads begun, for Adding
        std::shared_ptr<std::atomic<bool>> cancelled;
        PlaylistProgress progress;
        int parses = 0;                       // of this load, on the worker
    };

    // A big list takes a while to parse: that runs on the worker, in the order asked, and
    // done() gets the outcome here unless the load was cancelled meanwhile. A download's
    // copy is cached there once it parsed.
    void Parse(const QString& source, const QByteArray& bytes, const QUrl& location,
               std::function<void(Outcome)> done, bool cache = false);
    Outcome OutcomeOf(M3uResult result) const;
    void Read(const QString& source, Request request);
    void FileRead(const QString& source, const FileReadResult& result);
    void CopyRead(int index, const FileReadResult& result);
    void StartRead(int index, Outcome outcome);
    void Download(const QString& source, Request request);
    void Downloaded(const QString& source, const QByteArray& body, const QUrl& finalUrl, DownloadError error,
                    const QString& detail);
    void Apply(const QString& source, const QString& name, Outcome outcome, Request request);
    Loading& Begin(const QString& source);
    void Downloading(const QString& source, qint64 received, qint64 declared);
    // Ends the load of source once nothing of it is under way any more.
    void Settle(const QString& source);
    void DropRead(const QString& source);
    void Changes();
    int IndexOf(const QString& source) const;
    int AccountIndexOf(const QString& source) const;
    void Put(const std::shared_ptr<Playlist>& account);
    QString Text(int index) const;
    QString TimedOutText() const;
    QString DownloadErrorText(DownloadError error, const QString& detail) const;
    QString FileErrorText(FileReadError error) const;
    QString CopyKeptText(const Playlist& playlist, const QString& reason) const;
    QString RefusalText(M3uRefusal refusal) const;
    QString ImportReport(const QString& name, const Outcome& outcome) const;

    const LanguageStrings& texts;
    std::vector<Playlist> playlists;
    QString filePath;
    bool modified = false;
    int downloadTimeoutMs;
    QString userAgent;
    int viewerTimeoutSeconds = 0; // 0: none set, the pack's words for the usual wait
    int readTimeoutMs;
    QNetworkAccessManager network;
    // By source, with the strongest request each stands for.
    std::map<QString, std::pair<PlaylistDownload*, Request>> downloads;
    std::map<QString, std::pair<PlaylistFileRead*, Request>> reads;
    int parses = 0; // under way on the worker
    std::map<QString, Loading> loads; // by source
    quint64 loadsBegun = 0;
    std::set<QString> progressed;  // sources whose progress is shown at the next tick
    QTimer progressTick;
    BackgroundWork parsing{this}; // last: gone first, so no outcome arrives at a half-gone library
};
