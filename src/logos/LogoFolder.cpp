#include "LogoFolder.h"

#include "PrivateFiles.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
// A logo is a small picture: wider ones are scaled to fit this width instead.
constexpr int kMaxStoredWidth = 4 * LogoFolder::kStoredHeight;
// A few pixels of header may claim a huge picture; decoding it must not take the memory.
constexpr int kDecodeLimitMiB = 64;
constexpr qint64 kEvictMarginDivisor = 10;

bool IsLogoFormat(const QByteArray& format)
{
    return format == "png" || format == "jpeg" || format == "svg" || format == "svgz";
}

QString HashOf(const QString& address)
{
    // Hashed, because an address may hold any character a file name may not.
    return QString::fromLatin1(QCryptographicHash::hash(address.toUtf8(), QCryptographicHash::Sha1).toHex());
}
} // namespace

QString LogoFolder::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/Korvanta/logos");
}

LogoFolder::LogoFolder(const QString& path, qint64 maxBytes) : path(path), maxBytes(maxBytes) {}

QString LogoFolder::FileOf(const QString& address) const
{
    return path + QLatin1Char('/') + HashOf(address) + QStringLiteral(".png");
}

QString LogoFolder::MarkerOf(const QString& address) const
{
    return path + QLatin1Char('/') + HashOf(address) + QStringLiteral(".failed");
}

LogoFolder::Found LogoFolder::Lookup(const QString& address, const QDateTime& now)
{
    const QFileInfo marker(MarkerOf(address));
    if (marker.exists()) {
        if (marker.lastModified().secsTo(now) < kRetryAfterSeconds)
            return {State::Failed, {}};
        QFile::remove(marker.filePath());
    }
    QFile file(FileOf(address));
    if (!file.open(QIODevice::ReadWrite))
        return {};
    QImage image;
    if (!image.load(&file, "PNG"))
        return {};
    file.setFileTime(now, QFileDevice::FileModificationTime); // the age eviction goes by
    return {State::Stored, image};
}

QImage LogoFolder::Store(const QString& address, const QByteArray& body)
{
    QBuffer buffer;
    buffer.setData(body);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(kDecodeLimitMiB);
    const QSize size = reader.size();
    QImage image;
    if (IsLogoFormat(reader.format()) && !size.isEmpty()) {
        reader.setScaledSize(size.scaled(kMaxStoredWidth, kStoredHeight, Qt::KeepAspectRatio));
        image = reader.read();
    }
    QSaveFile file(FileOf(address));
    if (image.isNull() || !MakePrivateFolder(path) || !file.open(QIODevice::WriteOnly)
        || !file.setPermissions(kPrivateFileMode) || !image.save(&file, "PNG") || !file.commit()) {
        MarkFailed(address);
        return {};
    }
    if (usedBytes >= 0)
        usedBytes += QFileInfo(file.fileName()).size();
    Evict();
    return image;
}

void LogoFolder::MarkFailed(const QString& address)
{
    if (!MakePrivateFolder(path))
        return;
    QFile marker(MarkerOf(address));
    if (marker.open(QIODevice::WriteOnly | QIODevice::Truncate))
        marker.setPermissions(kPrivateFileMode);
}

void LogoFolder::Evict()
{
    QDir folder(path);
    const QStringList logos{QStringLiteral("*.png")};
    if (usedBytes < 0) {
        usedBytes = 0;
        for (const QFileInfo& file : folder.entryInfoList(logos, QDir::Files))
            usedBytes += file.size();
    }
    if (usedBytes <= maxBytes)
        return;
    // Down to a little below the bound, so that the next few logos do not list it again.
    const qint64 target = maxBytes - maxBytes / kEvictMarginDivisor;
    for (const QFileInfo& file : folder.entryInfoList(logos, QDir::Files, QDir::Time | QDir::Reversed)) {
        if (usedBytes <= target)
            break;
        if (QFile::remove(file.filePath()))
            usedBytes -= file.size();
    }
}

void LogoFolder::SetMaxBytes(qint64 bytes)
{
    maxBytes = bytes;
    Evict();
}

void LogoFolder::Empty()
{
    QDir folder(path);
    // Only what the folder itself made: it may be no folder of its own.
    for (const QFileInfo& file : folder.entryInfoList({QStringLiteral("*.png"), QStringLiteral("*.failed")}, QDir::Files))
        QFile::remove(file.filePath());
    usedBytes = 0;
}
