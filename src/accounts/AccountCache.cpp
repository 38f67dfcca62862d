#include "AccountCache.h"

#include "AccountRefusal.h"
#include "PrivateFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
QString PathOf(const QString& accountKey, const QString& list)
{
    return AccountCache::FolderOf(accountKey) + QLatin1Char('/') + list + QStringLiteral(".json");
}
} // namespace

namespace AccountCache {

QString FolderOf(const QString& accountKey)
{
    // Hashed: a server's address may hold any character a file name may not.
    const QByteArray hash = QCryptographicHash::hash(accountKey.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/Korvanta/Accounts/")
           + QString::fromLatin1(hash);
}

bool Write(const QString& accountKey, const QString& list, const QByteArray& answer)
{
    if (!MakePrivateFolder(FolderOf(accountKey)))
        return false;
    QSaveFile file(PathOf(accountKey, list));
    return file.open(QIODevice::WriteOnly) && file.setPermissions(kPrivateFileMode)
           && file.write(answer) == answer.size() && file.commit();
}

std::optional<QByteArray> Read(const QString& accountKey, const QString& list)
{
    QFile file(PathOf(accountKey, list));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxAnswerBytes)
        return std::nullopt;
    return file.readAll();
}

void Remove(const QString& accountKey)
{
    QDir(FolderOf(accountKey)).removeRecursively();
}

} // namespace AccountCache
