#include "EngineFilm.h"

#include "EngineCommands.h"

#include <mpv/client.h>

namespace {
enum Reply : std::uint64_t {
    kDuration = 0x4649'0001,
    kPosition,
    kSeekable,
    kCacheSeekable,
    kPause,
    kPauseWrite,
    kSeek,
};
} // namespace

void EngineFilm::Attach(mpv_handle* handle)
{
    engine = handle;
}

void EngineFilm::Watch()
{
    if (watching || engine == nullptr)
        return;
    watching = true;
    mpv_observe_property(engine, kDuration, "duration", MPV_FORMAT_DOUBLE);
    mpv_observe_property(engine, kPosition, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(engine, kSeekable, "seekable", MPV_FORMAT_FLAG);
    mpv_observe_property(engine, kCacheSeekable, "partially-seekable", MPV_FORMAT_FLAG);
    mpv_observe_property(engine, kPause, "pause", MPV_FORMAT_FLAG);
}

void EngineFilm::ChannelChanged()
{
    if (watching && engine != nullptr) {
        for (std::uint64_t reply : {kDuration, kPosition, kSeekable, kCacheSeekable, kPause})
            mpv_unobserve_property(engine, reply);
    }
    watching = false;
    duration = 0;
    position = 0;
    seekable = cacheSeekable = false;
    if (paused)
        SetPaused(false);
}

bool EngineFilm::Handle(const mpv_event& event)
{
    if (event.reply_userdata < kDuration || event.reply_userdata > kSeek)
        return false;
    if (event.event_id != MPV_EVENT_PROPERTY_CHANGE || !watching)
        return true; // replies to pauses and jumps, or news of the entry before: nothing waits for them
    const auto* property = static_cast<const mpv_event_property*>(event.data);
    const bool none = property->format == MPV_FORMAT_NONE || property->data == nullptr;
    switch (event.reply_userdata) {
    case kDuration:
        duration = none ? 0 : *static_cast<const double*>(property->data);
        break;
    case kPosition:
        position = none ? 0 : *static_cast<const double*>(property->data);
        break;
    case kSeekable:
        seekable = !none && *static_cast<const int*>(property->data) != 0;
        break;
    case kCacheSeekable:
        cacheSeekable = !none && *static_cast<const int*>(property->data) != 0;
        break;
    case kPause:
        paused = !none && *static_cast<const int*>(property->data) != 0;
        break;
    default:
        break;
    }
    return true;
}

void EngineFilm::SeekTo(double seconds)
{
    if (engine != nullptr)
        EngineCommands::Seek(engine, kSeek, seconds);
}

void EngineFilm::SetPaused(bool pause)
{
    paused = pause;
    if (engine != nullptr)
        EngineCommands::SetFlag(engine, kPauseWrite, "pause", pause);
}
