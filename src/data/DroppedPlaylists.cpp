#include "DroppedPlaylists.h"

#include <QFileInfo>
#include <QMimeData>
#include <QRegularExpression>
#include <QUrl>

namespace {
bool IsWebAddress(const QUrl& url)
{
    return url.isValid() && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"))
           && !url.host().isEmpty();
}

bool IsPlaylistFile(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("m3u") || suffix == QLatin1String("m3u8");
}
} // namespace

QStringList DroppedPlaylists(const QMimeData& data)
{
    QStringList sources;
    if (data.hasUrls()) {
        for (const QUrl& url : data.urls()) {
            if (url.isLocalFile() && IsPlaylistFile(url.toLocalFile()))
                sources.append(url.toLocalFile());
            else if (IsWebAddress(url))
                sources.append(url.toString());
        }
        return sources;
    }
    static const QRegularExpression kLineBreak(QStringLiteral("[\r\n]+"));
    for (const QString& line : data.text().split(kLineBreak, Qt::SkipEmptyParts)) {
        const QUrl url(line.trimmed(), QUrl::StrictMode);
        if (IsWebAddress(url))
            sources.append(url.toString());
    }
    return sources;
}
