#include "EngineTimeshift.h"

#include "EngineCommands.h"
#include "EngineNodes.h"
#include "TimeshiftStore.h"

#include <mpv/client.h>

#include <algorithm>

namespace {

// A disk too full to take more than the engine's memory holds leaves the buffer in memory,
// rather than starting the channel again every few seconds; a smaller cap is the viewer's.
constexpr qint64 kLeastDiskBudget = 64 * 1024 * 1024;

enum Reply : std::uint64_t {
    kCacheState = 0x5453'0001, // what the engine holds
    kTimePos,
    kPauseWrite,
    kSeek,
};

std::vector<BufferedRange> RangesOf(const mpv_node& state)
{
    std::vector<BufferedRange> ranges;
    const mpv_node* list = EngineNodes::Find(state, "seekable-ranges");
    if (list == nullptr || list->format != MPV_FORMAT_NODE_ARRAY)
        return ranges;
    for (int i = 0; i < list->u.list->num; ++i) {
        const mpv_node& range = list->u.list->values[i];
        ranges.push_back({EngineNodes::Double(range, "start"), EngineNodes::Double(range, "end")});
    }
    return ranges;
}

} // namespace

EngineTimeshift::EngineTimeshift(const TimeshiftStore* store, std::chrono::minutes window,
                                 std::function<void()> reopen)
    : store(store != nullptr && store->IsUsable() ? store : nullptr), window(window), reopen(std::move(reopen)),
      timeshift(*this, this->store, window)
{
}

void EngineTimeshift::Attach(mpv_handle* handle)
{
    engine = handle;
    mpv_observe_property(engine, kCacheState, "demuxer-cache-state", MPV_FORMAT_NODE);
    mpv_observe_property(engine, kTimePos, "time-pos", MPV_FORMAT_DOUBLE);
}

EngineCommands::FileOptions EngineTimeshift::ChannelOptions() const
{
    if (!diskUsed || store == nullptr || store->ByteBudget(0) < std::min(kLeastDiskBudget, store->DiskCap()))
        return {};
    // The engine may read ahead (while paused) and keep behind as much as the disk allows.
    const QByteArray budget = QByteArray::number(store->ByteBudget(0));
    return {
        {"cache-on-disk", "yes"},
        {"cache-dir", store->SessionFolder().toUtf8()},
        {"cache-unlink-files", "immediate"}, // nothing outlives the program, even killed
        {"demuxer-max-bytes", budget},
        {"demuxer-max-back-bytes", budget},
        {"cache-secs", QByteArray::number(std::chrono::duration_cast<std::chrono::seconds>(window).count())},
    };
}

void EngineTimeshift::ChannelChanged()
{
    timeshift.Reset();
    held.clear();
    position = 0;
    readTo = 0;
    fileBytes = 0;
    if (store != nullptr)
        store->Clear();
    if (enginePaused)
        SetPaused(false);
}

bool EngineTimeshift::Handle(const mpv_event& event)
{
    if (event.reply_userdata < kCacheState || event.reply_userdata > kSeek)
        return false;
    if (event.event_id != MPV_EVENT_PROPERTY_CHANGE)
        return true; // replies to pauses and seeks: nothing waits for them
    const auto* property = static_cast<const mpv_event_property*>(event.data);
    if (event.reply_userdata == kCacheState && property->format == MPV_FORMAT_NODE) {
        const mpv_node& state = *static_cast<const mpv_node*>(property->data);
        held = RangesOf(state);
        readTo = EngineNodes::Double(state, "cache-end");
        fileBytes = EngineNodes::Int(state, "file-cache-bytes");
    } else if (event.reply_userdata == kTimePos && property->format == MPV_FORMAT_DOUBLE) {
        position = *static_cast<const double*>(property->data);
    } else if (property->format == MPV_FORMAT_NONE) {
        held.clear(); // nothing loaded
    }
    timeshift.Update(held, position, fileBytes);
    return true;
}

void EngineTimeshift::SetPaused(bool paused)
{
    enginePaused = paused;
    if (engine != nullptr)
        EngineCommands::SetFlag(engine, kPauseWrite, "pause", paused);
}

void EngineTimeshift::SeekTo(double seconds)
{
    if (engine != nullptr)
        EngineCommands::Seek(engine, kSeek, seconds);
}

void EngineTimeshift::SetWindow(std::chrono::minutes newWindow)
{
    window = newWindow;
    timeshift.SetWindow(newWindow);
}
