#pragma once
// The list a channel was started from (a tree group or the search results), so that the
// previous or next one can be started; both ends wrap around.

#include "ChannelKey.h"

#include <vector>

class ZapList
{
public:
    void Set(std::vector<ChannelKey> keys, int position);
    void Clear() { keys.clear(); }
    bool IsEmpty() const { return keys.empty(); }
    int Position() const { return position; }
    const std::vector<ChannelKey>& Keys() const { return keys; }
    void MoveTo(int at) { position = at; }

    // Moves step places along the list, wrapping, and returns the channel there.
    const ChannelKey& Step(int step);

    // index moved by step within count places, wrapping at both ends.
    static int Wrap(int index, int step, int count);

private:
    std::vector<ChannelKey> keys;
    int position = 0;
};
