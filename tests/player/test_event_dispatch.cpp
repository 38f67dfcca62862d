// The event sink's notifications and the key, mouse and full-screen behaviour of the
// video surface, as the main window sees them through the sink.

#include "CWMPEventDispatch.h"
#include "CWMPWindow.h"
#include "PlayerEventRecorder.h"
#include "VirtualKey.h"

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
    sink.KeyDown(13, SHIFT_STATE_SHIFT);
    sink.KeyDown(static_cast<std::int16_t>(-1), SHIFT_STATE_CTRL | SHIFT_STATE_ALT); // 16 bits, unsigned
    sink.MouseDown(2, SHIFT_STATE_CTRL, 80, 120); // button and place are not passed on

    EXPECT_EQ(window.events, (Events{{Kind::PlayState, PLAYSTATE_READY},
                                     {Kind::PlayState, PLAYSTATE_READY},
                                     {Kind::KeyDown, 65549},
                                     {Kind::KeyDown, (6 << 16) | 0xFFFF},
                                     {Kind::MouseDown, 0}}));
    ASSERT_EQ(window.states.size(), 2u);
    EXPECT_EQ(window.states[1].reason, UnavailableReason::Refused);
    EXPECT_EQ(window.states[1].request, unavailable.request);
}

TEST(VirtualKeys, RangesAndUnknownKeys)
{
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_0), 48);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Z), 90);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_F1), 112);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_F12), 123);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Escape), 27);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Down), 40);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Enter), 13); // the keypad's Enter too
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_unknown), 0);
    EXPECT_EQ(ShiftStateFromQt(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier), 7);
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
    // Modifier keys are keys too, reported with their own shift bit.
    EXPECT_EQ(window.events, (Events{{Kind::KeyDown, (1 << 16) | 16},
                                     {Kind::KeyDown, 65549},
                                     {Kind::KeyDown, (2 << 16) | 17},
                                     {Kind::KeyDown, (2 << 16) | 77},
                                     {Kind::KeyDown, 32},
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
    EXPECT_EQ(window.events, (Events{{Kind::KeyDown, 13}}));

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
