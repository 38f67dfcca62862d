#include "SearchNameFeed.h"

#include "PrivacyCheck.h"

#include <utility>

namespace {
const QString kDetailSeparator = QStringLiteral(" \u00b7 ");
} // namespace

SearchNameFeed::SearchNameFeed(const std::vector<Playlist>& playlists, QObject* parent)
    : QObject(parent), playlists(playlists), slicer(this)
{
}

void SearchNameFeed::Start(SearchEntries newEntries, std::vector<ChannelKey> newKeys, Done done)
{
    entries = std::move(newEntries);
    keys = std::move(newKeys);
    playlist = 0;
    entry = 0;
    groupDetails.clear();
    std::size_t count = 0;
    for (const Playlist& list : playlists)
        count += list.channels.size();
    slicer.Start(count, [this] { return AddNext(); }, [this, done = std::move(done)] {
        done(std::exchange(entries, {}), std::exchange(keys, {}));
    });
}

bool SearchNameFeed::AddNext()
{
    while (playlist < playlists.size() && entry == playlists[playlist].channels.size()) {
        ++playlist;
        entry = 0;
        groupDetails.clear();
    }
    if (playlist == playlists.size())
        return false;
    const ChannelKey key{0, static_cast<int>(playlist), static_cast<int>(entry)};
    ++entry;
    if (privacy != nullptr && privacy->Any() && privacy->Leaves(key))
        return true;
    const Playlist& list = playlists[playlist];
    const PlaylistChannel& channel = list.channels[static_cast<std::size_t>(key.entry)];
    auto detail = groupDetails.constFind(channel.group);
    if (detail == groupDetails.constEnd()) {
        const QString text = channel.group.isEmpty() ? list.name : channel.group + kDetailSeparator + list.name;
        detail = groupDetails.insert(channel.group, text);
    }
    keys.push_back(key);
    entries.names.append(channel.name);
    entries.numbers.append(channel.number);
    entries.details.append(channel.number.isEmpty() ? *detail : channel.number + kDetailSeparator + *detail);
    return true;
}
