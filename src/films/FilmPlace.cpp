#include "FilmPlace.h"

#include "EpisodeName.h"

#include <QUrl>
#include <QUrlQuery>

namespace {
// Query items that carry an account rather than name the entry.
const QStringList kCredentialItems{QStringLiteral("username"), QStringLiteral("password"), QStringLiteral("token")};
const QStringList kFilmSuffixes{QStringLiteral("mp4"), QStringLiteral("mkv"), QStringLiteral("avi"), QStringLiteral("mov"),
                                QStringLiteral("m4v"), QStringLiteral("webm")};
} // namespace

bool LooksLikeFilm(const ChannelRequest& request)
{
    const QString path = QUrl(request.address).path();
    return kFilmSuffixes.contains(path.section(QLatin1Char('.'), -1).toLower()) || ParseEpisodeName(request.name);
}

QString FilmKeyOf(const ChannelRequest& request)
{
    QUrl url(request.address);
    url.setUserInfo(QString());
    QUrlQuery query(url);
    for (const QString& item : kCredentialItems)
        query.removeAllQueryItems(item);
    url.setQuery(query);
    return url.toString(QUrl::FullyEncoded) + QLatin1Char('\n') + request.playlist;
}
