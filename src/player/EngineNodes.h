#pragma once
// Reading the engine's structured values (maps of named values, lists).

#include <cstdint>

struct mpv_node;

namespace EngineNodes {
// The value named key of a map; null when it has none.
const mpv_node* Find(const mpv_node& map, const char* key);
// The number or text named key, or 0 / empty / false when it is missing or of another kind.
double Double(const mpv_node& map, const char* key);
std::int64_t Int(const mpv_node& map, const char* key);
const char* String(const mpv_node& map, const char* key);
bool Flag(const mpv_node& map, const char* key);
} // namespace EngineNodes
