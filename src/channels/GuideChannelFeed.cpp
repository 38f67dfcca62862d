#include "GuideChannelFeed.h"

#include <utility>

GuideChannelFeed::GuideChannelFeed(const ChannelLists& names, const std::vector<Playlist>& playlists,
                                   QObject* parent)
    : QObject(parent), names(names), playlists(playlists), slicer(this)
{
}

void GuideChannelFeed::Start(std::vector<ChannelKey> newKeys, Done done)
{
    keys = std::move(newKeys);
    made.clear();
    made.reserve(keys.size());
    const auto makeNext = [this] {
        if (made.size() == keys.size())
            return false;
        made.push_back(GuideChannelOf(keys[made.size()], names, playlists));
        return true;
    };
    slicer.Start(keys.size(), makeNext, [this, done = std::move(done)] {
        keys.clear();
        done(std::exchange(made, {}));
    });
}
