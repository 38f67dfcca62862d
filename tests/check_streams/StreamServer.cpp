#include "StreamServer.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

StreamServer::StreamServer(const QStringList& extraArguments)
    : arguments(QStringList{QStringLiteral(KORVANTA_STREAM_SERVER)} + extraArguments)
{
}

StreamServer::~StreamServer()
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.closeWriteChannel(); // the server ends when its input does
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

bool StreamServer::Start()
{
    process.start(QStringLiteral(KORVANTA_PYTHON), arguments);
    if (!process.waitForStarted(10000)) {
        error = process.errorString();
        return false;
    }
    while (process.waitForReadyRead(20000) || process.canReadLine()) {
        while (process.canReadLine()) {
            const QList<QByteArray> words = process.readLine().trimmed().split(' ');
            if (words.first() == "PORT")
                port = words.value(1).toInt();
            else if (words.first() == "TLS_PORT")
                tlsPort = words.value(1).toInt();
            else if (words.first() == "READY")
                return port != 0;
        }
    }
    error = QStringLiteral("the server did not start: ") + QString::fromLocal8Bit(process.readAllStandardError());
    return false;
}

QString StreamServer::Url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(port).arg(path);
}

QString StreamServer::TlsUrl(const QString& path) const
{
    return QStringLiteral("https://127.0.0.1:%1/%2").arg(tlsPort).arg(path);
}

QJsonObject StreamServer::Stats() const
{
    return QJsonDocument::fromJson(Get(QStringLiteral("stats"))).object();
}

void StreamServer::Reset() const
{
    Get(QStringLiteral("reset"));
}

QByteArray StreamServer::Get(const QString& path) const
{
    QNetworkAccessManager network;
    QNetworkReply* reply = network.get(QNetworkRequest(QUrl(Url(path))));
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    const QByteArray body = reply->isFinished() ? reply->readAll() : QByteArray();
    delete reply;
    return body;
}
