// Pause, steps and the return to live against a stand-in engine: every seek stays inside
// what is held and the window, and the disk cap starts the channel again.

#include "TempDir.h"
#include "TimeshiftControl.h"
#include "TimeshiftStore.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

struct EngineStandIn : TimeshiftEngine {
    std::vector<double> seeks;
    std::vector<bool> pauses;
    int reopens = 0;

    void SetPaused(bool paused) override { pauses.push_back(paused); }
    void SeekTo(double seconds) override { seeks.push_back(seconds); }
    void Reopen() override { ++reopens; }
};

constexpr std::int64_t kMiB = 1024 * 1024;

} // namespace

TEST(Timeshift, SeeksStayWithinWhatIsHeldAndTheWindow)
{
    EngineStandIn engine;
    TimeshiftControl shift(engine, nullptr, 10min);
    shift.Pause(); // nothing held yet
    EXPECT_TRUE(engine.pauses.empty());

    // Live: the picture trails the newest packet by 3 s.
    shift.Update({{0, 100}}, 97, 0);
    EXPECT_FALSE(shift.Behind());
    shift.Pause();
    shift.Update({{0, 130}}, 97, 0); // 30 s later, still reading
    EXPECT_EQ(engine.pauses, std::vector<bool>{true});
    EXPECT_DOUBLE_EQ(shift.BehindSeconds(), 30);
    EXPECT_DOUBLE_EQ(shift.PositionFromOldest(), 96);
    EXPECT_DOUBLE_EQ(shift.Length(), 129);

    shift.Resume();
    shift.Step(-10);
    shift.Step(-200); // before the oldest held: to the oldest
    shift.Step(500);  // past live while playing: back to live
    EXPECT_EQ(engine.seeks, (std::vector<double>{87, 1, 127}));
    EXPECT_FALSE(shift.Behind());
    EXPECT_EQ(engine.pauses, (std::vector<bool>{true, false}));

    // A gap in the stream: only the stretch being played counts.
    shift.Update({{0, 50}, {60, 200}}, 197, 0);
    shift.SeekFromOldest(0);
    EXPECT_DOUBLE_EQ(engine.seeks.back(), 61);

    // Paused beyond the window: the oldest part goes, and the picture with it.
    shift.BackToLive();
    shift.Update({{0, 700}}, 697, 0);
    shift.Pause();
    shift.Update({{0, 1400}}, 697, 0);
    EXPECT_DOUBLE_EQ(engine.seeks.back(), 800);
    shift.Step(-60); // still paused: within the window
    EXPECT_DOUBLE_EQ(engine.seeks.back(), 800);
    shift.BackToLive();
    EXPECT_DOUBLE_EQ(engine.seeks.back(), 1397);
    EXPECT_FALSE(shift.Paused());
}

TEST(Timeshift, TheDiskCapStartsTheChannelAgain)
{
    TempDir temp;
    const TimeshiftStore store(temp.Path(), 120min, 64 * kMiB, [](const QString&) { return 100 * 1024 * kMiB; });
    EngineStandIn engine;
    TimeshiftControl shift(engine, &store, 120min);
    shift.Update({{0, 100}}, 97, 63 * kMiB);
    shift.Pause();
    EXPECT_EQ(engine.reopens, 0);
    shift.Update({{0, 110}}, 97, 64 * kMiB);
    EXPECT_EQ(engine.reopens, 1);
    EXPECT_FALSE(shift.Available());
    EXPECT_FALSE(shift.Paused());
}
