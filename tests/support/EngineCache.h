#pragma once
// How large the engine's on-disk cache file has grown, for the checks of the disk cap.

#include <cstdint>

struct mpv_handle;

// file-cache-bytes of the engine's demuxer cache; 0 when it has none.
std::int64_t CacheFileBytes(mpv_handle* engine);
