// The engine must start although the user's locale writes numbers with a comma; the
// application object has already adopted the environment's locale by now.

#include "CWMPWindow.h"
#include "PlayerEventRecorder.h"

#include <gtest/gtest.h>

#include <clocale>

TEST(PlayerLocale, EngineStartsUnderANonCLocale)
{
    ASSERT_NE(std::setlocale(LC_NUMERIC, "C.UTF-8"), nullptr);
    PlayerEventRecorder window;
    CWMPWindow player;
    EXPECT_TRUE(player.Create(&window));
    EXPECT_NE(player.EngineHandle(), nullptr);
}
