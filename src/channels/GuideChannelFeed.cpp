#include "GuideChannelFeed.h"

#include <QElapsedTimer>

#include <utility>

namespace {
// A slice ends after this long, the clock read every so many channels.
constexpr qint64 kSliceMs = 4;
constexpr std::size_t kChannelsPerClockRead = 512;
// Lists up to this long are made at once.
constexpr std::size_t kChannelsAtOnce = 5000;
} // namespace

GuideChannelFeed::GuideChannelFeed(const ChannelLists& names, const std::vector<Playlist>& playlists,
                                   QObject* parent)
    : QObject(parent), names(names), playlists(playlists)
{
    next.setSingleShot(true);
    next.setInterval(0);
    connect(&next, &QTimer::timeout, this, &GuideChannelFeed::Step);
}

void GuideChannelFeed::Start(std::vector<ChannelKey> newKeys, Done newDone)
{
    keys = std::move(newKeys);
    done = std::move(newDone);
    made.clear();
    made.reserve(keys.size());
    next.stop(); // a slice of what was under way must not run on what replaces it
    if (keys.size() <= kChannelsAtOnce)
        Step();
    else
        next.start(); // not in the turn that changed the lists, which has its own work
}

void GuideChannelFeed::Step()
{
    QElapsedTimer slice;
    slice.start();
    while (made.size() < keys.size()) {
        made.push_back(GuideChannelOf(keys[made.size()], names, playlists));
        if (made.size() % kChannelsPerClockRead == 0 && slice.hasExpired(kSliceMs))
            break;
    }
    if (made.size() < keys.size()) {
        next.start();
        return;
    }
    keys.clear();
    std::vector<GuideViewerChannel> channels = std::exchange(made, {});
    const Done finished = std::exchange(done, nullptr); // which may start the feed again
    finished(std::move(channels));
}
