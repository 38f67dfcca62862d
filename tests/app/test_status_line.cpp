// The status line's words for each state of the player, without a window: the texts it
// shows, when it names a reason, the buffering tick and the card of a channel that ended.

#include "BuiltinTexts.h"
#include "CWMPWindow.h"
#include "ChannelDirectory.h"
#include "GuideLibrary.h"
#include "FilmControls.h"
#include "LiveControls.h"
#include "LogoCache.h"
#include "OnAir.h"
#include "StatusLine.h"
#include "TempDir.h"

#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

constexpr int kTickWaitMs = 10000; // a tick is 200 ms, but a loaded, sanitized run may lag far behind

class StatusLineTest : public ::testing::Test
{
protected:
    StatusLineTest()
    {
        texts[Status] = QStringList{"Ready", "Stopped", "Connecting", "Waiting", "Buffering", "Unavailable"};
        for (LanguageGroup group : {StatusReasons, Timeshift, Catchup})
            texts[group] = BuiltinTexts(group);
    }

    void Report(PlayStateCode code, UnavailableReason reason = UnavailableReason::None)
    {
        PlayState state{code, reason, channel, false};
        status.ShowPlayState(state);
    }

    TempDir folder;
    LanguageStrings texts;
    ChannelLists names;
    std::vector<Playlist> playlists;
    ChannelDirectory directory{texts, names, names, playlists};
    GuideLibrary guides;
    LogoCache logos{folder.FilePath(QStringLiteral("logos"))};
    CWMPWindow player; // never made: no engine, no picture
    QWidget boxOwner;
    LiveControls live{player.Engine(), texts, boxOwner};
    FilmPlaces places;
    FilmControls films{player.Engine(), places, texts};
    OnAir onAir{texts, directory, guides, live, logos};
    StatusLine status{texts, live, films, onAir, player};
    ChannelRequest channel = RequestFor(QStringLiteral("http://127.0.0.1:9/one.m3u8"));
};

TEST_F(StatusLineTest, EachStateHasItsWordsAndOnlyAReasonAsksForRoom)
{
    channel.name = QStringLiteral("One");
    QSignalSpy changed(&status, &StatusLine::Changed);
    status.ShowConnecting(channel);
    EXPECT_EQ(status.Text(), QStringLiteral("Connecting"));
    const std::pair<PlayStateCode, QString> table[] = {
        {PLAYSTATE_TRANSITIONING, "Connecting"}, {PLAYSTATE_PLAYING, "One"},     {PLAYSTATE_STOPPED, "Stopped"},
        {PLAYSTATE_RECONNECTING, "Connecting"},  {PLAYSTATE_MEDIA_ENDED, "Waiting"}, {PLAYSTATE_READY, "Unavailable"},
    };
    for (const auto& [code, words] : table) {
        Report(code);
        EXPECT_EQ(status.Text(), words) << code;
        EXPECT_FALSE(status.NamesReason()) << code;
    }
    EXPECT_EQ(changed.count(), 6); // the repeated "Connecting" changes nothing

    Report(PLAYSTATE_READY, UnavailableReason::Refused);
    EXPECT_EQ(status.Text(), QStringLiteral("Unavailable: connection refused"));
    EXPECT_TRUE(status.NamesReason());
    EXPECT_EQ(player.Caption().Card(), QStringLiteral("One\nUnavailable: connection refused"));
    Report(PLAYSTATE_TRANSITIONING);
    EXPECT_TRUE(player.Caption().Card().isEmpty());
}

TEST_F(StatusLineTest, BufferingLeavesTheWordsToTheTickWhichStopsOnceItIsOver)
{
    Report(PLAYSTATE_TRANSITIONING);
    Report(PLAYSTATE_BUFFERING);
    EXPECT_EQ(status.Text(), QStringLiteral("Connecting"));
    EXPECT_TRUE(status.IsBufferingTimerActive());
    // The player that never started is not buffering: the first tick ends the timer.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !status.IsBufferingTimerActive(); }, kTickWaitMs));
    EXPECT_EQ(status.Text(), QStringLiteral("Connecting"));
}

} // namespace
