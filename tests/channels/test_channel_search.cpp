// Finding channels by name, and zapping along the list a channel was started from.

#include "ChannelSearch.h"
#include "ChannelWindowFixture.h"
#include "SearchNameFeed.h"
#include "SearchPanel.h"

#include <QLineEdit>
#include <QListView>
#include <QTest>

namespace {
QStringList Found(const QStringList& names, const QString& query)
{
    ChannelSearch search;
    for (const QString& name : names)
        search.Add(name);
    QStringList found;
    for (int entry : search.Find(query))
        found.append(names[entry]);
    return found;
}
} // namespace

TEST(ChannelSearch, FindsIgnoringCaseAndAccentsRankedByWhereTheMatchStarts)
{
    const QStringList names = {"Euronews", "The News", "News 24", "Télé Québec", "ДОЖДЬ",
                               "Newsmax", "BBC World-News", "ﬁlm Zone", "Café"};
    struct Case
    {
        const char* query;
        QStringList expected;
    } cases[] = {
        {"news", {"News 24", "Newsmax", "The News", "BBC World-News", "Euronews"}},
        {"NEWS 2", {"News 24"}},
        {"quebec", {"Télé Québec"}},
        {"TÉLÉ", {"Télé Québec"}},
        {"дождь", {"ДОЖДЬ"}},
        {"film", {"ﬁlm Zone"}},
        {"cafe", {"Café"}},
        {"e", {"Euronews", "The News", "News 24", "Télé Québec", "Newsmax", "BBC World-News", "ﬁlm Zone", "Café"}},
        {"", {}},
        {"zzz", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Found(names, QString::fromUtf8(c.query)), c.expected) << c.query;
}

TEST(ChannelSearch, RanksTheExactNameOrNumberFirstThenStartsThenWordStartsThenTheRest)
{
    // name and channel number, in the order added
    const std::pair<const char*, const char*> channels[] = {
        {"World News 24 HD", ""}, {"Newsworld", "5"}, {"World News 24", "101"},
        {"Planet World", "7"}, {"Télé 7", "24"}, {"TV 101", ""},
    };
    ChannelSearch search;
    for (const auto& [name, number] : channels)
        search.Add(QString::fromUtf8(name), QString::fromUtf8(number));
    struct Case
    {
        const char* query;
        QStringList expected;
    } cases[] = {
        {"world news 24", {"World News 24", "World News 24 HD"}},
        {"world", {"World News 24 HD", "World News 24", "Planet World", "Newsworld"}},
        {"24", {"Télé 7", "World News 24 HD", "World News 24"}}, // a number counts as the exact name
        {"7", {"Planet World", "Télé 7"}},
        {"101", {"World News 24", "TV 101"}},
        {"TELE 7", {"Télé 7"}},
        {"5", {"Newsworld"}},
    };
    for (const Case& c : cases) {
        QStringList found;
        for (int entry : search.Find(QString::fromUtf8(c.query)))
            found.append(QString::fromUtf8(channels[entry].first));
        EXPECT_EQ(found, c.expected) << c.query;
    }
}

TEST(ChannelSearch, ANameWithAWordStartLaterStillRanksAsAWordStart)
{
    EXPECT_EQ(Found({"Sportsnet", "Eurosport Sport", "Sport 1"}, "sport"),
              QStringList({"Sportsnet", "Sport 1", "Eurosport Sport"}));
}

class SearchWindowTest : public ChannelWindowTest
{
protected:
    QLineEdit* Field() const { return dlg->findChild<QLineEdit*>(QStringLiteral("searchField")); }
    QListView* Results() const { return dlg->findChild<QListView*>(QStringLiteral("searchResults")); }
    QString Selected() const { return Results()->currentIndex().data().toString(); }
};

TEST_F(SearchWindowTest, TypingFiltersEnterPlaysAndEscapeReturnsToTheTreeAsItWas)
{
    CreateWindow();
    Tree()->setCurrentItem(TreeItem(MakeChannelId(4, 3)));
    QTreeWidgetItem* expanded = TreeItem(MakeChannelId(4, 3))->parent();
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    QTest::keyClick(dlg.get(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(Field()->isVisible());
    EXPECT_FALSE(Tree()->isVisible());

    QTest::keyClicks(Field(), "n13.4");
    EXPECT_EQ(Selected(), "N13.4"); // starts with the query: before N13.40 .. N13.49
    EXPECT_EQ(Results()->model()->rowCount(), 11);
    EXPECT_EQ(Description()->toPlainText(), "D13.4");
    QTest::keyClick(Field(), Qt::Key_Down);
    EXPECT_EQ(Selected(), "N13.40");
    QTest::keyClick(Field(), Qt::Key_Return);
    EXPECT_EQ(mainWindow->Starts(), 1);
    EXPECT_EQ(Started().name, "N13.40");
    EXPECT_TRUE(dlg->isVisible()); // Enter in the search plays, it does not close the window

    QTest::keyClick(Field(), Qt::Key_Escape);
    EXPECT_FALSE(Results()->isVisible());
    EXPECT_TRUE(Tree()->isVisible());
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(Tree()->currentItem(), TreeItem(MakeChannelId(4, 3)));
    EXPECT_EQ(expanded->isExpanded(), TreeItem(MakeChannelId(4, 3))->parent()->isExpanded());
}

TEST_F(SearchWindowTest, ZappingFollowsTheListTheChannelWasStartedFromAndWraps)
{
    AddFavorite(QStringLiteral("F1"), MakeChannelId(9, 1), 9);
    AddFavorite(QStringLiteral("F2"), MakeChannelId(2, 0), 2);
    AddFavorite(QStringLiteral("F3"), MakeChannelId(13, 5), 23);
    CreateWindow();
    EXPECT_FALSE(zapper.CanZap());

    struct Step
    {
        int step;
        const char* expected;
    };
    const auto zapAll = [this](std::initializer_list<Step> steps) {
        for (const Step& s : steps) {
            zapper.Zap(s.step, Started());
            EXPECT_EQ(Started().name, s.expected) << s.step;
        }
    };

    // The tree group Radio (section 8) in its tree order 4, 0, 1, 2, 3, 5.
    StartFromTree(MakeChannelId(8, 0));
    ASSERT_TRUE(zapper.CanZap());
    zapAll({{-1, "N8.4"}, {-1, "N8.5"}, {+1, "N8.4"}, {+1, "N8.0"}, {+1, "N8.1"}});

    // Canada's further-channels node: its own channels only, not the country's.
    StartFromTree(MakeChannelId(18, 37));
    zapAll({{+1, "N18.22"}, {-1, "N18.37"}});

    Tabs()->setCurrentIndex(1);
    List()->setCurrentItem(List()->topLevelItem(2));
    Button(ID_CHANNEL_PLAY)->click();
    zapAll({{+1, "F1"}, {+1, "F2"}, {-1, "F1"}, {-1, "F3"}});
    Button(ID_FAVORITES_UP)->click(); // F3 moves before F2: zapping follows
    zapAll({{-1, "F1"}, {+1, "F3"}, {+1, "F2"}});

    dlg->OpenSearch();
    QTest::keyClicks(Field(), "n2.");
    QTest::keyClick(Field(), Qt::Key_Up);
    QTest::keyClick(Field(), Qt::Key_Return);
    EXPECT_EQ(Started().name, "N2.0");
    QTest::keyClick(Field(), Qt::Key_Escape); // the results stay the list after closing
    zapAll({{-1, "N2.5"}, {+1, "N2.0"}, {+1, "N2.1"}});
}

// A list too long to index at once is indexed on a worker: until then the search finds
// nothing (never rows of the list before), and of two lists given meanwhile the last counts.
TEST(SearchPanel, ALongListIsSearchedOnceIndexedAndTheLastListGivenWins)
{
    constexpr int kLongList = 30000;
    const auto list = [](const QString& prefix) {
        SearchEntries entries;
        for (int k = 0; k < kLongList; ++k) {
            entries.names.append(prefix + QString::number(k));
            entries.numbers.append(QString());
            entries.details.append(QString());
        }
        return entries;
    };
    QWidget window;
    SearchPanel panel(&window);
    panel.Open();
    auto* field = window.findChild<QLineEdit*>(QStringLiteral("searchField"));
    field->setText(QStringLiteral("channel 29999"));

    panel.SetEntries(list(QStringLiteral("Radio ")));
    panel.SetEntries(list(QStringLiteral("Channel ")));
    EXPECT_TRUE(panel.IsIndexing());
    EXPECT_TRUE(panel.Results().empty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panel.IsIndexing(); }));
    ASSERT_EQ(panel.Results().size(), 1u);
    EXPECT_EQ(panel.Results()[0], 29999);
    field->setText(QStringLiteral("radio"));
    EXPECT_TRUE(panel.Results().empty());
}

TEST(SearchNameFeed, ALongListIsNamedOverSeveralTurnsAndAShortOneReplacingItAtOnce)
{
    constexpr int kLongList = 30000;
    std::vector<Playlist> playlists(1);
    playlists[0].name = QStringLiteral("Big");
    playlists[0].channels.resize(kLongList);
    for (int k = 0; k < kLongList; ++k) {
        playlists[0].channels[static_cast<std::size_t>(k)].name = QString::number(k);
        playlists[0].channels[static_cast<std::size_t>(k)].group = QStringLiteral("News");
    }
    SearchNameFeed feed(playlists);
    SearchEntries built;
    built.names = {QStringLiteral("Built-in")};
    built.numbers = built.details = {QString()};
    int deliveries = 0;
    SearchEntries last;
    const auto keep = [&](SearchEntries entries, std::vector<ChannelKey> keys) {
        ++deliveries;
        EXPECT_EQ(keys.size(), static_cast<std::size_t>(entries.names.size()));
        last = std::move(entries);
    };

    feed.Start(built, {ChannelKey{1}}, keep);
    EXPECT_TRUE(feed.IsBusy()); // not in the turn that changed the list
    ASSERT_TRUE(QTest::qWaitFor([&] { return !feed.IsBusy(); }));
    ASSERT_EQ(last.names.size(), kLongList + 1);
    EXPECT_EQ(last.names.back(), QString::number(kLongList - 1));
    EXPECT_EQ(last.details.back(), QStringLiteral("News \u00b7 Big"));

    feed.Start(built, {ChannelKey{1}}, keep); // the long list again, then replaced while made
    playlists[0].channels.resize(2);
    feed.Start(built, {ChannelKey{1}}, keep);
    EXPECT_FALSE(feed.IsBusy());
    for (int turn = 0; turn < 3; ++turn) // where a slice of the replaced list would run
        QCoreApplication::processEvents();
    EXPECT_EQ(deliveries, 2);
    EXPECT_EQ(last.names, QStringList({"Built-in", "0", "1"}));
}
