#include "GuideCache.h"

#include "PrivateFiles.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

constexpr qint64 kMaxInfoBytes = 16 * 1024;

// Hashed, because an address may hold any character a file name may not.
QString BasePath(const QString& source)
{
    const QByteArray key = QCryptographicHash::hash(source.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/Korvanta/guides/")
           + QString::fromLatin1(key);
}

QString InfoPath(const QString& source)
{
    return BasePath(source) + QStringLiteral(".info");
}

} // namespace

QString GuideCachePath(const QString& source)
{
    return BasePath(source) + QStringLiteral(".xmltv");
}

// One value a line: ETag, Last-Modified, fetched (ISO 8601), imported-for (hex).
GuideCacheInfo ReadGuideCacheInfo(const QString& source)
{
    QFile file(InfoPath(source));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = file.read(kMaxInfoBytes).split('\n');
    GuideCacheInfo info;
    info.etag = QString::fromLatin1(lines.value(0));
    info.lastModified = QString::fromLatin1(lines.value(1));
    info.fetched = QDateTime::fromString(QString::fromLatin1(lines.value(2)), Qt::ISODate);
    info.importedFor = QByteArray::fromHex(lines.value(3));
    return info;
}

bool WriteGuideCacheInfo(const QString& source, const GuideCacheInfo& info)
{
    const QString path = InfoPath(source);
    QSaveFile file(path);
    const auto line = [](const QString& text) { return text.toLatin1().replace('\n', ' ') + '\n'; };
    const QByteArray body = line(info.etag) + line(info.lastModified)
                            + line(info.fetched.toUTC().toString(Qt::ISODate)) + info.importedFor.toHex() + '\n';
    return MakePrivateFolder(QFileInfo(path).absolutePath()) && file.open(QIODevice::WriteOnly)
           && file.setPermissions(kPrivateFileMode) && file.write(body) == body.size() && file.commit();
}

void RemoveGuideCache(const QString& source)
{
    QFile::remove(GuideCachePath(source));
    QFile::remove(InfoPath(source));
}
