#include "SingleInstance.h"

#include "PrivateFiles.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QLocalSocket>
#include <QUrl>

#include "LogCategories.h"
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kReplyTimeoutMs = 5000;
constexpr char kTaken = '1';
constexpr int kFolderKeyLength = 16;

// The runtime folder is private by definition, but only a checked one is used.
QString SocketFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && IsPrivateFolder(runtime))
        return runtime;
    const QString own = QDir::tempPath() + QStringLiteral("/korvanta-%1").arg(::getuid());
    return MakePrivateFolder(own) ? own : QString();
}

// Whether the process at the other end runs as this user, as the kernel saw it connect.
bool IsSameUser(const QLocalSocket& socket)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0
           && peer.uid == ::getuid();
}

void ReportNoListening(const QString& why)
{
    qCWarning(lcApp, "later starts cannot reach this one (%s); they will run on their own.", qPrintable(why));
}

} // namespace

SingleInstance::SingleInstance(const QString& path) : path(path)
{
    connect(&server, &QLocalServer::newConnection, this, &SingleInstance::Accept);
}

QString SingleInstance::NameFor(const QString& dataFolder)
{
    const QString folder = SocketFolder();
    if (folder.isEmpty())
        return {};
    const QByteArray folderKey = QCryptographicHash::hash(dataFolder.toUtf8(), QCryptographicHash::Sha1).toHex();
    return folder + QStringLiteral("/Korvanta-") + QString::fromLatin1(folderKey.left(kFolderKeyLength));
}

bool SingleInstance::HandOver(const QStringList& arguments) const
{
    if (path.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(kConnectTimeoutMs) || !IsSameUser(socket))
        return false;
    QDataStream stream(&socket);
    stream << arguments;
    socket.flush();
    return socket.waitForReadyRead(kReplyTimeoutMs) && socket.read(1) == QByteArray(1, kTaken);
}

bool SingleInstance::Listen()
{
    if (path.isEmpty()) {
        ReportNoListening(QStringLiteral("no folder private to this user for its socket"));
        return false;
    }
    // Nobody of ours answered: a socket left behind by a program that died is stale.
    QLocalServer::removeServer(path);
    server.setSocketOptions(QLocalServer::UserAccessOption);
    if (server.listen(path))
        return true;
    ReportNoListening(path + QStringLiteral(": ") + server.errorString());
    return false;
}

void SingleInstance::Accept()
{
    while (QLocalSocket* socket = server.nextPendingConnection()) {
        if (!IsSameUser(*socket)) {
            socket->abort(); // not a word read from another user
            socket->deleteLater();
            continue;
        }
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
