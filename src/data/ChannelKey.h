#pragma once
// Names a channel of either kind. Built-in channels keep their ChannelId; an own channel
// is named by its place in the playlist library and has id 0, so that it can never be
// taken for a built-in one.

#include "ChannelCatalogue.h"

struct ChannelKey
{
    ChannelId id = 0;
    int playlist = -1;
    int entry = -1;

    bool IsOwn() const { return playlist >= 0; }
    bool operator==(const ChannelKey&) const = default;
};
