#pragma once
// One playlist download: follows redirects that stay at least as safe, verifies TLS,
// accepts gzip, and gives up after a time limit or beyond a size limit. A compressed
// body is inflated here a bounded step per turn of the event loop, and refused as soon
// as it inflates beyond the limit.

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <QUrl>

#include <memory>

class BodyInflater;
class QNetworkAccessManager;
class QNetworkReply;

enum class DownloadError {
    None,
    HttpStatus, // detail: the status code
    TimedOut,
    TooLarge,
    Network,    // detail: the network's own description, when none below fits
    Refused,
    HostNotFound,
    SecureConnection,
    Closed,
    Unreachable,
    Damaged,    // a compressed body that does not inflate
};

class PlaylistDownload : public QObject
{
    Q_OBJECT
public:
    // maxBytes bounds the body as inflated.
    // userAgent: sent when not empty.
    PlaylistDownload(QNetworkAccessManager& network, const QUrl& url, int timeoutMs, qint64 maxBytes,
                     QObject* parent = nullptr, const QString& userAgent = {});
    ~PlaylistDownload() override;

    // The body's declared length (Content-Length) when it has none.
    static constexpr qint64 kUnknownLength = -1;

    // Bytes taken from the network so far, compressed as they came.
    qint64 ReceivedBytes() const { return received; }

signals:
    // After every piece taken from the network; declared is the length the server gave, as
    // sent (compressed or not), or kUnknownLength.
    void Progress(qint64 received, qint64 declared);
    // Once; finalUrl is where the redirects ended, for resolving relative entries.
    void Finished(const QByteArray& body, const QUrl& finalUrl, DownloadError error, const QString& detail);

private:
    void Step();
    void Finish();
    void Abort(DownloadError reason);
    void Emit(DownloadError error, const QString& detail = {});
    QByteArray Take(qint64 maxBytes);

    QNetworkReply* reply;
    QTimer timer;
    QTimer stepTimer; // the next step of inflating, on the next turn of the event loop
    QByteArray body;
    qint64 maxBytes;
    qint64 received = 0;
    qint64 declared = kUnknownLength;
    std::unique_ptr<BodyInflater> inflater; // for a compressed body
    bool encodingKnown = false;
    bool inflating = false; // the inflater holds input or output for another step
    bool replyFinished = false;
    bool emitted = false;
};
