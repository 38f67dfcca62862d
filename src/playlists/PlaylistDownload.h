#pragma once
// One playlist download: follows redirects that stay at least as safe, verifies TLS,
// accepts gzip, and gives up after a time limit or beyond a size limit.

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

enum class DownloadError {
    None,
    HttpStatus, // detail: the status code
    TimedOut,
    TooLarge,
    Network,    // detail: the network's own description
};

class PlaylistDownload : public QObject
{
    Q_OBJECT
public:
    PlaylistDownload(QNetworkAccessManager& network, const QUrl& url, int timeoutMs, qint64 maxBytes,
                     QObject* parent = nullptr);
    ~PlaylistDownload() override;

signals:
    // Once; finalUrl is where the redirects ended, for resolving relative entries.
    void Finished(const QByteArray& body, const QUrl& finalUrl, DownloadError error, const QString& detail);

private:
    void Read();
    void Finish();
    void Abort(DownloadError reason);

    QNetworkReply* reply;
    QTimer timer;
    QByteArray body;
    qint64 maxBytes;
    DownloadError abortReason = DownloadError::None;
};
