#pragma once
// The viewer's channels as the guide matches them, made a slice per turn of the event loop,
// so that 200,000 channels never hold the window for long. The names and playlists are
// read as they are at each slice; whoever changes them starts the feed again.

#include "GuideChannels.h"
#include "TurnSlicer.h"

#include <QObject>

#include <functional>
#include <vector>

class GuideChannelFeed : public QObject
{
    Q_OBJECT

public:
    using Done = std::function<void(std::vector<GuideViewerChannel>)>;

    GuideChannelFeed(const ChannelLists& names, const std::vector<Playlist>& playlists, QObject* parent = nullptr);

    // Makes the channels of keys, in their order, and hands them to done; what was under
    // way is dropped.
    void Start(std::vector<ChannelKey> keys, Done done);
    bool IsBusy() const { return slicer.IsBusy(); }

private:
    const ChannelLists& names;
    const std::vector<Playlist>& playlists;
    std::vector<ChannelKey> keys;
    std::vector<GuideViewerChannel> made;
    TurnSlicer slicer;
};
