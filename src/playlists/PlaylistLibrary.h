#pragma once
// The viewer's own playlists: their list in Playlists.xml, their channels read from the
// local file or from the cached copy of a downloaded one, and the downloads that keep
// those copies fresh.

#include "LanguageStrings.h"
#include "Playlist.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QUrl>

#include <map>
#include <vector>

enum class DownloadError;
struct M3uResult;
class PlaylistDownload;

class PlaylistLibrary : public QObject
{
    Q_OBJECT
public:
    // Reasons are worded with the Playlists group of texts, read when they are needed.
    explicit PlaylistLibrary(const LanguageStrings& texts, QObject* parent = nullptr);
    ~PlaylistLibrary() override;

    // Reads <dataFolder>/Korvanta/Playlists.xml and every playlist's channels. A damaged
    // file gives no playlists and a warning on standard error, and is kept until the
    // playlists change. Addresses whose copy is older than a day are refreshed in the
    // background; nothing here shows a message.
    void Load(const QString& dataFolder);
    // Writes Playlists.xml when the list changed since it was read or written.
    bool Save();

    // A local path (or file: address) is read at once; an http(s) address is downloaded
    // in the background. Failed() reports a source that cannot become a playlist.
    void Add(const QString& source);
    void Rename(int index, const QString& name);
    void Refresh(int index);
    void Remove(int index);

    const std::vector<Playlist>& Playlists() const { return playlists; }

    // Downloads give up after this long; tests shorten it.
    void SetDownloadTimeout(int milliseconds) { downloadTimeoutMs = milliseconds; }

signals:
    // After any change of the list or of a playlist's channels.
    void Changed();
    // A playlist the viewer asked for could not be loaded; nothing already imported changed.
    void Failed(const QString& playlistName, const QString& reason);
    // A playlist was loaded although skippedLines of its lines could not be read.
    void Imported(const QString& playlistName, int skippedLines);

private:
    // Why a load was started: the viewer's own requests report their outcome.
    enum class Request { Background, Refresh, Add };

    struct Outcome {
        std::vector<PlaylistChannel> channels;
        QString error; // worded for the viewer; empty when the channels can be used
        int skippedLines = 0;
        QStringList guideAddresses;
    };

    Outcome Parse(const QByteArray& bytes, const QUrl& location) const;
    Outcome ReadLocal(const QString& path) const;
    void Download(const QString& source, Request request);
    void Downloaded(const QString& source, const QByteArray& body, const QUrl& finalUrl, DownloadError error,
                    const QString& detail);
    void Apply(const QString& source, const QString& name, Outcome outcome, Request request);
    void Changes();
    int IndexOf(const QString& source) const;
    QString Text(int index) const;
    QString DownloadErrorText(DownloadError error, const QString& detail) const;

    const LanguageStrings& texts;
    std::vector<Playlist> playlists;
    QString filePath;
    bool modified = false;
    int downloadTimeoutMs;
    QNetworkAccessManager network;
    std::map<QString, std::pair<PlaylistDownload*, Request>> downloads; // by source
};
