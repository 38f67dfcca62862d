#include "SecretMask.h"

#include "AccountAddress.h"

SecretMask::SecretMask(const QString& playlistLocation)
    : location(playlistLocation), login(AccountAddress::LoginOfPlaylistAddress(playlistLocation))
{
}

QString SecretMask::Address(const QString& address) const
{
    return Text(AccountAddress::Masked(address));
}

QString SecretMask::Text(const QString& text) const
{
    QString shown = text;
    if (!location.isEmpty())
        shown.replace(location, AccountAddress::Masked(location));
    return login ? AccountAddress::Hidden(shown, *login) : shown;
}
