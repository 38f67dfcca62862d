#include "StreamProbe.h"

#include <QNetworkRequest>

namespace {

constexpr int kFirstServerError = 500;

bool IsHttpUrl(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

QString Describe(const QByteArray& contentType, const QByteArray& body)
{
    if (body.isEmpty())
        return QStringLiteral("empty answer");
    if (contentType.isEmpty())
        return QStringLiteral("unrecognised content");
    return QStringLiteral("content type ") + QString::fromLatin1(contentType);
}

} // namespace

StreamProbe::StreamProbe(const QUrl& address, std::chrono::milliseconds timeout, QObject* parent)
    : QObject(parent), address(address), timeout(timeout)
{
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, this, &StreamProbe::OnTimeout);
}

StreamProbe::~StreamProbe()
{
    DropReply();
}

void StreamProbe::Start()
{
    clock.start();
    if (!IsHttpUrl(address)) {
        Finish(ProbeStatus::NotChecked, QStringLiteral("not an HTTP address"));
        return;
    }
    deadline.start(timeout);
    Fetch(address);
}

void StreamProbe::Fetch(const QUrl& url)
{
    body.clear();
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArray(kUserAgent));
    request.setRawHeader("Accept", "*/*");
    // Redirects are followed by hand: every one, https to http included, as the player does.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    reply = network.get(request);
    connect(reply, &QNetworkReply::readyRead, this, &StreamProbe::OnReadyRead);
    connect(reply, &QNetworkReply::finished, this, &StreamProbe::OnReplyFinished);
}

void StreamProbe::OnReadyRead()
{
    RecordReply();
    // Redirects and error pages are dealt with once they have ended.
    if (ReplyHttpCode() >= 300)
        return;
    body += reply->read(StreamContent::kPlaylistLimit - body.size());
    // A live stream never ends: decide from its first bytes and hang up.
    const auto kind = StreamContent::Classify(ReplyContentType(), body,
                                              body.size() >= StreamContent::kPlaylistLimit);
    if (kind != StreamContent::Kind::Undecided)
        Conclude(kind);
}

void StreamProbe::OnReplyFinished()
{
    RecordReply();
    const int code = ReplyHttpCode();
    if (code >= 400) {
        ConcludeHttpError(code);
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        ConcludeNetworkError(reply->error(), reply->errorString());
        return;
    }
    const QVariant target = reply->attribute(QNetworkRequest::RedirectionTargetAttribute);
    if (code >= 300 && target.isValid()) {
        FollowRedirect(reply->url().resolved(target.toUrl()));
        return;
    }
    body += reply->read(StreamContent::kPlaylistLimit - body.size());
    Conclude(StreamContent::Classify(ReplyContentType(), body, true));
}

void StreamProbe::FollowRedirect(const QUrl& target)
{
    if (++redirects > kMaxRedirects) {
        Unavailable(UnavailableReason::TooManyRedirects, QStringLiteral("more than %1 redirects").arg(kMaxRedirects));
        return;
    }
    // A server must not send us to local files or other schemes.
    if (!IsHttpUrl(target)) {
        Finish(ProbeStatus::NotChecked, QStringLiteral("redirected to a non-HTTP address"));
        return;
    }
    DropReply();
    Fetch(target);
}

void StreamProbe::OnTimeout()
{
    const QString seconds = QString::number(timeout.count() / 1000.0);
    Unavailable(UnavailableReason::NoAnswer, fetchingVariant
               ? QStringLiteral("the variant gave no usable answer within %1 s").arg(seconds)
               : QStringLiteral("no usable answer within %1 s").arg(seconds));
}

void StreamProbe::RecordReply()
{
    if (fetchingVariant)
        return;
    const int code = ReplyHttpCode();
    if (code != 0 && result.firstByteMs < 0)
        result.firstByteMs = clock.elapsed();
    result.httpCode = code;
    if (reply->url() != address)
        result.finalUrl = reply->url().toString();
}

void StreamProbe::Conclude(StreamContent::Kind kind)
{
    const QByteArray type = ReplyContentType();
    switch (kind) {
    case StreamContent::Kind::MasterPlaylist:
        if (!fetchingVariant) {
            FetchVariant();
            return;
        }
        Finish(ProbeStatus::Ok, QStringLiteral("master playlist"));
        return;
    case StreamContent::Kind::MediaPlaylist:
    case StreamContent::Kind::Media:
        if (fetchingVariant)
            Finish(ProbeStatus::Ok, QStringLiteral("master playlist"));
        else if (kind == StreamContent::Kind::MediaPlaylist)
            Finish(ProbeStatus::Ok, QStringLiteral("media playlist"));
        else
            Finish(ProbeStatus::Ok, QStringLiteral("media, ") + Describe(type, body));
        return;
    case StreamContent::Kind::NotAStream:
    case StreamContent::Kind::Undecided:
        Unavailable(UnavailableReason::NotAStream,
                    (fetchingVariant ? QStringLiteral("the variant is not a playlist: ") : QString())
                        + Describe(type, body));
        return;
    }
}

void StreamProbe::FetchVariant()
{
    const QUrl variant = StreamContent::FirstVariant(body, reply->url());
    if (variant.isEmpty()) {
        Unavailable(UnavailableReason::NotAStream, QStringLiteral("master playlist without variants"));
        return;
    }
    // A playlist must not send us to local files or other schemes.
    if (!IsHttpUrl(variant)) {
        Unavailable(UnavailableReason::NotAStream, QStringLiteral("the variant is not an HTTP address"));
        return;
    }
    DropReply();
    fetchingVariant = true;
    Fetch(variant);
}

void StreamProbe::ConcludeHttpError(int code)
{
    // The reasons the player gives for these answers, of the address or of its variant.
    UnavailableReason reason = UnavailableReason::None;
    if (code == 404 || code == 410)
        reason = UnavailableReason::NotFound;
    else if (code == 401 || code == 403 || code == 451)
        reason = UnavailableReason::Forbidden;
    else if (code >= kFirstServerError)
        reason = UnavailableReason::ServerError;
    Unavailable(reason, fetchingVariant ? QStringLiteral("the variant answered HTTP %1").arg(code)
                                        : QStringLiteral("HTTP %1").arg(code));
}

void StreamProbe::ConcludeNetworkError(QNetworkReply::NetworkError code, const QString& message)
{
    // Anything short of an answer is no answer to the player, except a failed handshake,
    // a refused connection and a host name that cannot be resolved.
    UnavailableReason reason = UnavailableReason::NoAnswer;
    if (code == QNetworkReply::SslHandshakeFailedError)
        reason = UnavailableReason::TlsFailed;
    else if (code == QNetworkReply::ConnectionRefusedError)
        reason = UnavailableReason::Refused;
    else if (code == QNetworkReply::HostNotFoundError)
        reason = UnavailableReason::HostNotFound;
    Unavailable(reason, fetchingVariant ? QStringLiteral("the variant: ") + message : message);
}

void StreamProbe::Unavailable(UnavailableReason reason, const QString& detail)
{
    result.reason = reason;
    Finish(ProbeStatus::Unavailable, detail);
}

void StreamProbe::Finish(ProbeStatus status, const QString& detail)
{
    if (done)
        return;
    done = true;
    deadline.stop();
    result.status = status;
    result.detail = detail;
    result.totalMs = clock.elapsed();
    DropReply();
    emit Finished();
}

void StreamProbe::DropReply()
{
    if (!reply)
        return;
    reply->disconnect();
    reply->abort();
    reply->deleteLater();
    reply = nullptr;
}

int StreamProbe::ReplyHttpCode() const
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

QByteArray StreamProbe::ReplyContentType() const
{
    return reply->rawHeader("Content-Type");
}
