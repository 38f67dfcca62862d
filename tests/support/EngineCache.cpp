#include "EngineCache.h"

#include <mpv/client.h>

#include <cstring>

std::int64_t CacheFileBytes(mpv_handle* engine)
{
    mpv_node state{};
    if (mpv_get_property(engine, "demuxer-cache-state", MPV_FORMAT_NODE, &state) < 0)
        return 0;
    std::int64_t bytes = 0;
    for (int i = 0; state.format == MPV_FORMAT_NODE_MAP && i < state.u.list->num; ++i) {
        if (std::strcmp(state.u.list->keys[i], "file-cache-bytes") == 0)
            bytes = state.u.list->values[i].u.int64;
    }
    mpv_free_node_contents(&state);
    return bytes;
}
