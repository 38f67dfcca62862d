#include "DroppedPlaylists.h"

#include <QFileInfo>
#include <QMimeData>
#include <QRegularExpression>
#include <QUrl>

namespace {
// A refused line of text is named by its start; a dropped document could be long.
constexpr int kMaxRefusedNameLength = 60;

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

QString ShortName(const QString& text)
{
    return text.size() > kMaxRefusedNameLength ? text.left(kMaxRefusedNameLength) + QChar(u'…') : text;
}
} // namespace

DroppedSources DroppedPlaylists(const QMimeData& data)
{
    DroppedSources dropped;
    if (data.hasUrls()) {
        for (const QUrl& url : data.urls()) {
            if (url.isLocalFile() && IsPlaylistFile(url.toLocalFile()))
                dropped.playlists.append(url.toLocalFile());
            else if (IsWebAddress(url))
                dropped.playlists.append(url.toString());
            else
                dropped.refused.append(ShortName(url.isLocalFile() ? QFileInfo(url.toLocalFile()).fileName()
                                                                   : url.toDisplayString()));
        }
        return dropped;
    }
    static const QRegularExpression kLineBreak(QStringLiteral("[\r\n]+"));
    for (const QString& line : data.text().split(kLineBreak, Qt::SkipEmptyParts)) {
        const QUrl url(line.trimmed(), QUrl::StrictMode);
        if (IsWebAddress(url))
            dropped.playlists.append(url.toString());
        else if (!line.trimmed().isEmpty())
            dropped.refused.append(ShortName(line.trimmed()));
    }
    return dropped;
}

bool MayHoldPlaylists(const QMimeData& data)
{
    return data.hasUrls() || data.hasText();
}
