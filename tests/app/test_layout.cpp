#include "MainWindowFixture.h"

namespace {
struct Bands
{
    QRect video;
    QRect status;
};
} // namespace

class LayoutTest : public MainWindowTest
{
protected:
    Bands LayOut(int hideMenu, int hideControl)
    {
        WriteConfigFile("Settings.xml", SettingsXml(hideControl, hideMenu, 0));
        EXPECT_TRUE(Start());
        Window().Layout(550, 400);
        return {app->Player().VideoWidget()->geometry(), Window().StatusRect()};
    }
};

TEST_F(LayoutTest, AllModesOff)
{
    const Bands b = LayOut(0, 0);
    EXPECT_EQ(Window().MenuPanel().geometry(), QRect(0, 0, 550, 20));
    EXPECT_EQ(b.video, QRect(0, 20, 550, 295));
    EXPECT_EQ(b.status, QRect(QPoint(0, 315), QPoint(199, 330)));
    EXPECT_EQ(Window().PlayPanel().geometry(), QRect(0, 331, 550, 69));
}

TEST_F(LayoutTest, PlayPanelHiddenIsStillMoved)
{
    const Bands b = LayOut(0, 1);
    EXPECT_EQ(b.video, QRect(0, 20, 550, 364));
    EXPECT_EQ(b.status, QRect(QPoint(0, 384), QPoint(199, 399)));
    EXPECT_EQ(Window().PlayPanel().geometry(), QRect(0, 331, 550, 69));
}

TEST_F(LayoutTest, MenuHidden)
{
    const Bands b = LayOut(1, 0);
    EXPECT_EQ(b.video, QRect(0, 0, 550, 315));
    EXPECT_EQ(b.status, QRect(QPoint(0, 315), QPoint(199, 330)));
    EXPECT_EQ(Window().MenuPanel().geometry(), QRect(0, 0, 550, 20));
}

TEST_F(LayoutTest, BothHidden)
{
    const Bands b = LayOut(1, 1);
    EXPECT_EQ(b.video, QRect(0, 0, 550, 384));
    EXPECT_EQ(b.status, QRect(QPoint(0, 384), QPoint(199, 399)));
}

TEST_F(LayoutTest, TogglingHideMenuTwiceRestoresLayoutAndCheckMarks)
{
    const Bands before = LayOut(0, 0);
    Window().resize(550, 400);
    Window().ToggleHideMenu();
    EXPECT_TRUE(Checked(2, ID_HIDE_MENU));
    EXPECT_TRUE(Checked(4, ID_HIDE_MENU));
    EXPECT_EQ(app->Player().VideoWidget()->geometry(), QRect(0, 0, 550, 315));
    Window().ToggleHideMenu();
    EXPECT_FALSE(Checked(2, ID_HIDE_MENU));
    EXPECT_FALSE(Checked(4, ID_HIDE_MENU));
    EXPECT_FALSE(Window().MenuPanel().isHidden());
    EXPECT_EQ(app->Player().VideoWidget()->geometry(), before.video);
}

TEST_F(LayoutTest, SizeModesAreARadioPairInBothMenus)
{
    LayOut(0, 0);
    for (int round = 0; round < 2; ++round) {
        Window().SelectSize(true);
        for (int popup : {1, 4}) {
            EXPECT_TRUE(Checked(popup, ID_ORIGINAL_SIZE));
            EXPECT_FALSE(Checked(popup, ID_FIT_TO_WINDOW));
        }
        // Choosing the checked item again keeps exactly one mark.
        Item(1, ID_FIT_TO_WINDOW)->trigger();
        app->Actions().Run(ID_FIT_TO_WINDOW);
        for (int popup : {1, 4}) {
            EXPECT_FALSE(Checked(popup, ID_ORIGINAL_SIZE));
            EXPECT_TRUE(Checked(popup, ID_FIT_TO_WINDOW));
        }
    }
    EXPECT_EQ(app->GetSettings().originalSize, 0);
}
