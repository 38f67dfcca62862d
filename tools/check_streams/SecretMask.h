#pragma once
// What the report and the messages show of the addresses: the password of a panel's
// account, known from the get.php address the playlist came from, and any password or
// token in an address's query, as ***. The probes themselves use the addresses whole.

#include "AccountTypes.h"

#include <QString>

#include <optional>

class SecretMask
{
public:
    // playlistLocation: the file or address the channels were read from; may be empty.
    explicit SecretMask(const QString& playlistLocation = {});

    QString Address(const QString& address) const;
    // A sentence that may name an address, the playlist's among them.
    QString Text(const QString& text) const;

private:
    QString location;
    std::optional<AccountLogin> login;
};
