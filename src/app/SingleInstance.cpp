#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QLocalSocket>
#include <QUrl>

#include <unistd.h>

namespace {
constexpr int kConnectTimeoutMs = 1000;
constexpr int kReplyTimeoutMs = 5000;
constexpr char kTaken = '1';
constexpr int kFolderKeyLength = 16;
} // namespace

SingleInstance::SingleInstance(const QString& name) : name(name)
{
    connect(&server, &QLocalServer::newConnection, this, &SingleInstance::Accept);
}

QString SingleInstance::NameFor(const QString& dataFolder)
{
    const QByteArray folderKey = QCryptographicHash::hash(dataFolder.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("Korvanta-%1-%2").arg(getuid()).arg(QString::fromLatin1(folderKey.left(kFolderKeyLength)));
}

bool SingleInstance::HandOver(const QStringList& arguments) const
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    QDataStream stream(&socket);
    stream << arguments;
    socket.flush();
    return socket.waitForReadyRead(kReplyTimeoutMs) && socket.read(1) == QByteArray(1, kTaken);
}

bool SingleInstance::Listen()
{
    // Nobody answered: a socket left behind by a program that died is stale.
    QLocalServer::removeServer(name);
    server.setSocketOptions(QLocalServer::UserAccessOption);
    return server.listen(name);
}

void SingleInstance::Accept()
{
    while (QLocalSocket* socket = server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QDataStream stream(socket);
            stream.startTransaction();
            QStringList arguments;
            stream >> arguments;
            if (!stream.commitTransaction())
                return;
            socket->write(QByteArray(1, kTaken));
            socket->flush();
            socket->disconnectFromServer();
            emit Received(arguments);
        });
    }
}

QStringList PlaylistArguments(const QStringList& arguments, const QString& callerDirectory)
{
    QStringList sources;
    for (const QString& argument : arguments) {
        if (argument.isEmpty() || argument.startsWith(QLatin1Char('-')))
            continue;
        const QUrl url(argument);
        if (url.isLocalFile())
            sources.append(url.toLocalFile());
        else if (url.scheme().size() > 1)
            sources.append(argument);
        else
            sources.append(QDir::cleanPath(QDir(callerDirectory).absoluteFilePath(argument)));
    }
    return sources;
}
