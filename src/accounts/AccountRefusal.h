#pragma once
// Why a panel's answer could not be taken, each worded on its own for the viewer.

enum class AccountRefusal {
    None,
    WrongLogin,         // auth 0
    Expired,
    Disabled,
    Banned,
    TooManyConnections, // every connection the account allows is in use
    Unreachable,
    Refused,
    TimedOut,
    NotPanel,           // an answer that is not the API's JSON
    TooBig,             // more than kMaxAnswerBytes
    TooManyEntries,     // a list of more than kMaxListEntries
};

constexpr long long kMaxAnswerBytes = 64LL * 1024 * 1024;
constexpr int kMaxListEntries = 200000;
