#include "PanelServer.h"

#include "ZooServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>

#include <csignal>
#include <sys/prctl.h>

namespace {
constexpr int kStartMs = 10000;
constexpr int kAnnounceMs = 120000; // the media is made on the first run
constexpr int kRequestMs = 10000;
} // namespace

PanelServer::PanelServer(const QStringList& extraArguments)
    : arguments(QStringList{QStringLiteral(KORVANTA_SOURCE_DIR "/tests/support/panel_server.py"), QStringLiteral("--media"),
                            ZooMediaFolder()} + extraArguments)
{
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

PanelServer::~PanelServer()
{
    Kill();
}

bool PanelServer::Start()
{
    process.start(QStringLiteral("python3"), arguments);
    if (!process.waitForStarted(kStartMs))
        return false;
    while (process.waitForReadyRead(kAnnounceMs) || process.canReadLine()) {
        while (process.canReadLine()) {
            const QByteArray line = process.readLine().trimmed();
            if (line.startsWith("PORT "))
                port = line.mid(5).toInt();
            if (line == "READY")
                return port != 0;
        }
    }
    return false;
}

void PanelServer::Kill()
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.kill();
    process.waitForFinished(kStartMs);
}

QStringList PanelServer::Asked() const
{
    QNetworkAccessManager network;
    QNetworkReply* reply = network.get(QNetworkRequest(QUrl(Server() + QStringLiteral("/log"))));
    WaitFor([reply] { return reply->isFinished(); }, kRequestMs);
    QStringList asked;
    for (const QJsonValue& value : QJsonDocument::fromJson(reply->readAll()).array())
        asked.append(value.toString());
    reply->deleteLater();
    return asked;
}
