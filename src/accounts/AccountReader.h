#pragma once
// Reads the panel's JSON answers into typed values. Anything may come: wrong types, missing
// fields, huge strings, deep nesting. A field of the wrong type counts as missing, texts are
// cut to a length the tree and the boxes can show, and an answer that is not the API's shape
// is refused as NotPanel. Runs on a worker: nothing here touches the window.

#include "AccountRefusal.h"
#include "AccountTypes.h"

#include <QByteArray>

#include <vector>

template <class T>
struct AccountRead
{
    T value{};
    AccountRefusal refusal = AccountRefusal::None;
};

namespace AccountReader {
// The login's answer: refused for auth 0, a status other than Active, or no free connection.
AccountRead<AccountState> State(const QByteArray& answer);
AccountRead<std::vector<AccountCategory>> Categories(const QByteArray& answer);
AccountRead<std::vector<LiveStream>> Live(const QByteArray& answer);
AccountRead<std::vector<FilmEntry>> Films(const QByteArray& answer);
AccountRead<std::vector<SeriesEntry>> Series(const QByteArray& answer);
AccountRead<FilmDetails> FilmInfo(const QByteArray& answer);
// The details of a series and its episodes in season order.
struct SeriesInfo
{
    FilmDetails details;
    std::vector<SeriesEpisode> episodes;
};
AccountRead<SeriesInfo> SeriesDetails(const QByteArray& answer);
// get_short_epg: the programmes, now first (the panel gives their titles base64-coded).
AccountRead<std::vector<ShortProgramme>> ShortGuide(const QByteArray& answer);
} // namespace AccountReader
