#include "ZapList.h"

void ZapList::Set(std::vector<ChannelKey> list, int at)
{
    keys = std::move(list);
    position = at;
}

const ChannelKey& ZapList::Step(int step)
{
    position = Wrap(position, step, static_cast<int>(keys.size()));
    return keys[static_cast<std::size_t>(position)];
}

int ZapList::Wrap(int index, int step, int count)
{
    if (count <= 0)
        return 0;
    const int moved = (index + step) % count;
    return moved < 0 ? moved + count : moved;
}
