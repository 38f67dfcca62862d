#pragma once
// One guide download, written to its file as it arrives (never held whole): follows
// redirects that stay at least as safe, verifies TLS, sends the playlist's user agent,
// asks with the last ETag and Last-Modified so that an unchanged guide is not sent again,
// gives up after a time without data or beyond a size. The file is replaced only when the
// download completes.

#include <QObject>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>

#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

struct GuideDownloadResult {
    enum class Outcome { Downloaded, NotModified, HttpStatus, TimedOut, TooLarge, Network, CannotWrite };
    Outcome outcome = Outcome::Downloaded;
    QString detail; // the status code, or the network's own description
    QString etag, lastModified;
};

class GuideDownload : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 kMaxBytes = qint64(2) * 1024 * 1024 * 1024;

    // etag, lastModified: of the copy at path, empty when there is none.
    GuideDownload(QNetworkAccessManager& network, const QUrl& url, const QString& path, const QString& userAgent,
                  const QString& etag, const QString& lastModified, int idleTimeoutMs, QObject* parent = nullptr);
    ~GuideDownload() override;

signals:
    void Finished(const GuideDownloadResult& result);

private:
    void Read();
    void Finish();
    bool OpenCopy();
    void Abort(GuideDownloadResult::Outcome reason);

    QNetworkReply* reply;
    QSaveFile file;
    QTimer idle;
    qint64 received = 0;
    std::optional<GuideDownloadResult::Outcome> abortReason;
};
