#include "Timeshift.h"

#include "TimeshiftStore.h"

#include <algorithm>

Timeshift::Timeshift(TimeshiftEngine& engine, const TimeshiftStore* store, std::chrono::minutes window)
    : engine(engine), store(store), windowSeconds(std::chrono::duration<double>(window).count())
{
}

void Timeshift::Reset()
{
    held = {};
    position = 0;
    checkedBytes = 0;
    lag = kMinLiveLagSeconds;
    paused = false;
    shifted = false;
}

void Timeshift::Update(const std::vector<BufferedRange>& ranges, double playing, std::int64_t fileBytes)
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

void Timeshift::Pause()
{
    if (!Available() || paused)
        return;
    paused = true;
    shifted = true;
    engine.SetPaused(true);
}

void Timeshift::Resume()
{
    if (!paused)
        return;
    paused = false;
    engine.SetPaused(false);
}

void Timeshift::Step(double seconds)
{
    if (Available())
        SeekClamped(position + seconds);
}

void Timeshift::BackToLive()
{
    if (!Available())
        return;
    shifted = false;
    engine.SeekTo(LiveEdge());
    Resume();
}

void Timeshift::SeekFromOldest(double seconds)
{
    if (Available())
        SeekClamped(Oldest() + seconds);
}

double Timeshift::BehindSeconds() const
{
    return shifted ? std::max(0.0, LiveEdge() - position) : 0;
}

double Timeshift::Oldest() const
{
    return std::min(held.end, std::max(held.start + kOldestMarginSeconds, held.end - windowSeconds));
}

void Timeshift::SeekClamped(double target)
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
