#pragma once
// The engine's side of the timeshift: every channel opens with its cache on disk in the
// timeshift folder and bounded by the disk's budget and the window; what the engine holds
// and where it plays are observed, and the viewer's pauses and seeks go to the engine
// without waiting for it.

#include "EngineCommands.h"
#include "TimeshiftControl.h"

#include <cstdint>
#include <functional>
#include <vector>

struct mpv_handle;
struct mpv_event;
class TimeshiftStore;

// Where the engine plays the channel, and the time of the newest packet it has read.
struct EngineReading {
    double playing = 0;
    double readTo = 0;
};

class EngineTimeshift : private TimeshiftEngine
{
public:

    // store: null or unusable keeps the buffer in memory within the engine's usual bounds.
    // reopen: starts the playing channel again, when its buffer has reached the disk's bounds.
    EngineTimeshift(const TimeshiftStore* store, std::chrono::minutes window, std::function<void()> reopen);

    void Attach(mpv_handle* engine);
    // Options of every channel opened.
    EngineCommands::FileOptions ChannelOptions() const;
    // A channel is opened or stopped: nothing is held, and nothing stays paused.
    void ChannelChanged();
    // True for the events that were this one's.
    bool Handle(const mpv_event& event);

    // How far back from the next channel opened.
    void SetWindow(std::chrono::minutes newWindow);
    // Off: from the next channel opened nothing goes to disk, and pause and rewind reach
    // only as far back as the engine keeps in memory.
    void SetOnDisk(bool onDisk) { diskUsed = onDisk; }
    // As the engine last told.
    EngineReading Reading() const { return {position, readTo}; }

    TimeshiftControl& Control() { return timeshift; }
    const TimeshiftControl& Control() const { return timeshift; }

private:
    void SetPaused(bool paused) override;
    void SeekTo(double seconds) override;
    void Reopen() override { reopen(); }

    mpv_handle* engine = nullptr;
    const TimeshiftStore* store;
    std::chrono::minutes window;
    std::function<void()> reopen;
    TimeshiftControl timeshift;
    std::vector<BufferedRange> held;
    double position = 0;
    double readTo = 0; // the time of the newest packet read
    std::int64_t fileBytes = 0;
    bool enginePaused = false;
    bool diskUsed = true;
};
