#include "CPanelMenu.h"
#include "InvalidArgument.h"
#include "SkinTestSupport.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QStringList kTexts = {QStringLiteral("File"), QStringLiteral("View"),
                            QStringLiteral("Channels"), QStringLiteral("Help")};

class PanelMenu : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bold = host.font();
        bold.setBold(true);
        bold.setPointSize(bold.pointSize() + 2);
        panel.SetFont(bold);
        host.resize(600, 200);
        panel.Create(&host);
        panel.resize(600, 20);
        for (int i = 0; i < kTexts.size(); ++i) {
            menus[i].addAction(QStringLiteral("Command"))->setData(104 + i);
            QObject::connect(&menus[i], &QMenu::aboutToShow, [this] { ++popupsShown; });
            panel.AddItem(kTexts[i], &menus[i]);
        }
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }

    // Runs action on the popup menu once it is open; QMenu::exec blocks until then.
    static void WhenPopupOpens(std::function<void(QMenu*)> action)
    {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [poll, action] {
            if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                poll->stop();
                poll->deleteLater();
                action(popup);
            }
        });
        poll->start(5);
    }
    static void ClosePopup()
    {
        WhenPopupOpens([](QMenu* popup) { QTest::keyClick(popup, Qt::Key_Escape); });
    }

    void MoveTo(QPoint p) { QTest::mouseMove(&panel, p); }
    void ClickAt(QPoint p) { QTest::mouseClick(&panel, Qt::LeftButton, {}, p); }

    PanelHost host;
    CPanelMenu panel;
    QMenu menus[4];
    QFont bold;
    int popupsShown = 0;
};

} // namespace

TEST_F(PanelMenu, ItemsSitSideBySideSizedByTheBoldText)
{
    const QFontMetrics metrics(bold);
    int left = 0;
    ASSERT_EQ(panel.ItemCount(), 4);
    for (int i = 0; i < 4; ++i) {
        const int width = metrics.horizontalAdvance(kTexts[i]) + 16;
        EXPECT_EQ(panel.ItemRect(i), QRect(left, 0, width, 20)) << i;
        left += width;
    }
    EXPECT_THROW(panel.ItemRect(4), CInvalidArgException);

    panel.RemoveAllItems();
    EXPECT_EQ(panel.ItemCount(), 0);
    panel.AddItem(QStringLiteral("Only"), nullptr);
    EXPECT_EQ(panel.ItemRect(0).left(), 0);
}

TEST_F(PanelMenu, HoverMovesFromItemToItemRepaintingEachAtOnce)
{
    QCoreApplication::processEvents();
    PaintRecorder paints(&panel);
    MoveTo(panel.ItemRect(1).center());
    EXPECT_TRUE(panel.IsItemHot(1));
    EXPECT_EQ(paints.rects, QList<QRect>{panel.ItemRect(1)});

    paints.rects.clear();
    MoveTo(panel.ItemRect(2).center());
    EXPECT_FALSE(panel.IsItemHot(1));
    EXPECT_TRUE(panel.IsItemHot(2));
    EXPECT_EQ(paints.rects, (QList<QRect>{panel.ItemRect(1), panel.ItemRect(2)}));

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&panel, &leave);
    EXPECT_FALSE(panel.IsItemHot(2));
}

TEST_F(PanelMenu, WholeBarPaintShowsEveryItemNormal)
{
    MoveTo(panel.ItemRect(0).center());
    ASSERT_TRUE(panel.IsItemHot(0));
    const QImage bar = panel.grab().toImage();
    const QRect item = panel.ItemRect(0);
    // Left of the text inset, an item shows the plain bar background.
    EXPECT_EQ(bar.pixel(item.left() + 2, 10), bar.pixel(590, 10));
    EXPECT_EQ(bar.pixel(item.left() + 2, 18), bar.pixel(590, 18));
    EXPECT_TRUE(panel.IsItemHot(0));
}

TEST_F(PanelMenu, ChosenCommandReachesTheParentWithItsId)
{
    WhenPopupOpens([](QMenu* popup) {
        popup->setActiveAction(popup->actions().first());
        QTest::keyClick(popup, Qt::Key_Return);
    });
    MoveTo(panel.ItemRect(2).center());
    ClickAt(panel.ItemRect(2).center());
    EXPECT_EQ(popupsShown, 1);
    ASSERT_EQ(host.received.size(), 1u);
    EXPECT_EQ(host.received[0].kind, SentCommand);
    EXPECT_EQ(host.received[0].flag, 106);
    EXPECT_EQ(host.received[0].amount, 0);
    // Hover is back once the menu has closed; the item stays hot until the pointer moves.
    EXPECT_TRUE(panel.IsItemHot(2));
    MoveTo({590, 10});
    EXPECT_FALSE(panel.IsItemHot(2));
}

TEST_F(PanelMenu, KeyboardOpensTheFirstMenuAndArrowsWalkBetweenMenus)
{
    QStringList walked;
    // Left from the first wraps to the last; Right twice to the second; Enter chooses.
    const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Right, Qt::Key_Return};
    int step = 0;
    std::function<void(QMenu*)> press = [&](QMenu* popup) {
        QTimer::singleShot(20, popup, [&, popup] {
            walked.append(popup->activeAction() != nullptr ? QString::number(popup->activeAction()->data().toInt())
                                                           : QStringLiteral("none"));
            QTest::keyClick(popup, keys[step++]);
            if (step < 4)
                WhenPopupOpens(press);
        });
    };
    WhenPopupOpens(press);
    panel.OpenFromKeyboard();
    EXPECT_EQ(walked, QStringList({"104", "107", "104", "105"}));
    ASSERT_EQ(host.received.size(), 1u);
    EXPECT_EQ(host.received[0].flag, 105);
}

TEST_F(PanelMenu, CommandMayReplaceTheMenusAndItems)
{
    // A language change rebuilds the bar from inside the command it was chosen by.
    auto* doomed = new QMenu;
    doomed->addAction(QStringLiteral("Language"))->setData(110);
    panel.RemoveAllItems();
    panel.AddItem(QStringLiteral("Options"), doomed);
    host.onSent = [&] {
        delete doomed;
        panel.RemoveAllItems();
        panel.AddItem(QStringLiteral("Optionen"), &menus[0]);
    };
    WhenPopupOpens([](QMenu* popup) {
        popup->setActiveAction(popup->actions().first());
        QTest::keyClick(popup, Qt::Key_Return);
    });
    const QPoint item = panel.ItemRect(0).center();
    MoveTo(item);
    ClickAt(item);
    ASSERT_EQ(host.received.size(), 1u);
    EXPECT_EQ(host.received[0].flag, 110);
    EXPECT_EQ(panel.ItemCount(), 1);
    (void)panel.grab();
}

TEST_F(PanelMenu, OpenItemMarkerBlocksASecondPopupUntilThePointerMoves)
{
    ClickAt({590, 10}); // beside every item: nothing opens
    EXPECT_EQ(popupsShown, 0);

    const QPoint item = panel.ItemRect(1).center();
    MoveTo(item);
    ClosePopup();
    ClickAt(item);
    EXPECT_EQ(popupsShown, 1);
    EXPECT_EQ(panel.OpenItem(), 1);

    ClickAt(item); // no movement since: clears the marker only
    EXPECT_EQ(popupsShown, 1);
    EXPECT_EQ(panel.OpenItem(), -1);

    MoveTo(item + QPoint(1, 0));
    ClosePopup();
    ClickAt(item + QPoint(1, 0));
    EXPECT_EQ(popupsShown, 2);
    EXPECT_TRUE(host.received.empty()); // dismissed popups send nothing

    // Another item opens at once, marker or not.
    MoveTo(panel.ItemRect(3).center());
    ClosePopup();
    ClickAt(panel.ItemRect(3).center());
    EXPECT_EQ(popupsShown, 3);
}

TEST_F(PanelMenu, ItemWithoutMenuOrFontIsHarmless)
{
    CPanelMenu plain;
    plain.Create(&host);
    plain.AddItem(QStringLiteral("Alone"), nullptr);
    EXPECT_EQ(plain.ItemRect(0).width(),
              QFontMetrics(plain.font()).horizontalAdvance(QStringLiteral("Alone")) + 16);
    QTest::mouseClick(&plain, Qt::LeftButton, {}, plain.ItemRect(0).center());
    EXPECT_EQ(plain.OpenItem(), 0);
    EXPECT_TRUE(host.received.empty());
    (void)plain.grab();
}
