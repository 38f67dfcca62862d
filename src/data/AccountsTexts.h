#pragma once
// Entry indexes of the Accounts text group, in pack order.

enum AccountsText : int {
    AccountsAddItem = 0,            // menu item: Add provider account…
    AccountsDialogTitle = 1,
    AccountsServerLabel = 2,
    AccountsUserLabel = 3,
    AccountsPasswordLabel = 4,
    AccountsLiveNode = 5,
    AccountsFilmsNode = 6,
    AccountsSeriesNode = 7,
    AccountsWrongLogin = 8,
    AccountsExpired = 9,
    AccountsDisabled = 10,
    AccountsBanned = 11,
    AccountsTooManyConnections = 12,
    AccountsUnreachable = 13,
    AccountsRefused = 14,
    AccountsTimedOut = 15,
    AccountsNotPanel = 16,
    AccountsTooBig = 17,
    AccountsTooManyEntries = 18,
    AccountsBadServer = 19,         // the dialog's server field is no http(s) address
    AccountsFieldsMissing = 20,
    AccountsFailed = 21,            // box: %1 account, %2 reason
    AccountsStateLine = 22,         // %1 status
    AccountsExpiryLine = 23,        // %1 date
    AccountsNoExpiry = 24,
    AccountsConnectionsLine = 25,   // %1 in use, %2 allowed
    AccountsExpiresSoon = 26,       // status line: %1 account, %2 date
    AccountsCopyKept = 27,          // %1 reason, %2 when the copy is of
    AccountsNoSecretService = 28,   // %1 the service's own words
    AccountsAskPassword = 29,       // %1 user, %2 server
    AccountsYearLine = 30,
    AccountsRatingLine = 31,
    AccountsLengthLine = 32,        // %1 minutes
    AccountsGenreLine = 33,
    AccountsCastLine = 34,
    AccountsLoading = 35,           // the description box while details are asked for
    AccountsHint = 36,              // after the first-run hint: %1 the menu path to Add provider account
};
