#include "PlaylistCache.h"

#include "PrivateFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

QString PlaylistCachePath(const QString& source)
{
    // Hashed, because an address may hold any character a file name may not.
    const QByteArray key = QCryptographicHash::hash(source.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/Korvanta/")
           + QString::fromLatin1(key) + QStringLiteral(".m3u");
}

bool WriteCachedPlaylist(const QString& source, const QByteArray& body)
{
    const QString path = PlaylistCachePath(source);
    if (!MakePrivateFolder(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.setPermissions(kPrivateFileMode) && file.write(body) == body.size()
           && file.commit();
}

void RemoveCachedPlaylist(const QString& source)
{
    QFile::remove(PlaylistCachePath(source));
}
