// The engine must start although the user's locale writes numbers with a comma; the
// application object has already adopted the environment's locale by now.

#include "CWMPWindow.h"
#include "PlayerEventRecorder.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>

TEST(PlayerLocale, EngineStartsUnderANonCLocale)
{
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr ||
        std::strcmp(std::localeconv()->decimal_point, ",") != 0)
        GTEST_SKIP() << "no locale with a decimal comma here";
    PlayerEventRecorder window;
    CWMPWindow player;
    EXPECT_TRUE(player.Create(&window));
    EXPECT_NE(player.EngineHandle(), nullptr);
}
