#include "ZooServer.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTcpServer>
#include <QTimer>
#include <QUrl>

#include <csignal>
#include <sys/prctl.h>

namespace {
constexpr int kStartMs = 10000;
// Making the media the first time takes a while; later runs reuse it.
constexpr int kAnnounceMs = 180000;
constexpr int kRequestMs = 10000;
constexpr int kExitPortBusy = 3;
} // namespace

QString ZooMediaFolder()
{
    return QStringLiteral(KORVANTA_BINARY_DIR "/test-media/zoo");
}

QString ClosedPortUrl(const QString& path)
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    // Closed again when probe goes: nothing listens there.
    return QStringLiteral("http://127.0.0.1:%1%2").arg(probe.serverPort()).arg(path);
}

QString UnresolvableUrl(const QString& path)
{
    return QStringLiteral("http://%1.invalid%2").arg(QString(64, QLatin1Char('x')), path);
}

ZooServer::ZooServer(const QStringList& extraArguments)
    : arguments(QStringList{QStringLiteral(KORVANTA_SOURCE_DIR "/tests/support/stream_zoo.py"),
                            QStringLiteral("--media"), ZooMediaFolder()} +
                extraArguments)
{
    // Killed with us, also when the test crashes or is killed.
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

ZooServer::~ZooServer()
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.closeWriteChannel(); // the server ends when its input does
    if (!process.waitForFinished(kStartMs))
        Kill();
}

bool ZooServer::Start(int wantedPort)
{
    if (wantedPort != 0)
        port = wantedPort;
    QStringList args = arguments;
    if (port != 0)
        args << QStringLiteral("--port") << QString::number(port);
    process.start(QStringLiteral("python3"), args);
    if (!process.waitForStarted(kStartMs)) {
        error = process.errorString();
        return false;
    }
    if (ReadAnnouncements())
        return true;
    process.waitForFinished(kStartMs);
    const QString reason = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == kExitPortBusy)
        error = QStringLiteral("the stream zoo's port %1 is busy").arg(port);
    else
        error = QStringLiteral("the stream zoo did not start: ") + reason;
    Kill();
    return false;
}

bool ZooServer::ReadAnnouncements()
{
    QDeadlineTimer deadline(kAnnounceMs);
    while (!deadline.hasExpired()) {
        while (process.canReadLine()) {
            const QList<QByteArray> words = process.readLine().trimmed().split(' ');
            const QByteArray value = words.value(1);
            if (words.first() == "PORT")
                port = value.toInt();
            else if (words.first() == "TLS_PORT")
                tlsPort = value.toInt();
            else if (words.first() == "UNTRUSTED_PORT")
                untrustedPort = value.toInt();
            else if (words.first() == "CA")
                caFile = QString::fromLocal8Bit(value);
            else if (words.first() == "READY")
                return port != 0;
        }
        if (process.state() == QProcess::NotRunning)
            return false;
        process.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
    }
    return false;
}

void ZooServer::Kill()
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.kill();
    process.waitForFinished(kStartMs);
}

QString ZooServer::Url(const QString& path) const
{
    const QString slash = path.startsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/");
    return QStringLiteral("http://127.0.0.1:%1%2%3").arg(port).arg(slash, path);
}

QString ZooServer::TlsUrl(const QString& path) const
{
    return Url(path).replace(QStringLiteral("http://127.0.0.1:%1").arg(port),
                             QStringLiteral("https://127.0.0.1:%1").arg(tlsPort));
}

QString ZooServer::UntrustedUrl(const QString& path) const
{
    return Url(path).replace(QStringLiteral("http://127.0.0.1:%1").arg(port),
                             QStringLiteral("https://127.0.0.1:%1").arg(untrustedPort));
}

bool ZooServer::Control(const QString& query) const
{
    bool ok = false;
    Get(QStringLiteral("/control?") + query, &ok);
    return ok;
}

QJsonObject ZooServer::Stats() const
{
    return QJsonDocument::fromJson(Get(QStringLiteral("/stats"))).object();
}

void ZooServer::Reset() const
{
    Get(QStringLiteral("/reset"));
}

QByteArray ZooServer::Get(const QString& path, bool* ok) const
{
    QNetworkAccessManager network;
    QNetworkReply* reply = network.get(QNetworkRequest(QUrl(Url(path))));
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(kRequestMs, &loop, &QEventLoop::quit);
    loop.exec();
    const bool done = reply->isFinished() && reply->error() == QNetworkReply::NoError;
    if (ok != nullptr)
        *ok = done;
    const QByteArray body = done ? reply->readAll() : QByteArray();
    delete reply;
    return body;
}
