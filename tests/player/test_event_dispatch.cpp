// The event sink's notifications and the key, mouse and full-screen behaviour of the
// video surface, as the main window sees them through the sink.

#include "CWMPEventDispatch.h"
#include "CWMPWindow.h"
#include "PlayerEventRecorder.h"

#include <mpv/client.h>

#include <QTest>

#include <gtest/gtest.h>

using Kind = PlayerEventRecorder::Kind;
using Events = std::vector<PlayerEventRecorder::Event>;

namespace {
// The picture widget, wherever full screen has put it.
QWidget* Surface(CWMPWindow& player)
{
    for (QWidget* child : player.VideoWidget()->findChildren<QWidget*>()) {
        if (!child->isWindow())
            return child;
    }
    return nullptr;
}
} // namespace

TEST(EventDispatch, ReportsPassOnWithTheirValues)
{
    PlayerEventRecorder window;
    CWMPEventDispatch sink;
    window.Listen(sink);

    PlayState unavailable;
    unavailable.state = PLAYSTATE_READY;
    unavailable.reason = UnavailableReason::Refused;
    unavailable.request = RequestFor(QStringLiteral("http://127.0.0.1:9/a.m3u8"), {QStringLiteral("Agent"), {}});
    sink.PlayStateChange(unavailable);
    sink.PlayStateChange(unavailable); // repeats pass
    sink.KeyDown(Qt::SHIFT | Qt::Key_Return);
    sink.KeyDown(Qt::CTRL | Qt::ALT | Qt::Key_F13);
    sink.MouseDown();

    EXPECT_EQ(window.events, (Events{{Kind::PlayState, PLAYSTATE_READY},
                                     {Kind::PlayState, PLAYSTATE_READY},
                                     {Kind::KeyDown, (Qt::SHIFT | Qt::Key_Return).toCombined()},
                                     {Kind::KeyDown, (Qt::CTRL | Qt::ALT | Qt::Key_F13).toCombined()},
                                     {Kind::MouseDown, 0}}));
    ASSERT_EQ(window.states.size(), 2u);
    EXPECT_EQ(window.states[1].reason, UnavailableReason::Refused);
    EXPECT_EQ(window.states[1].request, unavailable.request);
}

class PlayerInput : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(400, 300);
        window.show();
        ASSERT_TRUE(player.Create(&window));
        window.Listen(player.Events());
        player.VideoWidget()->setGeometry(10, 10, 320, 240);
        window.Clear();
    }

    PlayerEventRecorder window;
    CWMPWindow player;
};

TEST_F(PlayerInput, KeysAndMousePressesOnTheVideoAreReported)
{
    QWidget* surface = Surface(player);
    ASSERT_NE(surface, nullptr);
    QTest::keyClick(surface, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(surface, Qt::Key_M, Qt::ControlModifier);
    QTest::keyClick(surface, Qt::Key_Space);
    QTest::mouseClick(surface, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    // Modifier keys are keys too, reported with their own modifier held.
    EXPECT_EQ(window.events, (Events{{Kind::KeyDown, (Qt::SHIFT | Qt::Key_Shift).toCombined()},
                                     {Kind::KeyDown, (Qt::SHIFT | Qt::Key_Return).toCombined()},
                                     {Kind::KeyDown, (Qt::CTRL | Qt::Key_Control).toCombined()},
                                     {Kind::KeyDown, (Qt::CTRL | Qt::Key_M).toCombined()},
                                     {Kind::KeyDown, Qt::Key_Space},
                                     {Kind::MouseDown, 0}}));
}

TEST_F(PlayerInput, FullScreenMovesOnlyThePictureAndLeavesSettingsAlone)
{
    player.storedVolume = 30;
    player.SetVolume(30);
    player.SetOriginalSize(true);
    const QRect mainGeometry = window.geometry();
    const QRect hostGeometry = player.VideoWidget()->geometry();

    player.SetFullScreen(true);
    ASSERT_TRUE(player.IsFullScreen());
    QWidget* surface = Surface(player);
    ASSERT_NE(surface, nullptr);
    EXPECT_TRUE(surface->window()->isFullScreen());
    EXPECT_NE(surface->window(), &window);
    EXPECT_EQ(window.geometry(), mainGeometry);
    EXPECT_EQ(player.VideoWidget()->geometry(), hostGeometry);

    // Enter is only reported; the main window decides what it means.
    QTest::keyClick(surface, Qt::Key_Return);
    EXPECT_TRUE(player.IsFullScreen());
    EXPECT_EQ(window.events, (Events{{Kind::KeyDown, Qt::Key_Return}}));

    QTest::keyClick(surface, Qt::Key_Escape);
    EXPECT_FALSE(player.IsFullScreen());
    EXPECT_EQ(surface->parentWidget(), player.VideoWidget());
    EXPECT_EQ(surface->geometry(), player.VideoWidget()->rect());

    player.SetFullScreen(true);
    QTest::mouseDClick(Surface(player), Qt::LeftButton);
    EXPECT_FALSE(player.IsFullScreen());
    player.SetFullScreen(false); // again: nothing to do

    EXPECT_EQ(player.storedVolume, 30);
    const auto property = [&](const char* name) {
        char* value = mpv_get_property_string(player.EngineHandle(), name);
        const QByteArray text(value);
        mpv_free(value);
        return text;
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return property("volume") == "30.000000"; }, 5000)); // written asynchronously
    EXPECT_TRUE(QTest::qWaitFor([&] { return property("video-unscaled") != "no"; }, 5000));
}

TEST_F(PlayerInput, MainWindowClosingThePlayerInsideAnEventIsSafe)
{
    window.reaction = [&](const PlayerEventRecorder::Event& event) {
        if (event.first == Kind::KeyDown)
            player.Close();
    };
    player.SetFullScreen(true);
    QTest::keyClick(Surface(player), Qt::Key_Escape);
    EXPECT_FALSE(player.IsFullScreen());
    EXPECT_EQ(player.EngineHandle(), nullptr);
}
