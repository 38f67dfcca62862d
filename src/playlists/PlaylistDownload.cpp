#include "PlaylistDownload.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {
constexpr int kFirstErrorStatus = 400;
}

PlaylistDownload::PlaylistDownload(QNetworkAccessManager& network, const QUrl& url, int timeoutMs,
                                   qint64 maxBytes, QObject* parent)
    : QObject(parent), maxBytes(maxBytes)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    // The size limit below applies to the decompressed body; Qt's own ratio check would
    // refuse well-compressed large playlists.
    request.setDecompressedSafetyCheckThreshold(-1);
    reply = network.get(request);
    connect(reply, &QNetworkReply::readyRead, this, &PlaylistDownload::Read);
    connect(reply, &QNetworkReply::finished, this, &PlaylistDownload::Finish);
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, [this] { Abort(DownloadError::TimedOut); });
    timer.start(timeoutMs);
}

PlaylistDownload::~PlaylistDownload()
{
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

void PlaylistDownload::Read()
{
    body.append(reply->readAll());
    if (body.size() > maxBytes)
        Abort(DownloadError::TooLarge);
}

void PlaylistDownload::Abort(DownloadError reason)
{
    abortReason = reason;
    reply->abort(); // finishes the reply at once
}

void PlaylistDownload::Finish()
{
    timer.stop();
    DownloadError error = abortReason;
    QString detail;
    if (error == DownloadError::None) {
        Read();
        error = abortReason;
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (error == DownloadError::None && status >= kFirstErrorStatus) {
        error = DownloadError::HttpStatus;
        detail = QString::number(status);
    } else if (error == DownloadError::None && reply->error() != QNetworkReply::NoError) {
        error = DownloadError::Network;
        detail = reply->errorString();
    }
    if (error != DownloadError::None)
        body.clear();
    emit Finished(body, reply->url(), error, detail);
}
