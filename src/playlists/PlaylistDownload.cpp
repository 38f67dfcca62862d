#include "PlaylistDownload.h"

#include "BodyInflater.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {
constexpr int kFirstErrorStatus = 400;
// Qt stops reading the socket while this much waits unread, so a body the inflater cannot
// keep up with waits on the network rather than in memory.
constexpr qint64 kWireChunkBytes = 64 * 1024;
// Inflated per turn of the event loop: a few milliseconds of work at worst (long runs of
// one byte inflate slowest, at about 100 MB/s).
constexpr qint64 kStepBytes = 256 * 1024;

bool IsCompressed(const QByteArray& encoding)
{
    const QByteArray name = encoding.trimmed().toLower();
    return name == "gzip" || name == "x-gzip" || name == "deflate";
}
} // namespace

PlaylistDownload::PlaylistDownload(QNetworkAccessManager& network, const QUrl& url, int timeoutMs,
                                   qint64 maxBytes, QObject* parent, const QString& userAgent)
    : QObject(parent), maxBytes(maxBytes)
{
    QNetworkRequest request(url);
    if (!userAgent.isEmpty())
        request.setHeader(QNetworkRequest::UserAgentHeader, userAgent);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    // Asked for by name, a compressed body comes as sent: Qt inflates only what it asked
    // for itself, and then all at once and without a bound.
    request.setRawHeader("Accept-Encoding", "gzip");
    reply = network.get(request);
    reply->setReadBufferSize(kWireChunkBytes);
    connect(reply, &QNetworkReply::readyRead, this, &PlaylistDownload::Step);
    connect(reply, &QNetworkReply::finished, this, &PlaylistDownload::Finish);
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, [this] { Abort(DownloadError::TimedOut); });
    timer.start(timeoutMs);
    stepTimer.setSingleShot(true);
    connect(&stepTimer, &QTimer::timeout, this, &PlaylistDownload::Step);
}

PlaylistDownload::~PlaylistDownload()
{
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

QByteArray PlaylistDownload::Take(qint64 bytes)
{
    const QByteArray taken = reply->read(bytes);
    received += taken.size();
    if (!taken.isEmpty())
        emit Progress(received, declared);
    return taken;
}

void PlaylistDownload::Step()
{
    if (emitted)
        return;
    if (!encodingKnown) {
        encodingKnown = true;
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        declared = length.isValid() ? length.toLongLong() : kUnknownLength;
        if (IsCompressed(reply->rawHeader("Content-Encoding")))
            inflater = std::make_unique<BodyInflater>(maxBytes);
        else if (declared > maxBytes) {
            Abort(DownloadError::TooLarge); // said up front: not worth fetching
            return;
        }
    }
    if (inflater == nullptr) {
        body.append(Take(maxBytes + 1 - body.size()));
        if (body.size() > maxBytes) {
            Abort(DownloadError::TooLarge);
            return;
        }
    } else {
        if (!inflating) // new input only once the last is inflated
            inflater->Feed(Take(kWireChunkBytes));
        inflating = inflater->Step(kStepBytes);
        if (inflater->Current() != BodyInflater::State::Working) {
            Abort(inflater->Current() == BodyInflater::State::TooLarge ? DownloadError::TooLarge
                                                                        : DownloadError::Damaged);
            return;
        }
    }
    if (inflating || reply->bytesAvailable() > 0)
        stepTimer.start(0);
    else if (replyFinished && inflater == nullptr)
        Emit(DownloadError::None);
    else if (replyFinished && inflater->Ended()) {
        body = inflater->Body();
        Emit(DownloadError::None);
    } else if (replyFinished)
        Emit(DownloadError::Damaged);
}

void PlaylistDownload::Abort(DownloadError reason)
{
    reply->disconnect(this);
    reply->abort();
    Emit(reason);
}

namespace {
// The failures a viewer can act on, so that they are worded in the viewer's language.
DownloadError ErrorOf(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError: return DownloadError::Refused;
    case QNetworkReply::HostNotFoundError: return DownloadError::HostNotFound;
    case QNetworkReply::TimeoutError: return DownloadError::TimedOut;
    case QNetworkReply::SslHandshakeFailedError: return DownloadError::SecureConnection;
    case QNetworkReply::RemoteHostClosedError: return DownloadError::Closed;
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError: return DownloadError::Unreachable;
    default: return DownloadError::Network;
    }
}
} // namespace

void PlaylistDownload::Finish()
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= kFirstErrorStatus)
        Emit(DownloadError::HttpStatus, QString::number(status));
    else if (reply->error() != QNetworkReply::NoError)
        Emit(ErrorOf(reply->error()), reply->errorString());
    else {
        replyFinished = true;
        Step(); // what is left, over as many turns as it takes
    }
}

void PlaylistDownload::Emit(DownloadError error, const QString& detail)
{
    if (emitted)
        return;
    emitted = true;
    timer.stop();
    stepTimer.stop();
    if (error != DownloadError::None)
        body.clear();
    emit Finished(body, reply->url(), error, detail);
}
