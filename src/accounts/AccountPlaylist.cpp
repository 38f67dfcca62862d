#include "AccountPlaylist.h"

#include "AccountAddress.h"
#include "EpisodeName.h"

#include <QHash>
#include <QUrl>

#include <algorithm>

namespace {

constexpr QStringView kLive = u"live";
constexpr QStringView kFilm = u"movie";
constexpr QStringView kSeries = u"series";
const QString kLiveExtension = QStringLiteral("ts");

AccountLogin LoginOf(const AccountRecord& account)
{
    return {account.server, account.user, {}};
}

// The name of an address's file without its extension, as written (percent-encoded).
QStringView FileStem(const QString& address)
{
    if (address.isEmpty())
        return {};
    QStringView file = QStringView(address).mid(address.lastIndexOf(QLatin1Char('/')) + 1);
    if (const qsizetype dot = file.lastIndexOf(QLatin1Char('.')); dot >= 0)
        file = file.left(dot);
    return file;
}

// A copy of its own: the playlist outlives the answers it was read from, and what it keeps is
// allocated together rather than scattered among the parse's pieces, which are then given
// back whole.
QString Own(const QString& text)
{
    return QString(text.constData(), text.size());
}

// Entries in the order of their categories, those of no known category last.
template <class Entry, class Make>
void AddInCategoryOrder(std::vector<PlaylistChannel>& channels, const std::vector<AccountCategory>& categories,
                        const std::vector<Entry>& entries, Make make)
{
    QHash<QString, int> order;
    QStringList names; // shared by the category's entries
    for (const AccountCategory& category : categories) {
        order.insert(category.id, static_cast<int>(order.size()));
        names.append(Own(category.name));
    }
    const int unknown = static_cast<int>(categories.size());
    std::vector<std::pair<int, std::size_t>> sorted;
    sorted.reserve(entries.size());
    for (std::size_t k = 0; k < entries.size(); ++k)
        sorted.emplace_back(order.value(entries[k].categoryId, unknown), k);
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    channels.reserve(channels.size() + entries.size());
    for (const auto& [category, k] : sorted) {
        PlaylistChannel channel = make(entries[k]);
        if (category < unknown)
            channel.group = names[category];
        // Kept apart only where the address does not tell it: tens of thousands of entries.
        if (FileStem(channel.address) != entries[k].id)
            channel.id = Own(entries[k].id);
        channels.push_back(std::move(channel));
    }
}

QString EpisodeNameOf(const QString& series, const SeriesEpisode& episode)
{
    if (ParseEpisodeName(episode.title))
        return episode.title;
    QString name = QStringLiteral("%1 S%2E%3")
                       .arg(series)
                       .arg(episode.season, 2, 10, QLatin1Char('0'))
                       .arg(episode.episode, 2, 10, QLatin1Char('0'));
    if (!episode.title.isEmpty())
        name += QStringLiteral(" - ") + episode.title;
    return name;
}

} // namespace

namespace AccountPlaylist {

QString IdOf(const PlaylistChannel& entry)
{
    if (!entry.id.isEmpty() || entry.address.isEmpty())
        return entry.id;
    return QUrl::fromPercentEncoding(FileStem(entry.address).toUtf8());
}

QString SourceOf(const AccountRecord& account)
{
    return QStringLiteral("account:") + account.Key();
}

Playlist Build(const AccountRecord& account, const AccountCatalogue& catalogue)
{
    Playlist playlist;
    playlist.name = account.name;
    playlist.source = SourceOf(account);
    playlist.lastRefresh = account.lastRefresh;
    playlist.lastError = account.lastError;
    playlist.account = true;
    const AccountLogin login = LoginOf(account);
    const QTimeZone zone(account.zone.toLatin1());
    const QString liveFolder = AccountAddress::StreamFolder(login, kLive);
    const QString filmFolder = AccountAddress::StreamFolder(login, kFilm);
    playlist.guideAddresses.append(AccountAddress::Masked(AccountAddress::Guide(login).toString(), login));
    AddInCategoryOrder(playlist.channels, catalogue.liveCategories, catalogue.live, [&](const LiveStream& stream) {
        PlaylistChannel channel;
        channel.name = Own(stream.name);
        channel.address = AccountAddress::Stream(liveFolder, stream.id, kLiveExtension);
        channel.logo = Own(stream.icon);
        channel.number = Own(stream.number);
        channel.tvgId = Own(stream.guideId);
        if (stream.archiveDays > 0)
            channel.catchup = {CatchupMode::Xc, stream.archiveDays, {}, zone};
        return channel;
    });
    AddInCategoryOrder(playlist.channels, catalogue.filmCategories, catalogue.films, [&](const FilmEntry& film) {
        PlaylistChannel channel;
        channel.name = Own(film.name);
        channel.address = AccountAddress::Stream(filmFolder, film.id, film.extension);
        channel.logo = Own(film.icon);
        channel.kind = EntryKind::Film;
        return channel;
    });
    AddInCategoryOrder(playlist.channels, catalogue.seriesCategories, catalogue.series, [&](const SeriesEntry& series) {
        PlaylistChannel channel;
        channel.name = Own(series.name);
        channel.logo = Own(series.cover);
        channel.kind = EntryKind::Series;
        return channel;
    });
    return playlist;
}

std::vector<PlaylistChannel> EpisodesOf(const Playlist& playlist, int seriesEntry, const AccountRecord& account,
                                        const std::vector<SeriesEpisode>& episodes)
{
    std::vector<PlaylistChannel> made;
    if (seriesEntry < 0 || static_cast<std::size_t>(seriesEntry) >= playlist.channels.size()
        || playlist.channels[static_cast<std::size_t>(seriesEntry)].kind != EntryKind::Series)
        return made;
    const bool known = std::any_of(playlist.channels.begin(), playlist.channels.end(),
                                   [&](const PlaylistChannel& c) { return c.series == seriesEntry; });
    if (known)
        return made;
    const PlaylistChannel& series = playlist.channels[static_cast<std::size_t>(seriesEntry)];
    const AccountLogin login = LoginOf(account);
    for (const SeriesEpisode& episode : episodes) {
        PlaylistChannel channel;
        channel.name = EpisodeNameOf(series.name, episode);
        channel.address = AccountAddress::Stream(login, kSeries, episode.id, episode.extension);
        channel.group = series.group;
        channel.logo = series.logo;
        channel.kind = EntryKind::Episode;
        channel.series = seriesEntry;
        channel.id = episode.id;
        made.push_back(std::move(channel));
    }
    return made;
}

} // namespace AccountPlaylist
