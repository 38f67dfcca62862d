#include "LogoCache.h"

#include "PlaylistDownload.h"

#include <QDateTime>
#include <QUrl>

namespace {
constexpr int kDownloadTimeoutMs = 20'000;
// What the logos kept in memory may take, in bytes of pixels.
constexpr qsizetype kMemoryBytes = 48LL * 1024 * 1024;
constexpr qsizetype kBytesPerPixel = 4;
// Asks beyond these wait for no download: their rows have scrolled away, and a row shown
// again asks again.
constexpr qsizetype kMaxQueued = 64;

qsizetype CostOf(const QSize& size)
{
    return std::max<qsizetype>(1, qsizetype(size.width()) * size.height() * kBytesPerPixel);
}

QString ScaledKey(const QString& address, int height)
{
    return QString::number(height) + QLatin1Char(' ') + address;
}

bool IsWebAddress(const QString& address)
{
    const QUrl url(address);
    return url.isValid() && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"))
           && !url.host().isEmpty();
}
} // namespace

LogoCache::LogoCache(const QString& path, qint64 maxFolderBytes, QObject* parent)
    : QObject(parent), folder(std::make_shared<LogoFolder>(path, maxFolderBytes)), images(kMemoryBytes),
      scaled(kMemoryBytes), downloadTimeoutMs(kDownloadTimeoutMs)
{
}

LogoCache::~LogoCache()
{
    // Downloads hold replies of the network manager, which goes before the children would.
    qDeleteAll(findChildren<PlaylistDownload*>(Qt::FindDirectChildrenOnly));
}

QPixmap LogoCache::Logo(const QString& address, int height)
{
    if (address.isEmpty() || height <= 0)
        return {};
    const QString key = ScaledKey(address, height);
    if (const QPixmap* pixmap = scaled.object(key))
        return *pixmap;
    const QImage* image = images.object(address);
    if (image == nullptr) {
        Ask(address);
        return {};
    }
    const QPixmap made = QPixmap::fromImage(image->scaledToHeight(height, Qt::SmoothTransformation));
    scaled.insert(key, new QPixmap(made), CostOf(made.size()));
    return made;
}

QString LogoCache::StoredFile(const QString& address) const
{
    return stored.value(address);
}

void LogoCache::Ask(const QString& address)
{
    if (asked.contains(address) || !IsWebAddress(address))
        return;
    if (const auto since = failed.constFind(address);
        since != failed.constEnd() && QDateTime::currentSecsSinceEpoch() - *since < LogoFolder::kRetryAfterSeconds)
        return;
    asked.insert(address);
    worker.Run([folder = folder, address] { return folder->Lookup(address); },
               [this, address](LogoFolder::Found found) { Found(address, found); });
}

void LogoCache::Found(const QString& address, const LogoFolder::Found& found)
{
    switch (found.state) {
    case LogoFolder::State::Stored:
        Decoded(address, found.image);
        break;
    case LogoFolder::State::Failed:
        Decoded(address, {});
        break;
    case LogoFolder::State::Missing:
        queue.append(address);
        while (queue.size() > kMaxQueued)
            asked.remove(queue.takeFirst());
        StartDownloads();
        break;
    }
}

void LogoCache::StartDownloads()
{
    while (downloading < kMaxDownloads && !queue.isEmpty()) {
        // The newest ask first: its row is the likeliest to be on screen still.
        const QString address = queue.takeLast();
        ++downloading;
        auto* download = new PlaylistDownload(network, QUrl(address), downloadTimeoutMs, kMaxLogoBytes, this);
        connect(download, &PlaylistDownload::Finished, this,
                [this, address, download](const QByteArray& body, const QUrl&, DownloadError error) {
                    download->deleteLater();
                    --downloading;
                    Downloaded(address, body, error == DownloadError::None);
                    StartDownloads();
                });
    }
}

void LogoCache::Downloaded(const QString& address, const QByteArray& body, bool ok)
{
    if (!ok) {
        worker.Run([folder = folder, address] { folder->MarkFailed(address); return true; },
                   [this, address](bool) { Decoded(address, {}); });
        return;
    }
    worker.Run([folder = folder, address, body] { return folder->Store(address, body); },
               [this, address](QImage image) { Decoded(address, image); });
}

void LogoCache::Decoded(const QString& address, const QImage& image)
{
    asked.remove(address);
    if (image.isNull()) {
        failed.insert(address, QDateTime::currentSecsSinceEpoch());
    } else {
        stored.insert(address, folder->FileOf(address));
        images.insert(address, new QImage(image), CostOf(image.size()));
    }
    emit Answered(address);
}

void LogoCache::SetMaxFolderBytes(qint64 bytes)
{
    worker.Run([folder = folder, bytes] { folder->SetMaxBytes(bytes); return true; }, [](bool) {});
}

void LogoCache::Empty()
{
    worker.Run([folder = folder] { folder->Empty(); return true; }, [](bool) {});
    images.clear();
    scaled.clear();
    stored.clear();
    failed.clear();
}
