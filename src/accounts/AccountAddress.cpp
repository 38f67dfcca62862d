#include "AccountAddress.h"

#include <QRegularExpression>
#include <QUrlQuery>

namespace {

const QStringList kSecretItems{QStringLiteral("password"), QStringLiteral("token")};

bool IsHttp(const QUrl& url)
{
    return url.isValid() && !url.host().isEmpty()
           && (url.scheme() == u"http" || url.scheme() == u"https");
}

QString Origin(const QUrl& url)
{
    return url.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo)
        .toString(QUrl::FullyEncoded);
}

// server/kind/user/ of an account's stream address, the part its hidden password follows.
QString StreamPrefixIn(const QString& address, const AccountLogin& login)
{
    if (!address.startsWith(login.server + QLatin1Char('/')))
        return {};
    const qsizetype kindEnd = address.indexOf(QLatin1Char('/'), login.server.size() + 1);
    if (kindEnd < 0)
        return {};
    const QString prefix = address.left(kindEnd + 1) + QString::fromUtf8(QUrl::toPercentEncoding(login.user)) + QLatin1Char('/');
    return address.startsWith(prefix) ? prefix : QString();
}

// player_api.php and xmltv.php of the account, the password hidden in their query.
QString RevealedQuery(const QString& address, const AccountLogin& login)
{
    if (!address.startsWith(login.server + QLatin1Char('/')))
        return address;
    QUrl url(address);
    QUrlQuery query(url);
    if (query.queryItemValue(QStringLiteral("username"), QUrl::FullyDecoded) != login.user
        || query.queryItemValue(QStringLiteral("password")) != AccountAddress::kHiddenPassword)
        return address;
    query.removeAllQueryItems(QStringLiteral("password"));
    query.addQueryItem(QStringLiteral("password"), QString::fromUtf8(QUrl::toPercentEncoding(login.password)));
    url.setQuery(query.toString(QUrl::FullyEncoded), QUrl::StrictMode);
    return url.toString(QUrl::FullyEncoded);
}

} // namespace

namespace AccountAddress {

QString ServerOf(const QString& typed)
{
    QString text = typed.trimmed();
    if (!text.contains(u"://"))
        text.prepend(QStringLiteral("http://"));
    const QUrl url(text, QUrl::StrictMode);
    return IsHttp(url) ? Origin(url) : QString();
}

std::optional<AccountLogin> LoginOfPlaylistAddress(const QString& address)
{
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!IsHttp(url) || !url.path().endsWith(u"/get.php"))
        return std::nullopt;
    const QUrlQuery query(url);
    AccountLogin login{Origin(url), query.queryItemValue(QStringLiteral("username"), QUrl::FullyDecoded),
                       query.queryItemValue(QStringLiteral("password"), QUrl::FullyDecoded)};
    return login.IsComplete() ? std::optional(login) : std::nullopt;
}

QUrl Api(const AccountLogin& login, const QString& action, const QString& more)
{
    QUrl url(login.server + QStringLiteral("/player_api.php"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("username"), QString::fromUtf8(QUrl::toPercentEncoding(login.user)));
    query.addQueryItem(QStringLiteral("password"), QString::fromUtf8(QUrl::toPercentEncoding(login.password)));
    if (!action.isEmpty())
        query.addQueryItem(QStringLiteral("action"), action);
    url.setQuery(more.isEmpty() ? query.toString(QUrl::FullyEncoded) : query.toString(QUrl::FullyEncoded) + u'&' + more);
    return url;
}

QUrl Guide(const AccountLogin& login)
{
    QUrl url = Api(login);
    url.setPath(QStringLiteral("/xmltv.php"));
    return url;
}

QString StreamFolder(const AccountLogin& login, QStringView kind)
{
    return login.server + QLatin1Char('/') + kind.toString() + QLatin1Char('/')
           + QString::fromUtf8(QUrl::toPercentEncoding(login.user)) + QLatin1Char('/') + kHiddenPassword
           + QLatin1Char('/');
}

QString Stream(const QString& folder, const QString& id, const QString& extension)
{
    const QString file = QString::fromUtf8(QUrl::toPercentEncoding(id));
    if (extension.isEmpty())
        return folder + file;
    return folder + file + QLatin1Char('.') + QString::fromUtf8(QUrl::toPercentEncoding(extension));
}

QString Stream(const AccountLogin& login, QStringView kind, const QString& id, const QString& extension)
{
    return Stream(StreamFolder(login, kind), id, extension);
}

QString Masked(const QString& address)
{
    QUrl url(address);
    if (!url.isValid() || !url.hasQuery())
        return address;
    auto items = QUrlQuery(url).queryItems(QUrl::FullyEncoded);
    bool hid = false;
    for (auto& [name, value] : items) { // in place: the address keeps its order
        if (kSecretItems.contains(name)) {
            value = kHiddenPassword;
            hid = true;
        }
    }
    if (!hid)
        return address;
    QUrlQuery query;
    query.setQueryItems(items);
    url.setQuery(query.toString(QUrl::FullyEncoded), QUrl::StrictMode);
    return url.toString();
}

QString Masked(const QString& address, const AccountLogin& login)
{
    const QString prefix = StreamPrefixIn(address, login);
    QString masked = Masked(address);
    if (prefix.isEmpty() || login.password.isEmpty())
        return masked;
    const QString secret = prefix + QString::fromUtf8(QUrl::toPercentEncoding(login.password)) + QLatin1Char('/');
    if (masked.startsWith(secret))
        masked.replace(0, secret.size(), prefix + kHiddenPassword + QLatin1Char('/'));
    return masked;
}

QString Hidden(const QString& text, const AccountLogin& login)
{
    if (login.password.isEmpty())
        return text;
    const auto spellings = [](const QString& value) {
        const QString encoded = QString::fromUtf8(QUrl::toPercentEncoding(value));
        return encoded == value ? QStringList{value} : QStringList{value, encoded};
    };
    QString hidden = text;
    for (const QString& secret : spellings(login.password)) {
        for (const QString& user : spellings(login.user)) {
            const QString path = QLatin1Char('/') + user + QLatin1Char('/');
            hidden.replace(path + secret + QLatin1Char('/'), path + kHiddenPassword + QLatin1Char('/'));
        }
        // Only the whole value: a longer password that begins with this one is another.
        const QRegularExpression query(QStringLiteral("([?&]password=)") + QRegularExpression::escape(secret)
                                       + QStringLiteral("(?=$|[&#\\s\"'])"));
        hidden.replace(query, QStringLiteral("\\1") + kHiddenPassword);
    }
    return hidden;
}

QString Revealed(const QString& address, const AccountLogin& login)
{
    const QString prefix = StreamPrefixIn(address, login);
    const QString hidden = prefix + kHiddenPassword + QLatin1Char('/');
    if (prefix.isEmpty() || !address.startsWith(hidden))
        return RevealedQuery(address, login);
    return prefix + QString::fromUtf8(QUrl::toPercentEncoding(login.password)) + QLatin1Char('/')
           + address.mid(hidden.size());
}

} // namespace AccountAddress
