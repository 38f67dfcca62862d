#include "TimeshiftControl.h"

#include "TimeshiftStore.h"

#include <algorithm>

TimeshiftControl::TimeshiftControl(TimeshiftEngine& engine, const TimeshiftStore* store, std::chrono::minutes window)
    : engine(engine), store(store), windowSeconds(std::chrono::duration<double>(window).count())
{
}

void TimeshiftControl::Reset()
{
    held = {};
    position = 0;
    checkedBytes = 0;
    lag = kMinLiveLagSeconds;
    paused = false;
    shifted = false;
}

void TimeshiftControl::Update(const std::vector<BufferedRange>& ranges, double playing, std::int64_t fileBytes)
{
    // The disk is asked only when the file has grown.
    if (store != nullptr && fileBytes > checkedBytes) {
        checkedBytes = fileBytes;
        if (fileBytes >= store->ByteBudget(fileBytes)) {
            Reset();
            engine.Reopen();
            return;
        }
    }
    // The stretch being played; after a gap in the stream only it can be sought in.
    const auto around = std::find_if(ranges.begin(), ranges.end(), [playing](const BufferedRange& range) {
        return playing >= range.start && playing <= range.end;
    });
    held = around != ranges.end() ? *around : ranges.empty() ? BufferedRange{} : ranges.back();
    position = playing;
    if (!shifted && !paused)
        lag = std::max(kMinLiveLagSeconds, held.end - position);
    // Paused for longer than the window: the oldest part goes, where it paused with it.
    if (paused && Available() && position < Oldest())
        engine.SeekTo(Oldest());
}

void TimeshiftControl::Pause()
{
    if (!Available() || paused)
        return;
    paused = true;
    shifted = true;
    engine.SetPaused(true);
}

void TimeshiftControl::Resume()
{
    if (!paused)
        return;
    paused = false;
    engine.SetPaused(false);
}

void TimeshiftControl::Step(double seconds)
{
    if (Available())
        SeekClamped(position + seconds);
}

void TimeshiftControl::BackToLive()
{
    if (!Available())
        return;
    shifted = false;
    engine.SeekTo(LiveEdge());
    Resume();
}

void TimeshiftControl::SeekFromOldest(double seconds)
{
    if (Available())
        SeekClamped(Oldest() + seconds);
}

double TimeshiftControl::BehindSeconds() const
{
    return shifted ? std::max(0.0, LiveEdge() - position) : 0;
}

double TimeshiftControl::Oldest() const
{
    return std::min(held.end, std::max(held.start + kOldestMarginSeconds, held.end - windowSeconds));
}

void TimeshiftControl::SeekClamped(double target)
{
    if (target >= LiveEdge()) {
        if (!paused) {
            BackToLive();
            return;
        }
        target = LiveEdge();
    }
    shifted = true;
    engine.SeekTo(std::max(target, Oldest()));
}

void TimeshiftControl::SetWindow(std::chrono::minutes window)
{
    windowSeconds = std::chrono::duration<double>(window).count();
}
