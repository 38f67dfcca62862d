#pragma once
// Accounts.xml beside Playlists.xml: the viewer's provider accounts, without passwords.
// Readable by the viewer alone; written whole and atomically.

#include "AccountTypes.h"

#include <QString>

#include <vector>

enum class AccountsFileState { Missing, Damaged, Read };

AccountsFileState LoadAccounts(const QString& path, std::vector<AccountRecord>& accounts);
bool SaveAccounts(const QString& path, const std::vector<AccountRecord>& accounts, QString* reason = nullptr);
