// Each row of the table from engine observations to published play states, and the
// sequences they make.

#include "PlayStateModel.h"

#include <gtest/gtest.h>

namespace {
std::vector<int> Published(PlayStateModel& model, std::initializer_list<PlayerEvent> events)
{
    std::vector<int> states;
    for (PlayerEvent event : events) {
        if (model.Apply(event))
            states.push_back(model.State());
    }
    return states;
}
} // namespace

using E = PlayerEvent;

TEST(PlayStateModel, EveryRowPublishesItsState)
{
    const std::pair<PlayerEvent, int> rows[] = {
        {E::Open, PLAYSTATE_TRANSITIONING},     {E::Reopen, PLAYSTATE_RECONNECTING},
        {E::FileLoaded, PLAYSTATE_BUFFERING},   {E::PlaybackRestart, PLAYSTATE_PLAYING},
        {E::CacheStarved, PLAYSTATE_BUFFERING}, {E::Stop, PLAYSTATE_STOPPED},
        {E::FiniteEnd, PLAYSTATE_MEDIA_ENDED},  {E::ConnectionLost, PLAYSTATE_RECONNECTING},
        {E::OpenFailed, PLAYSTATE_READY},       {E::GaveUp, PLAYSTATE_READY},
    };
    for (const auto& [event, state] : rows) {
        PlayStateModel model;
        EXPECT_TRUE(model.Apply(event));
        EXPECT_EQ(model.State(), state) << static_cast<int>(event);
    }
    PlayStateModel model;
    EXPECT_EQ(model.State(), PLAYSTATE_UNDEFINED);
    EXPECT_FALSE(model.Apply(E::StartFile));
    EXPECT_FALSE(model.Apply(E::CacheRefilled));
}

TEST(PlayStateModel, ChannelStartAndBufferingSequences)
{
    PlayStateModel model;
    EXPECT_EQ(Published(model, {E::Open, E::StartFile, E::FileLoaded, E::CacheRefilled,
                                E::PlaybackRestart, E::CacheStarved, E::CacheRefilled}),
              (std::vector<int>{9, 6, 3, 6, 3}));
    // A re-open reports reconnecting until frames flow again; start-file keeps it.
    EXPECT_EQ(Published(model, {E::ConnectionLost, E::Reopen, E::StartFile, E::OpenFailed}),
              (std::vector<int>{11, 10}));
    EXPECT_EQ(Published(model, {E::Reopen, E::StartFile, E::FileLoaded, E::PlaybackRestart}),
              (std::vector<int>{11, 6, 3}));
}

TEST(PlayStateModel, BufferingProgressIsClampedAndResetByANewAddress)
{
    PlayStateModel model;
    model.SetBufferingProgress(45);
    EXPECT_EQ(model.BufferingProgress(), 45);
    model.SetBufferingProgress(250);
    EXPECT_EQ(model.BufferingProgress(), 100);
    model.SetBufferingProgress(-3);
    EXPECT_EQ(model.BufferingProgress(), 0);
    model.SetBufferingProgress(70);
    model.Apply(E::Open);
    EXPECT_EQ(model.BufferingProgress(), 0);
}
