#include "EngineNodes.h"

#include <mpv/client.h>

#include <cstring>

namespace EngineNodes {

const mpv_node* Find(const mpv_node& map, const char* key)
{
    if (map.format != MPV_FORMAT_NODE_MAP || map.u.list == nullptr)
        return nullptr;
    for (int i = 0; i < map.u.list->num; ++i) {
        if (std::strcmp(map.u.list->keys[i], key) == 0)
            return &map.u.list->values[i];
    }
    return nullptr;
}

double Double(const mpv_node& map, const char* key)
{
    const mpv_node* value = Find(map, key);
    if (value == nullptr)
        return 0;
    if (value->format == MPV_FORMAT_DOUBLE)
        return value->u.double_;
    return value->format == MPV_FORMAT_INT64 ? static_cast<double>(value->u.int64) : 0;
}

std::int64_t Int(const mpv_node& map, const char* key)
{
    const mpv_node* value = Find(map, key);
    return value != nullptr && value->format == MPV_FORMAT_INT64 ? value->u.int64 : 0;
}

const char* String(const mpv_node& map, const char* key)
{
    const mpv_node* value = Find(map, key);
    return value != nullptr && value->format == MPV_FORMAT_STRING ? value->u.string : "";
}

bool Flag(const mpv_node& map, const char* key)
{
    const mpv_node* value = Find(map, key);
    return value != nullptr && value->format == MPV_FORMAT_FLAG && value->u.flag != 0;
}

} // namespace EngineNodes
