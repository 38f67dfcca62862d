#pragma once
// The commands the player sends the engine, all asynchronous: the engine's core may be
// waiting for the picture to be drawn, and the thread that draws it must never wait for
// the core in turn. Replies come back as events carrying the reply number given here.
// Commands take named arguments, so that they mean the same across libmpv versions (0.38
// put an index before loadfile's options) and every value is passed whole.

#include <QByteArray>

#include <cstdint>
#include <utility>
#include <vector>

struct mpv_handle;
struct mpv_event;

namespace EngineCommands {
// Per-file options of loadfile, name and value.
using FileOptions = std::vector<std::pair<const char*, QByteArray>>;

// loadfile url replace with options; a negative libmpv error when it is refused at once.
// Every value goes whole: one holding a NUL, which would cut it short, never comes here
// (RefusalOf in StreamRules.h turns such a channel away first).
int LoadFile(mpv_handle* engine, std::uint64_t reply, const QByteArray& url, const FileOptions& options);
int Stop(mpv_handle* engine);
int SetVolume(mpv_handle* engine, std::uint64_t reply, double volume);
int SetString(mpv_handle* engine, std::uint64_t reply, const char* property, const char* value);
int SetFlag(mpv_handle* engine, std::uint64_t reply, const char* property, bool value);
int GetDouble(mpv_handle* engine, std::uint64_t reply, const char* property);
// To the picture that starts a group nearest to seconds: such seeks show a picture soonest.
int Seek(mpv_handle* engine, std::uint64_t reply, double seconds);
// Copies the streams from seconds of the engine's buffer on into path, and on as the engine
// reads, until the channel ends or Abort(reply).
int DumpCache(mpv_handle* engine, std::uint64_t reply, double seconds, const QByteArray& path);
void Abort(mpv_handle* engine, std::uint64_t reply);

// The playlist entry a loadfile's reply names; -1 for a refused load.
std::int64_t LoadedEntry(const mpv_event& reply);
} // namespace EngineCommands
