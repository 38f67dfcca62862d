#include "FilmPlace.h"

#include <QUrl>
#include <QUrlQuery>

namespace {
// Query items that carry an account rather than name the entry.
const QStringList kCredentialItems{QStringLiteral("username"), QStringLiteral("password"), QStringLiteral("token")};
} // namespace

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
