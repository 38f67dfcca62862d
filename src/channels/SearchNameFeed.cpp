#include "SearchNameFeed.h"

#include <QElapsedTimer>

#include <utility>

namespace {
// A slice ends after this long, the clock read every so many channels.
constexpr qint64 kSliceMs = 4;
constexpr std::size_t kChannelsPerClockRead = 512;
// Lists up to this long are made at once, so that their names can be searched right away.
constexpr std::size_t kChannelsAtOnce = 5000;
const QString kDetailSeparator = QStringLiteral(" \u00b7 ");
} // namespace

SearchNameFeed::SearchNameFeed(const std::vector<Playlist>& playlists, QObject* parent)
    : QObject(parent), playlists(playlists)
{
    next.setSingleShot(true);
    next.setInterval(0);
    connect(&next, &QTimer::timeout, this, &SearchNameFeed::Step);
}

void SearchNameFeed::Start(SearchEntries newEntries, std::vector<ChannelKey> newKeys, Done newDone)
{
    entries = std::move(newEntries);
    keys = std::move(newKeys);
    done = std::move(newDone);
    playlist = 0;
    entry = 0;
    groupDetails.clear();
    std::size_t count = 0;
    for (const Playlist& list : playlists)
        count += list.channels.size();
    next.stop(); // a slice of what was under way must not run on what replaces it
    if (count <= kChannelsAtOnce)
        Step();
    else
        next.start(); // not in the turn that changed the lists, which has its own work
}

void SearchNameFeed::Step()
{
    QElapsedTimer slice;
    slice.start();
    for (std::size_t made = 1; playlist < playlists.size(); ++made) {
        if (made % kChannelsPerClockRead == 0 && slice.hasExpired(kSliceMs))
            break;
        if (entry < playlists[playlist].channels.size()) {
            Add(playlist, entry++);
            continue;
        }
        ++playlist;
        entry = 0;
        groupDetails.clear();
    }
    if (playlist < playlists.size()) {
        next.start();
        return;
    }
    const Done finished = std::exchange(done, nullptr); // which may start the feed again
    finished(std::exchange(entries, {}), std::exchange(keys, {}));
}

void SearchNameFeed::Add(std::size_t p, std::size_t k)
{
    const Playlist& list = playlists[p];
    const PlaylistChannel& channel = list.channels[k];
    auto detail = groupDetails.constFind(channel.group);
    if (detail == groupDetails.constEnd()) {
        const QString text = channel.group.isEmpty() ? list.name : channel.group + kDetailSeparator + list.name;
        detail = groupDetails.insert(channel.group, text);
    }
    keys.push_back(ChannelKey{0, static_cast<int>(p), static_cast<int>(k)});
    entries.names.append(channel.name);
    entries.numbers.append(channel.number);
    entries.details.append(channel.number.isEmpty() ? *detail : channel.number + kDetailSeparator + *detail);
}
