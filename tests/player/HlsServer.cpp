#include "HlsServer.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

QString HlsMediaFolder()
{
    return QStringLiteral(KORVANTA_BINARY_DIR "/test-media/hls");
}

HlsServer::HlsServer() = default;

HlsServer::~HlsServer()
{
    Kill();
}

bool HlsServer::Start()
{
    QStringList args{QStringLiteral(KORVANTA_SOURCE_DIR "/tests/support/hls_server.py"),
                     QStringLiteral("--media"), HlsMediaFolder()};
    if (port != 0)
        args << QStringLiteral("--port") << QString::number(port);
    process.start(QStringLiteral("python3"), args);
    if (!process.waitForStarted(5000))
        return false;
    // Generating the media the first time takes a few seconds.
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(60000))
            return false;
    }
    port = process.readLine().trimmed().toInt();
    return port > 0;
}

void HlsServer::Kill()
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.kill();
    process.waitForFinished(5000);
}

bool HlsServer::Control(const QString& query)
{
    QNetworkAccessManager manager;
    QNetworkReply* reply =
        manager.get(QNetworkRequest(QUrl(Url(QStringLiteral("/control?") + query))));
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const bool ok = reply->error() == QNetworkReply::NoError;
    delete reply;
    return ok;
}

QString HlsServer::Url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path);
}
