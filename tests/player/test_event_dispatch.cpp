// The event sink's dispatch face and the key, mouse and full-screen behaviour of the
// video surface, as the main window sees them through UM_PLAYER_EVENT.

#include "CWMPEventDispatch.h"
#include "CWMPWindow.h"
#include "PlayerEventRecorder.h"
#include "VirtualKey.h"

#include <mpv/client.h>

#include <QTest>

#include <gtest/gtest.h>

using Events = std::vector<std::pair<WPARAM, LPARAM>>;

namespace {
DispParams Args(std::initializer_list<std::int32_t> reversed)
{
    DispParams params;
    for (std::int32_t value : reversed)
        params.args.push_back({value});
    return params;
}

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

TEST(EventDispatch, InvokeSendsTheThreeEventsWithTheirParameters)
{
    PlayerEventRecorder window;
    CWMPEventDispatch sink;
    sink.SetTargetWindow(&window);

    auto state = Args({3});
    EXPECT_EQ(sink.Invoke(DISPID_PLAYSTATECHANGE, &state), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(sink.Invoke(DISPID_PLAYSTATECHANGE, &state), DISP_E_MEMBERNOTFOUND); // repeats pass
    auto enterWithShift = Args({SHIFT_STATE_SHIFT, 13}); // shift state last, key code first
    EXPECT_EQ(sink.Invoke(DISPID_KEYDOWN, &enterWithShift), DISP_E_MEMBERNOTFOUND);
    auto rightClick = Args({120, 80, SHIFT_STATE_CTRL, 2});
    EXPECT_EQ(sink.Invoke(DISPID_MOUSEDOWN, &rightClick), DISP_E_MEMBERNOTFOUND);

    EXPECT_EQ(window.events, (Events{{PLAYER_EVENT_PLAY_STATE, 3},
                                     {PLAYER_EVENT_PLAY_STATE, 3},
                                     {PLAYER_EVENT_KEY_DOWN, 65549},
                                     {PLAYER_EVENT_MOUSE_DOWN, 0}}));
}

TEST(EventDispatch, KeyCodesAreReadAsSixteenBitValues)
{
    PlayerEventRecorder window;
    CWMPEventDispatch sink;
    sink.SetTargetWindow(&window);
    auto ctrlAltM = Args({SHIFT_STATE_CTRL | SHIFT_STATE_ALT, 0x10000 + 77});
    sink.Invoke(DISPID_KEYDOWN, &ctrlAltM);
    EXPECT_EQ(window.events, (Events{{PLAYER_EVENT_KEY_DOWN, (6 << 16) | 77}}));
}

TEST(EventDispatch, BadCallsAndOtherEventsSendNothing)
{
    PlayerEventRecorder window;
    CWMPEventDispatch sink;
    sink.SetTargetWindow(&window);

    EXPECT_EQ(sink.Invoke(DISPID_PLAYSTATECHANGE, nullptr), E_POINTER);
    auto named = Args({3});
    named.namedArgs = 1;
    EXPECT_EQ(sink.Invoke(DISPID_PLAYSTATECHANGE, &named), DISP_E_NONAMEDARGS);

    int events = 0;
    for (DISPID id = 5000; id < 6600; ++id) {
        if (!CWMPEventDispatch::IsPlayerEvent(id))
            continue;
        ++events;
        auto args = Args({1, 2, 3, 4, 5, 6});
        if (id != DISPID_PLAYSTATECHANGE && id != DISPID_KEYDOWN && id != DISPID_MOUSEDOWN) {
            EXPECT_EQ(sink.Invoke(id, &args), DISP_E_MEMBERNOTFOUND) << id;
        }
    }
    EXPECT_EQ(events, 45);
    auto args = Args({1});
    EXPECT_EQ(sink.Invoke(42, &args), DISP_E_MEMBERNOTFOUND);
    EXPECT_TRUE(window.events.empty());

    // Too few arguments read as zero rather than out of range.
    auto none = Args({});
    sink.Invoke(DISPID_KEYDOWN, &none);
    EXPECT_EQ(window.events, (Events{{PLAYER_EVENT_KEY_DOWN, 0}}));
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
        player.VideoWidget()->setGeometry(10, 10, 320, 240);
        window.events.clear();
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
    EXPECT_EQ(window.events, (Events{{PLAYER_EVENT_KEY_DOWN, (1 << 16) | 16},
                                     {PLAYER_EVENT_KEY_DOWN, 65549},
                                     {PLAYER_EVENT_KEY_DOWN, (2 << 16) | 17},
                                     {PLAYER_EVENT_KEY_DOWN, (2 << 16) | 77},
                                     {PLAYER_EVENT_KEY_DOWN, 32},
                                     {PLAYER_EVENT_MOUSE_DOWN, 0}}));
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
    EXPECT_EQ(window.events, (Events{{PLAYER_EVENT_KEY_DOWN, 13}}));

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
    window.reaction = [&](WPARAM kind, LPARAM) {
        if (kind == PLAYER_EVENT_KEY_DOWN)
            player.Close();
    };
    player.SetFullScreen(true);
    QTest::keyClick(Surface(player), Qt::Key_Escape);
    EXPECT_FALSE(player.IsFullScreen());
    EXPECT_EQ(player.EngineHandle(), nullptr);
}
