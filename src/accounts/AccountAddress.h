#pragma once
// The addresses of a panel's account. Everything the program keeps, shows or logs holds the
// password as kHiddenPassword; the real one is put in only where a request leaves for the
// server (Revealed).

#include "AccountTypes.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace AccountAddress {

inline const QString kHiddenPassword = QStringLiteral("***");

// scheme://host:port of what the viewer typed; empty unless it is an http(s) address with a
// host. A path or a query given with it is dropped.
QString ServerOf(const QString& typed);
// A panel's get.php?username=…&password=… playlist address as the account it stands for.
std::optional<AccountLogin> LoginOfPlaylistAddress(const QString& address);

// player_api.php with the login and, when given, action=action and more query items.
QUrl Api(const AccountLogin& login, const QString& action = {}, const QString& more = {});
QUrl Guide(const AccountLogin& login);
// /live/, /movie/, /series/ stream addresses, the password hidden; the folder (server, kind,
// user) made once for a whole list.
QString StreamFolder(const AccountLogin& login, QStringView kind);
QString Stream(const QString& folder, const QString& id, const QString& extension);
QString Stream(const AccountLogin& login, QStringView kind, const QString& id, const QString& extension);

// The address with any password it carries hidden: query items password, token and the
// path's segment after the login's user name. For titles, boxes, the desktop and the log.
QString Masked(const QString& address);
QString Masked(const QString& address, const AccountLogin& login);
// Any text (a report, an error message) with login's password hidden wherever it follows
// the user's name in a path or is a query's password, as written or percent-encoded.
QString Hidden(const QString& text, const AccountLogin& login);
// The address with the hidden password of login put back; unchanged when it is not one of
// that account's.
QString Revealed(const QString& address, const AccountLogin& login);

} // namespace AccountAddress
