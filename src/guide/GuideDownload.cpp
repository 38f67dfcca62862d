#include "GuideDownload.h"

#include "PrivateFiles.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {
constexpr int kFirstErrorStatus = 400;
constexpr int kNotModified = 304;
} // namespace

GuideDownload::GuideDownload(QNetworkAccessManager& network, const QUrl& url, const QString& path,
                             const QString& userAgent, const QString& etag, const QString& lastModified,
                             int idleTimeoutMs, QObject* parent)
    : QObject(parent), file(path)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    // The guide's size is bounded once inflated, by the reader; Qt's ratio check would
    // refuse well-compressed large guides.
    request.setDecompressedSafetyCheckThreshold(-1);
    if (!userAgent.isEmpty())
        request.setHeader(QNetworkRequest::UserAgentHeader, userAgent);
    if (!etag.isEmpty())
        request.setRawHeader("If-None-Match", etag.toLatin1());
    if (!lastModified.isEmpty())
        request.setRawHeader("If-Modified-Since", lastModified.toLatin1());
    reply = network.get(request);
    connect(reply, &QNetworkReply::readyRead, this, &GuideDownload::Read);
    connect(reply, &QNetworkReply::finished, this, &GuideDownload::Finish);
    idle.setSingleShot(true);
    idle.setInterval(idleTimeoutMs);
    connect(&idle, &QTimer::timeout, this, [this] { Abort(GuideDownloadResult::Outcome::TimedOut); });
    idle.start();
}

GuideDownload::~GuideDownload()
{
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

void GuideDownload::Read()
{
    idle.start();
    const QByteArray data = reply->readAll();
    if (data.isEmpty() || abortReason)
        return;
    if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() >= kFirstErrorStatus)
        return; // an error page is not kept
    if (!OpenCopy()) {
        Abort(GuideDownloadResult::Outcome::CannotWrite);
        return;
    }
    received += data.size();
    if (received > kMaxBytes)
        Abort(GuideDownloadResult::Outcome::TooLarge);
    else if (file.write(data) != data.size())
        Abort(GuideDownloadResult::Outcome::CannotWrite);
}

bool GuideDownload::OpenCopy()
{
    // The copy holds what the viewer's address returned: others may not read it.
    return file.isOpen() || (file.open(QIODevice::WriteOnly) && file.setPermissions(kPrivateFileMode));
}

void GuideDownload::Abort(GuideDownloadResult::Outcome reason)
{
    abortReason = reason;
    reply->abort(); // finishes the reply at once
}

void GuideDownload::Finish()
{
    idle.stop();
    if (!abortReason)
        Read();
    GuideDownloadResult result;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (abortReason) {
        result.outcome = *abortReason;
    } else if (status == kNotModified) {
        result.outcome = GuideDownloadResult::Outcome::NotModified;
    } else if (status >= kFirstErrorStatus) {
        result.outcome = GuideDownloadResult::Outcome::HttpStatus;
        result.detail = QString::number(status);
    } else if (reply->error() != QNetworkReply::NoError) {
        result.outcome = GuideDownloadResult::Outcome::Network;
        result.detail = reply->errorString();
    } else if (!OpenCopy()) { // an empty body
        result.outcome = GuideDownloadResult::Outcome::CannotWrite;
    }
    if (result.outcome == GuideDownloadResult::Outcome::Downloaded) {
        if (!file.commit())
            result.outcome = GuideDownloadResult::Outcome::CannotWrite;
        result.etag = QString::fromLatin1(reply->rawHeader("ETag"));
        result.lastModified = QString::fromLatin1(reply->rawHeader("Last-Modified"));
    } else {
        file.cancelWriting();
    }
    emit Finished(result);
}
