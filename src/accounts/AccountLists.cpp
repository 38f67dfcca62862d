#include "AccountLists.h"

namespace {

enum ListIndex { LiveCategories, LiveStreams, FilmCategories, FilmStreams, SeriesCategories, SeriesList };

template <class T>
AccountRefusal Take(AccountRead<T> read, T& into)
{
    into = std::move(read.value);
    return read.refusal;
}

template <class T>
void TakeFilled(T& into, T& from)
{
    if (!from.empty())
        into = std::move(from);
}

} // namespace

namespace AccountLists {

AccountRefusal Read(std::size_t list, const QByteArray& answer, AccountCatalogue& catalogue)
{
    switch (list) {
    case LiveCategories: return Take(AccountReader::Categories(answer), catalogue.liveCategories);
    case LiveStreams: return Take(AccountReader::Live(answer), catalogue.live);
    case FilmCategories: return Take(AccountReader::Categories(answer), catalogue.filmCategories);
    case FilmStreams: return Take(AccountReader::Films(answer), catalogue.films);
    case SeriesCategories: return Take(AccountReader::Categories(answer), catalogue.seriesCategories);
    default: return Take(AccountReader::Series(answer), catalogue.series);
    }
}

AccountRefusal ReadAll(const std::array<QByteArray, kActions.size()>& answers, AccountCatalogue& catalogue)
{
    AccountRefusal first = AccountRefusal::None;
    for (std::size_t k = 0; k < kActions.size(); ++k) {
        const AccountRefusal refusal = Read(k, answers[k], catalogue);
        if (first == AccountRefusal::None)
            first = refusal;
    }
    return first;
}

void Join(AccountCatalogue& whole, AccountCatalogue& part)
{
    TakeFilled(whole.liveCategories, part.liveCategories);
    TakeFilled(whole.live, part.live);
    TakeFilled(whole.filmCategories, part.filmCategories);
    TakeFilled(whole.films, part.films);
    TakeFilled(whole.seriesCategories, part.seriesCategories);
    TakeFilled(whole.series, part.series);
}

} // namespace AccountLists
