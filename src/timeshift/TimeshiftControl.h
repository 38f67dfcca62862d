#pragma once
// Pause, rewind and return to live on a channel, within what the engine holds of it: the
// engine keeps reading while paused, seeks are held to the stretch it has buffered and
// to the viewer's window, and the disk it may fill is bounded here, since the engine's
// own cache file only grows.

#include <chrono>
#include <cstdint>
#include <vector>

class TimeshiftStore;

// A stretch the engine holds, in the channel's own time (seconds).
struct BufferedRange {
    double start = 0;
    double end = 0;
};

// What the timeshift asks of the engine.
class TimeshiftEngine
{
public:
    virtual ~TimeshiftEngine() = default;
    virtual void SetPaused(bool paused) = 0;
    virtual void SeekTo(double seconds) = 0;
    // Start the channel again: its buffer has reached the bounds of the disk.
    virtual void Reopen() = 0;
};

class TimeshiftControl
{
public:
    // A live viewer trails the newest picture by what the engine reads ahead; a return to
    // live goes at least this far back, so playing resumes from the buffer at once.
    static constexpr double kMinLiveLagSeconds = 2;
    // Seeks keep off the oldest end, which the engine may drop at any moment.
    static constexpr double kOldestMarginSeconds = 1;

    // store: the disk the buffer may use; null when it lives in memory alone.
    TimeshiftControl(TimeshiftEngine& engine, const TimeshiftStore* store, std::chrono::minutes window);
    void SetWindow(std::chrono::minutes window);

    // A channel started, or stopped: nothing is held.
    void Reset();
    // What the engine holds now, where it plays, and how large its cache file has grown.
    void Update(const std::vector<BufferedRange>& held, double position, std::int64_t fileBytes);

    // The viewer's commands; each does nothing while nothing is held.
    void Pause();
    void Resume();
    void Step(double seconds);
    void BackToLive();
    // To a point counted from the oldest held (the desktop's media controls).
    void SeekFromOldest(double seconds);

    bool Available() const { return held.end > held.start; }
    bool Paused() const { return paused; }
    // Not at the live edge: paused, or rewound.
    bool Behind() const { return shifted; }
    // How far behind the live edge the picture is.
    double BehindSeconds() const;
    // Where it plays, counted from the oldest held; and how much is held.
    double PositionFromOldest() const { return Available() ? position - Oldest() : 0; }
    double Length() const { return Available() ? held.end - Oldest() : 0; }
    // The engine's times of where it plays, and of the oldest point seeks may reach.
    double Position() const { return position; }
    double Oldest() const;

private:
    double LiveEdge() const { return held.end - lag; }
    void SeekClamped(double target);

    TimeshiftEngine& engine;
    const TimeshiftStore* store;
    double windowSeconds;
    BufferedRange held;
    double position = 0;
    std::int64_t checkedBytes = 0; // the cache file's size when the disk was last asked
    double lag = kMinLiveLagSeconds;
    bool paused = false;
    bool shifted = false;
};
