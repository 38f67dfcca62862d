// Starting channels, the favourite commands, tabs, keys, layout and language changes.

#include "ChannelWindowFixture.h"
#include "DialogUnits.h"
#include "LanguagePack.h"
#include "WindowGeometry.h"
#include "WorkingDirectory.h"

#include <QDir>
#include <QScrollBar>
#include <QTest>

namespace {
constexpr int kPlay = ID_CHANNEL_PLAY;
constexpr int kAdd = ID_FAVORITES_ADD;
constexpr int kRemove = ID_FAVORITES_REMOVE;
constexpr int kUp = ID_FAVORITES_UP;
constexpr int kDown = ID_FAVORITES_DOWN;
} // namespace

class FavoritesTest : public ChannelWindowTest
{
protected:
    void SetUp() override
    {
        ChannelWindowTest::SetUp();
        AddFavorite(QStringLiteral("A"), MakeChannelId(4, 0), 4);
        AddFavorite(QStringLiteral("B"), MakeChannelId(9, 1), 9);
        AddFavorite(QStringLiteral("C"), MakeChannelId(13, 40), 12);
        CreateWindow();
        Tabs()->setCurrentIndex(1);
    }

    void Select(int row) { List()->setCurrentItem(List()->topLevelItem(row)); }
    int SelectedRow() const
    {
        const auto selected = List()->selectedItems();
        return selected.size() == 1 ? List()->indexOfTopLevelItem(selected[0]) : -1;
    }
};

TEST_F(ChannelWindowTest, StartsInItsInitialState)
{
    CreateWindow();
    EXPECT_EQ(dlg->windowTitle(), "Channels");
    EXPECT_EQ(Tabs()->currentIndex(), 0);
    EXPECT_EQ(Tabs()->tabText(1), "Favourites");
    EXPECT_TRUE(Tree()->isVisible());
    EXPECT_FALSE(List()->isVisible());
    EXPECT_FALSE(dlg->findChild<QWidget*>(QStringLiteral("favoritesBar"))->isVisible());
    for (int command = kPlay; command <= kDown; ++command)
        EXPECT_FALSE(Button(command)->isEnabled()) << command;
    EXPECT_EQ(Button(kPlay)->toolTip(), "Play tip");
    EXPECT_EQ(Button(kRemove)->toolTip(), "Remove tip");
    EXPECT_TRUE(Description()->toPlainText().isEmpty());
}

TEST_F(ChannelWindowTest, DoubleClickOnAGroupStartsNothing)
{
    CreateWindow();
    QTreeWidgetItem* countries = Tree()->topLevelItem(0);
    const QPoint centre = Tree()->visualItemRect(countries).center();
    QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(Tree()->viewport(), Qt::LeftButton, {}, centre);
    EXPECT_TRUE(countries->isExpanded()); // the double-click arrived
    EXPECT_EQ(mainWindow->Starts(), 0);
    EXPECT_FALSE(Button(kAdd)->isEnabled());
    EXPECT_FALSE(Button(kPlay)->isEnabled());
}

TEST_F(ChannelWindowTest, StartingATreeChannelPlaysItAndRecordsItsParentIcon)
{
    CreateWindow();
    StartFromTree(MakeChannelId(18, 30)); // under Canada's further-channels node
    EXPECT_EQ(mainWindow->Starts(), 1);
    EXPECT_EQ(Started().name, "N18.30");
    EXPECT_FALSE(Started().address.isEmpty());
    EXPECT_EQ(Started().id, MakeChannelId(18, 30));
    EXPECT_EQ(Started().icon, 12);
    EXPECT_TRUE(Button(kAdd)->isEnabled());

    Button(kAdd)->click();
    StartFromTree(MakeChannelId(18, 3)); // directly under Canada
    Button(kAdd)->click();
    StartFromTree(MakeChannelId(1, 2)); // Music genre
    Button(kAdd)->click();
    EXPECT_EQ(Saved().icons, QList<quint32>({12, 28, 1}));
    EXPECT_EQ(Saved().names, QStringList({"N18.30", "N18.3", "N1.2"}));
    EXPECT_EQ(Saved().ids, QList<quint32>({MakeChannelId(18, 30), MakeChannelId(18, 3), MakeChannelId(1, 2)}));
    EXPECT_EQ(List()->topLevelItem(2)->text(0), "N1.2");
}

TEST_F(FavoritesTest, StartingAFavoriteUsesItsStoredNameAndIcon)
{
    const QRect row = List()->visualItemRect(List()->topLevelItem(2));
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(mainWindow->Starts(), 1);
    EXPECT_EQ(Started().name, "C");
    EXPECT_EQ(Started().origin, (ChannelOrigin{ChannelOrigin::List::Favourites, "Favourites", 2}));
    EXPECT_EQ(Description()->toPlainText(), "D13.40");

    Button(kRemove)->click();
    Button(kAdd)->click();
    EXPECT_EQ(Saved().names.last(), "C");
    EXPECT_EQ(Saved().icons.last(), 12u); // stored icon, not Germany's
}

TEST_F(FavoritesTest, AddingAnExistingFavoriteChangesNothing)
{
    Select(0);
    Button(kPlay)->click(); // starts A
    Select(1);
    Button(kAdd)->click();
    EXPECT_EQ(Saved().names, QStringList({"A", "B", "C"}));
    EXPECT_EQ(List()->topLevelItemCount(), 3);
    EXPECT_EQ(SelectedRow(), 1);
    EXPECT_EQ(Description()->toPlainText(), "D9.1");
}

TEST_F(FavoritesTest, RemovingSelectsTheItemNowInPlaceOrTheNewLast)
{
    Select(1);
    Button(kRemove)->click();
    EXPECT_EQ(Saved().names, QStringList({"A", "C"}));
    EXPECT_EQ(Saved().ids, QList<quint32>({MakeChannelId(4, 0), MakeChannelId(13, 40)}));
    EXPECT_EQ(SelectedRow(), 1);
    EXPECT_EQ(Description()->toPlainText(), "D13.40");

    Button(kRemove)->click();
    EXPECT_EQ(Saved().names, QStringList({"A"}));
    EXPECT_EQ(SelectedRow(), 0);

    Button(kRemove)->click();
    EXPECT_TRUE(Saved().names.isEmpty());
    EXPECT_TRUE(Saved().ids.isEmpty());
    EXPECT_TRUE(Saved().icons.isEmpty());
    EXPECT_EQ(List()->topLevelItemCount(), 0);
    for (int command : {kPlay, kRemove, kUp, kDown})
        EXPECT_FALSE(Button(command)->isEnabled()) << command;
    EXPECT_TRUE(Description()->toPlainText().isEmpty());
}

TEST_F(FavoritesTest, MovingSwapsAllThreeListsAndStopsAtTheEnds)
{
    Select(0);
    Button(kUp)->click();
    Select(2);
    Button(kDown)->click();
    EXPECT_EQ(Saved().names, QStringList({"A", "B", "C"}));

    Button(kUp)->click();
    EXPECT_EQ(Saved().names, QStringList({"A", "C", "B"}));
    EXPECT_EQ(Saved().icons, QList<quint32>({4, 12, 9}));
    EXPECT_EQ(Saved().ids[1], MakeChannelId(13, 40));
    EXPECT_EQ(List()->topLevelItem(1)->text(0), "C");
    EXPECT_EQ(SelectedRow(), 1);

    Button(kDown)->click();
    EXPECT_EQ(Saved().names, QStringList({"A", "B", "C"}));
    EXPECT_EQ(List()->topLevelItem(2)->data(0, Qt::UserRole).toUInt(), MakeChannelId(13, 40));
    EXPECT_EQ(SelectedRow(), 2);
    EXPECT_TRUE(Button(kRemove)->isEnabled());
}

TEST_F(FavoritesTest, TabSwitchShowsTheDescriptionOfTheNewTabsSelection)
{
    EXPECT_FALSE(Button(kPlay)->isEnabled());
    EXPECT_TRUE(dlg->findChild<QWidget*>(QStringLiteral("favoritesBar"))->isVisible());
    Tabs()->setCurrentIndex(0);
    Tree()->setCurrentItem(TreeItem(MakeChannelId(5, 20)));
    EXPECT_EQ(Description()->toPlainText(), "D5.20");

    Tabs()->setCurrentIndex(1);
    EXPECT_TRUE(Description()->toPlainText().isEmpty());
    EXPECT_FALSE(Button(kPlay)->isEnabled());
    Select(1);
    EXPECT_EQ(Description()->toPlainText(), "D9.1");

    Tabs()->setCurrentIndex(0);
    EXPECT_EQ(Description()->toPlainText(), "D5.20");
    EXPECT_TRUE(Button(kPlay)->isEnabled());
    Tabs()->setCurrentIndex(1);
    EXPECT_EQ(Description()->toPlainText(), "D9.1");

    Tabs()->setCurrentIndex(0);
    Tree()->setCurrentItem(Tree()->topLevelItem(3));
    EXPECT_TRUE(Description()->toPlainText().isEmpty());
    EXPECT_FALSE(Button(kPlay)->isEnabled());
}

TEST_F(FavoritesTest, LanguageChangeDisablesPlayAndKeepsAdd)
{
    Select(1);
    Button(kPlay)->click();
    ASSERT_TRUE(Button(kAdd)->isEnabled());
    strings = MakeStrings(QStringLiteral("x"));
    dlg->ApplyLanguage();
    EXPECT_FALSE(Button(kPlay)->isEnabled());
    EXPECT_TRUE(Button(kPlay)->isVisible());
    EXPECT_TRUE(Button(kAdd)->isEnabled());
    EXPECT_EQ(Button(kAdd)->toolTip(), "xAdd tip");
    EXPECT_EQ(Description()->toPlainText(), "D9.1");
    EXPECT_EQ(Saved().names, QStringList({"A", "B", "C"})); // favourites keep their names
    EXPECT_EQ(Tabs()->currentIndex(), 1);
}

TEST_F(ChannelWindowTest, NoChannelOrOneOutsideTheTableStartsNothing)
{
    CreateWindow();
    for (ChannelId id : {ChannelId(0), MakeChannelId(2, 40), MakeChannelId(23, 0), MakeChannelId(0, 3)})
        EXPECT_TRUE(directory.RequestOf(ChannelKey{id}, {}).IsEmpty()) << id;
    EXPECT_FALSE(Button(kAdd)->isEnabled());
}

TEST_F(ChannelWindowTest, HandEditedFavouritesReportErrorsButNeverBreakTheWindow)
{
    AddFavorite(QStringLiteral("Beyond"), MakeChannelId(2, 40), 2);
    AddFavorite(QStringLiteral("Nowhere"), MakeChannelId(30, 0), 99);
    CreateWindow();
    Tabs()->setCurrentIndex(1);

    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {},
                      List()->visualItemRect(List()->topLevelItem(0)).center());
    EXPECT_EQ(boxes.Boxes().size(), 1u); // its description is missing from the catalogue
    Button(kPlay)->click();
    List()->setCurrentItem(List()->topLevelItem(1));
    EXPECT_TRUE(Description()->toPlainText().isEmpty());
    Button(kPlay)->click();
    EXPECT_EQ(mainWindow->Starts(), 0);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST_F(ChannelWindowTest, ErrorsInSelectionAndTabSlotsAreReportedWithoutLeavingTheSlot)
{
    AddFavorite(QStringLiteral("Beyond"), MakeChannelId(2, 40), 2);
    CreateWindow();
    Tabs()->setCurrentIndex(1);
    EXPECT_NO_THROW(List()->setCurrentItem(List()->topLevelItem(0))); // no description for it
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_NO_THROW(Tabs()->setCurrentIndex(0));
    EXPECT_NO_THROW(Tabs()->setCurrentIndex(1)); // shows the same favourite again
    EXPECT_EQ(boxes.Boxes().size(), 2u);
}

TEST_F(ChannelWindowTest, EscapeAndTheCloseBoxOnlyHideWhileEnterPlaysAndStays)
{
    CreateWindow();
    Tree()->setCurrentItem(TreeItem(MakeChannelId(7, 3)));
    Tree()->setFocus();
    QTest::keyClick(Tree(), Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    dlg->show();
    dlg->close();
    EXPECT_FALSE(dlg->isVisible());
    dlg->show();
    EXPECT_EQ(mainWindow->Starts(), 0);
    EXPECT_EQ(Tree()->currentItem(), TreeItem(MakeChannelId(7, 3)));
    EXPECT_EQ(Description()->toPlainText(), "D7.3");

    QTest::keyClick(Tree(), Qt::Key_Return);
    EXPECT_EQ(mainWindow->Last().name, "N7.3");
    QTest::keyClick(Description(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(mainWindow->Starts(), 2);
    EXPECT_TRUE(dlg->isVisible());

    QTreeWidgetItem* group = TreeItem(MakeChannelId(7, 3))->parent();
    Tree()->setCurrentItem(group);
    const bool expanded = group->isExpanded();
    QTest::keyClick(Tree(), Qt::Key_Return); // a group opens or closes
    EXPECT_NE(group->isExpanded(), expanded);
    EXPECT_EQ(mainWindow->Starts(), 2);
}

TEST_F(FavoritesTest, FavouriteKeysAddRemoveAndMove)
{
    Tabs()->setCurrentIndex(0);
    Tree()->setCurrentItem(TreeItem(MakeChannelId(7, 3)));
    QTest::keyClick(Tree(), Qt::Key_Insert);
    QTest::keyClick(Tree(), Qt::Key_Insert); // once only
    EXPECT_EQ(Saved().names, QStringList({"A", "B", "C", "N7.3"}));
    EXPECT_EQ(Saved().ids.last(), MakeChannelId(7, 3));
    EXPECT_EQ(mainWindow->Starts(), 0); // added without being started

    Tabs()->setCurrentIndex(1);
    Select(3);
    QTest::keyClick(List(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(Saved().names, QStringList({"A", "B", "N7.3", "C"}));
    EXPECT_EQ(SelectedRow(), 2);
    QTest::keyClick(List(), Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(List(), Qt::Key_Delete);
    EXPECT_EQ(Saved().names, QStringList({"A", "B", "C"}));
    EXPECT_EQ(Saved().icons.size(), 3);
}

TEST_F(FavoritesTest, TabReachesEveryButtonOfTheShownTab)
{
    List()->setFocus();
    Select(0);
    QStringList reached;
    for (int k = 0; k < 6; ++k) {
        QTest::keyClick(dlg->focusWidget(), Qt::Key_Tab);
        reached.append(dlg->focusWidget()->objectName());
    }
    // Add is off until a channel was started.
    EXPECT_EQ(reached, QStringList({"description", "button127", "button128", "button129", "button125",
                                              "tabs"}));
}

TEST_F(FavoritesTest, LayoutFollowsTheClientSize)
{
    dlg->resize(320, 480);
    EXPECT_EQ(Tabs()->geometry(), QRect(2, 4, 316, 30));
    EXPECT_EQ(Tree()->geometry(), QRect(2, 25, 316, 350));
    EXPECT_EQ(List()->geometry(), QRect(2, 25, 316, 350));
    EXPECT_EQ(Description()->geometry(), QRect(2, 377, 316, 70));
    const int play = Button(kPlay)->width();
    const int favorites = 4 * Button(kAdd)->width();
    EXPECT_EQ(dlg->findChild<QWidget*>(QStringLiteral("playBar"))->geometry(),
              QRect(320 - play - 2, 448, play + 2, 30));
    EXPECT_EQ(dlg->findChild<QWidget*>(QStringLiteral("favoritesBar"))->geometry(),
              QRect(320 - play - favorites - 2, 448, favorites, 30));
    EXPECT_EQ(Button(kDown)->geometry().right(), favorites - 1);
    EXPECT_EQ(List()->columnWidth(0), List()->viewport()->width() - 1);
    EXPECT_FALSE(List()->horizontalScrollBar()->isVisible());

    dlg->resize(3, 3); // no minimum size: the controls shrink to nothing
    EXPECT_EQ(Tree()->size(), QSize(0, 0));
    EXPECT_EQ(List()->columnWidth(0), 0);
}

TEST_F(ChannelWindowTest, EveryShippedLanguageShowsItsTabLabelsWholeAtTheFirstWidth)
{
    const QString resources = QStringLiteral(KORVANTA_SOURCE_DIR "/resources");
    for (const QString& language : QDir(resources + "/Languages").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        strings.Clear();
        {
            const WorkingDirectory cwd(resources);
            QString name = language;
            ASSERT_TRUE(LoadLanguagePack(nullptr, name, strings));
        }
        CreateWindow();
        const auto widths = [this](int windowWidth) {
            dlg->resize(windowWidth, dlg->height());
            return std::pair(Tabs()->tabRect(0).width(), Tabs()->tabRect(1).width());
        };
        const auto whole = widths(1000);
        EXPECT_EQ(widths(CDialogUnits(dlg->font()).ToPixels(QSize(141, 236)).width()), whole) << qPrintable(language);
    }
}

TEST_F(ChannelWindowTest, DestroyWindowRecordsTheOuterRectangle)
{
    CreateWindow();
    MoveWindowOuter(dlg.get(), QRect(40, 50, 260, 420));
    const QRect outer = GetWindowOuterRect(dlg.get());
    dlg->DestroyWindow();
    EXPECT_EQ(dlg->WindowRect(), outer);
    EXPECT_FALSE(dlg->isVisible());
}
