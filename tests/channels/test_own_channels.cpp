// The viewer's own playlists in the channel window: their nodes, playing, favourites,
// zapping and finding their channels.

#include "BuiltinTexts.h"
#include "ChannelItemDelegate.h"
#include "ChannelTreeLayout.h"
#include "ChannelWindowFixture.h"
#include "GuideTree.h"
#include "PlaylistTexts.h"
#include "PlaylistTree.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {
PlaylistChannel Channel(const char* name, const char* group, const char* agent = "", const char* number = "")
{
    PlaylistChannel channel;
    channel.name = QString::fromUtf8(name);
    channel.group = QString::fromUtf8(group);
    channel.number = QString::fromUtf8(number);
    channel.address = QStringLiteral("http://127.0.0.1:9/%1.m3u8").arg(channel.name);
    channel.userAgent = QString::fromUtf8(agent);
    return channel;
}
} // namespace

class OwnChannelsTest : public ChannelWindowTest
{
protected:
    void SetUp() override
    {
        ChannelWindowTest::SetUp();
        Playlist list;
        list.name = QStringLiteral("My list");
        list.channels = {Channel("Loose A", ""), Channel("News 1", "News", "Agent/1"), Channel("Film 1", "Films"),
                         Channel("News 2", "News"), Channel("Loose B", "")};
        playlists.push_back(list);
    }

    QTreeWidgetItem* PlaylistNode() const { return Tree()->topLevelItem(Tree()->topLevelItemCount() - 1); }

    static QStringList Texts(const QTreeWidgetItem* node)
    {
        QStringList texts;
        for (int k = 0; k < node->childCount(); ++k)
            texts.append(node->child(k)->text(0));
        return texts;
    }

    void Play(QTreeWidgetItem* item)
    {
        Tree()->setCurrentItem(item);
        Button(ID_CHANNEL_PLAY)->click();
    }
};

TEST_F(OwnChannelsTest, APlaylistFollowsTheFixedGroupsAndFillsItsNodesWhenOpened)
{
    CreateWindow();
    ASSERT_EQ(Tree()->topLevelItemCount(), 12);
    QTreeWidgetItem* node = PlaylistNode();
    EXPECT_EQ(node->text(0), "My list (5)"); // with its channel count
    EXPECT_EQ(node->childCount(), 0); // nothing made before it is opened
    node->setExpanded(true);
    EXPECT_EQ(Texts(node), QStringList({"News", "Films", "Loose A", "Loose B"}));
    node->child(0)->setExpanded(true);
    EXPECT_EQ(Texts(node->child(0)), QStringList({"News 1", "News 2"}));

    Tree()->setCurrentItem(node->child(0)->child(0));
    EXPECT_EQ(Description()->toPlainText(), "Group: News\nPlaylist: My list\nServer: 127.0.0.1");
    EXPECT_TRUE(Button(ID_CHANNEL_PLAY)->isEnabled());
}

// A long list of channels of no group is shown a page at a time, each page made when opened;
// what plays from it and the guide window know the whole list, as they know groups never
// opened.
TEST_F(OwnChannelsTest, ALongUngroupedListIsShownInPagesAndKnownWholeMeanwhile)
{
    constexpr int kLong = 15000;
    strings[Readers] = BuiltinTexts(Readers);
    Playlist big;
    big.name = QStringLiteral("Index");
    for (int k = 0; k < kLong; ++k)
        big.channels.push_back(Channel(QStringLiteral("Channel %1").arg(k).toUtf8().constData(), ""));
    playlists.push_back(big);
    CreateWindow();
    QTreeWidgetItem* node = PlaylistNode();
    node->setExpanded(true);
    ASSERT_EQ(node->childCount(), kLong / 1000);
    EXPECT_EQ(node->child(14)->text(0), QStringLiteral("Channels 14001\u201315000"));
    EXPECT_EQ(node->child(14)->childCount(), 0);
    node->child(0)->setExpanded(true);
    ASSERT_EQ(node->child(0)->childCount(), 1000);
    Play(node->child(0)->child(1));
    EXPECT_EQ(Started().name, "Channel 1");
    zapper.Zap(-2, Started());
    EXPECT_EQ(Started().name, QStringLiteral("Channel %1").arg(kLong - 1)); // on a page not opened

    const GuideListing listing = dlg->Tree().GuideLists(Started());
    QStringList names;
    for (const GuideRowList& list : listing.lists)
        names.append(list.name);
    EXPECT_TRUE(names.contains("My list (5) / News")) << names.join('|').toStdString(); // never opened
    ASSERT_EQ(names.filter(QStringLiteral("Index (")).size(), 1);
    EXPECT_EQ(listing.lists[static_cast<std::size_t>(listing.current)].name, names.filter(QStringLiteral("Index (")).first());
    EXPECT_EQ(listing.row, kLong - 1);
}

TEST_F(OwnChannelsTest, AnOwnChannelPlaysWithItsHeadersAndZapsWithinItsGroup)
{
    CreateWindow();
    PlaylistNode()->setExpanded(true);
    PlaylistNode()->child(0)->setExpanded(true);
    Play(PlaylistNode()->child(0)->child(0));
    EXPECT_EQ(mainWindow->Starts(), 1);
    EXPECT_EQ(Started().name, "News 1");
    EXPECT_EQ(Started().address, "http://127.0.0.1:9/News 1.m3u8");
    EXPECT_EQ(Started().headers.userAgent, "Agent/1");
    EXPECT_EQ(Started().playlist, "My list");
    EXPECT_EQ(Started().group, "News");
    EXPECT_EQ(Started().origin, (ChannelOrigin{ChannelOrigin::List::TreeGroup, "News", 0}));

    zapper.Zap(+1, Started());
    EXPECT_EQ(Started().name, "News 2");
    EXPECT_TRUE(Started().headers.userAgent.isEmpty()); // the headers went with News 1 alone
    EXPECT_EQ(Started().origin.position, 1);
    zapper.Zap(+1, Started());
    EXPECT_EQ(Started().name, "News 1");

    StartFromTree(MakeChannelId(4, 0));
    EXPECT_FALSE(Started().IsOwn());
    EXPECT_TRUE(Started().headers.userAgent.isEmpty());
}

TEST_F(OwnChannelsTest, OwnFavoritesKeepTheirStreamAndPlayAfterThePlaylistIsGone)
{
    CreateWindow();
    PlaylistNode()->setExpanded(true);
    Play(PlaylistNode()->child(2)); // Loose A
    Button(ID_FAVORITES_ADD)->click();
    StartFromTree(MakeChannelId(4, 0));
    Button(ID_FAVORITES_ADD)->click();
    Play(PlaylistNode()->child(3)); // Loose B
    Button(ID_FAVORITES_ADD)->click();
    Button(ID_FAVORITES_ADD)->click(); // once only, although its id is 0 as well
    EXPECT_EQ(Saved().names, QStringList({"Loose A", "N4.0", "Loose B"}));
    EXPECT_EQ(Saved().ids, QList<quint32>({0, MakeChannelId(4, 0), 0}));
    EXPECT_EQ(Saved().icons[0], static_cast<quint32>(kChannelImage)); // a channel's, not a folder's
    ASSERT_EQ(Saved().streams.size(), 3);
    EXPECT_EQ(Saved().streams[0].playlist, "My list");
    EXPECT_TRUE(Saved().streams[1].IsEmpty());

    playlists.clear();
    dlg->RefillPlaylists();
    EXPECT_EQ(Tree()->topLevelItemCount(), 11);

    Tabs()->setCurrentIndex(1);
    List()->setCurrentItem(List()->topLevelItem(2));
    Button(ID_FAVORITES_UP)->click();
    EXPECT_EQ(Saved().streams[1].address, "http://127.0.0.1:9/Loose B.m3u8");
    EXPECT_EQ(Description()->toPlainText(), "Playlist: My list\nServer: 127.0.0.1");
    Button(ID_CHANNEL_PLAY)->click();
    EXPECT_EQ(Started().address, "http://127.0.0.1:9/Loose B.m3u8");
    zapper.Zap(+1, Started()); // the favourites in their order
    EXPECT_EQ(Started().name, "N4.0");
    Button(ID_FAVORITES_REMOVE)->click();
    EXPECT_EQ(Saved().streams.size(), 2);
    EXPECT_EQ(Saved().names, QStringList({"Loose A", "Loose B"}));
}

TEST_F(OwnChannelsTest, SearchFindsOwnChannelsAfterTheBuiltInOnes)
{
    CreateWindow();
    dlg->OpenSearch();
    auto* field = dlg->findChild<QLineEdit*>(QStringLiteral("searchField"));
    auto* results = dlg->findChild<QListView*>(QStringLiteral("searchResults"));
    QTest::keyClicks(field, "news");
    ASSERT_EQ(results->model()->rowCount(), 2);
    QTest::keyClick(field, Qt::Key_Down);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(Started().name, "News 2");
    zapper.Zap(+1, Started());
    EXPECT_EQ(Started().name, "News 1");
}

TEST_F(OwnChannelsTest, EachResultShowsItsGroupAndPlaylistAndTheHighlightFollowsZapping)
{
    playlists[0].channels.push_back(Channel("World News", "News", "", "24"));
    for (const char* provider : {"Provider B", "Provider C"}) {
        Playlist list;
        list.name = QString::fromUtf8(provider);
        list.channels = {Channel("World News", "", "", "24"), Channel("World News HD", "Info")};
        playlists.push_back(list);
    }
    CreateWindow();
    dlg->OpenSearch();
    auto* field = dlg->findChild<QLineEdit*>(QStringLiteral("searchField"));
    auto* results = dlg->findChild<QListView*>(QStringLiteral("searchResults"));
    const auto shown = [results] {
        QStringList rows;
        for (int row = 0; row < results->model()->rowCount(); ++row) {
            const QModelIndex index = results->model()->index(row, 0);
            rows.append(index.data().toString() + " | " + index.data(ChannelItemDelegate::DetailRole).toString());
        }
        return rows;
    };
    QTest::keyClicks(field, "world news");
    EXPECT_EQ(shown(), QStringList({"World News | 24 \u00b7 News \u00b7 My list", "World News | 24 \u00b7 Provider B",
                                    "World News | 24 \u00b7 Provider C", "World News HD | Info \u00b7 Provider B",
                                    "World News HD | Info \u00b7 Provider C"}));
    QTest::keyClick(field, Qt::Key_Down);
    QTest::keyClick(field, Qt::Key_Return);
    zapper.Zap(+1, Started());
    zapper.Zap(+1, Started());
    EXPECT_EQ(results->currentIndex().row(), 3); // the channel Page Down reached
    EXPECT_EQ(Started().playlist, "Provider B");

    auto* none = dlg->findChild<QLabel*>(QStringLiteral("noChannelFound"));
    EXPECT_FALSE(none->isVisible());
    field->setText(QStringLiteral("zzz"));
    EXPECT_TRUE(none->isVisible());
    EXPECT_EQ(none->text(), "No channel found");
}

TEST_F(OwnChannelsTest, OpenNodesAndTheSelectionOutliveAddRefreshAndRemoveAndANewListOpensSelected)
{
    playlists[0].source = QStringLiteral("/lists/mine.m3u");
    CreateWindow();
    PlaylistNode()->setExpanded(true);
    PlaylistNode()->child(0)->setExpanded(true);
    Tree()->setCurrentItem(PlaylistNode()->child(0)->child(1)); // News 2
    const auto kept = [this] {
        QTreeWidgetItem* mine = Tree()->topLevelItem(11);
        return mine->isExpanded() && mine->child(0)->isExpanded() && Tree()->currentItem() == mine->child(0)->child(1);
    };

    dlg->RefillPlaylists(); // a refresh
    EXPECT_TRUE(kept());

    Playlist added;
    added.name = QStringLiteral("Added");
    added.source = QStringLiteral("/lists/added.m3u");
    added.channels = {Channel("One", "")};
    playlists.push_back(added);
    dlg->RefillPlaylists();
    EXPECT_EQ(Tree()->currentItem(), PlaylistNode()); // the new one, opened
    EXPECT_TRUE(PlaylistNode()->isExpanded());
    EXPECT_TRUE(Tree()->topLevelItem(11)->child(0)->isExpanded());

    Tree()->setCurrentItem(Tree()->topLevelItem(11)->child(0)->child(1));
    playlists.pop_back(); // removed
    dlg->RefillPlaylists();
    EXPECT_TRUE(kept());

    // The guides' node, after the playlists', hides none of them.
    PlaylistTree nodes(Tree(), {});
    auto* guides = new QTreeWidgetItem();
    guides->setData(0, GuideTree::GuideRole, -1);
    Tree()->addTopLevelItem(guides);
    EXPECT_EQ(nodes.NodeOf(playlists[0].source), Tree()->topLevelItem(11));
}

// Removing a playlist asks first and counts the favourites that came from it, which stay;
// No keeps everything.
TEST_F(OwnChannelsTest, RemovingAPlaylistAsksFirstCountingItsFavourites)
{
    strings[Guidance] = BuiltinTexts(Guidance);
    strings[Locale] = BuiltinTexts(Locale);
    for (const char* name : {"News 1", "Film 1"}) {
        favorites.push_back({QString::fromUtf8(name), 0, 0, {Channel(name, "").address, {}, {}, QStringLiteral("My list"), {}}});
    }
    CreateWindow();
    QSignalSpy removed(&dlg->Tree(), &ChannelTree::RemovePlaylistRequested);
    const auto chooseRemove = [&] {
        QTimer::singleShot(0, [&] {
            (void)QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; });
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction* action : menu->actions()) {
                if (action->text() == strings.Text(Playlists, PlaylistRemoveMenu))
                    menu->setActiveAction(action);
            }
            QTest::keyClick(menu, Qt::Key_Return);
        });
        Tree()->setCurrentItem(PlaylistNode());
        QTest::keyClick(Tree(), Qt::Key_Menu);
    };
    boxes.AnswerYesNo(IDNO);
    chooseRemove();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Remove the playlist \"My list\"?\n2 favourites come from it; they are kept.");
    EXPECT_TRUE(removed.isEmpty());
    EXPECT_EQ(Tree()->topLevelItemCount(), 12);

    boxes.AnswerYesNo(IDYES);
    chooseRemove();
    EXPECT_EQ(removed.size(), 1);
    EXPECT_EQ(Saved().names.size(), 2);
}
