#include "GuideChannelFeed.h"

#include <algorithm>
#include <utility>

namespace {
// About 5 ms of work on a slow machine.
constexpr std::size_t kSliceChannels = 20000;
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
    Step(); // a short list is ready at once
}

void GuideChannelFeed::Step()
{
    const std::size_t end = std::min(keys.size(), made.size() + kSliceChannels);
    for (std::size_t k = made.size(); k < end; ++k)
        made.push_back(GuideChannelOf(keys[k], names, playlists));
    if (made.size() < keys.size()) {
        next.start();
        return;
    }
    keys.clear();
    std::vector<GuideViewerChannel> channels = std::exchange(made, {});
    const Done finished = std::exchange(done, nullptr); // which may start the feed again
    finished(std::move(channels));
}
