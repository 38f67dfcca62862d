// Hidden and locked places of the viewer's own playlists: what the tree, the search, zapping
// and the guide window show of them; the PIN and its wrong tries; Privacy.xml.

#include "ChannelTreeLayout.h"
#include "ChannelWindowFixture.h"
#include "PrivacyFile.h"
#include "TempDir.h"
#include "ViewerPrivacy.h"

#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QTreeWidgetItemIterator>

namespace {
const QString kPin = QStringLiteral("4711");

PlaylistChannel Channel(const char* name, const char* group)
{
    PlaylistChannel channel;
    channel.name = QString::fromUtf8(name);
    channel.group = QString::fromUtf8(group);
    channel.address = QStringLiteral("http://127.0.0.1:9/%1.ts").arg(channel.name);
    return channel;
}

QStringList Texts(const QTreeWidgetItem* node)
{
    QStringList texts;
    for (int k = 0; node != nullptr && k < node->childCount(); ++k)
        texts.append(node->child(k)->text(0));
    return texts;
}
} // namespace

class HiddenLockedTest : public ChannelWindowTest
{
protected:
    void SetUp() override
    {
        ChannelWindowTest::SetUp();
        Playlist list;
        list.name = QStringLiteral("Provider");
        list.channels = {Channel("News 1", "News"), Channel("News 2", "News"), Channel("Film 1", "Films")};
        playlists.push_back(list);
        privacy.Load(folder.FilePath(QStringLiteral("Privacy.xml")));
    }

    void Create()
    {
        CreateWindow();
        dlg->SetPrivacy(&privacy.Check(), [this] { ++asked; return pinGiven && privacy.Open(kPin) == PinLock::Answer::Right; });
        QObject::connect(&privacy, &ViewerPrivacy::Changed, dlg.get(), &ChannelWindow::ApplyPrivacy);
        zapper.SetLeaves([this](const ChannelKey& key) { return privacy.Check().Leaves(key); });
        dlg->RefillPlaylists();
    }

    QTreeWidgetItem* Node() const
    {
        QTreeWidgetItem* last = Tree()->topLevelItem(Tree()->topLevelItemCount() - 1);
        return last->text(0).startsWith(QStringLiteral("Provider")) ? last : nullptr;
    }
    QTreeWidgetItem* Group(const QString& name) const
    {
        for (int k = 0; Node() != nullptr && k < Node()->childCount(); ++k)
            if (Node()->child(k)->text(0) == name)
                return Node()->child(k);
        return nullptr;
    }
    int Found(const char* query)
    {
        auto* field = dlg->findChild<QLineEdit*>(QStringLiteral("searchField"));
        field->clear();
        QTest::keyClicks(field, query);
        return dlg->findChild<QListView*>(QStringLiteral("searchResults"))->model()->rowCount();
    }
    int GuideRows() const
    {
        int rows = 0;
        for (const GuideRowList& list : dlg->Tree().GuideLists({}).lists)
            rows += list.name.startsWith(QStringLiteral("Provider")) ? static_cast<int>(list.rows.size()) : 0;
        return rows;
    }

    TempDir folder;
    ViewerPrivacy privacy{playlists};
    int asked = 0;
    bool pinGiven = false;
};

TEST_F(HiddenLockedTest, HiddenAndLockedPlacesLeaveTheTreeSearchZappingAndTheGuideWindow)
{
    struct Case
    {
        const char* what;
        PrivacyPlace place;
        bool lock;
        QStringList groups; // under the playlist's node; empty: no node
        QStringList news;   // in the News group, opened
        int found;          // of "news"
        const char* zapReaches; // from News 1, empty: no zap
        int guideRows;
    };
    const Case cases[] = {
        {"a channel hidden", {"Provider", "News", "News 2"}, false, {"News", "Films"}, {"News 1"}, 1, "News 1", 2},
        {"a group hidden", {"Provider", "News", {}}, false, {"Films"}, {}, 0, "", 1},
        {"a playlist hidden", {"Provider", {}, {}}, false, {}, {}, 0, "", 0},
        {"a group locked", {"Provider", "News", {}}, true, {"News", "Films"}, {}, 0, "", 1},
        {"a channel locked", {"Provider", "News", "News 2"}, true, {"News", "Films"}, {"News 1", "News 2"}, 1, "News 1", 2},
    };
    const QString path = folder.FilePath(QStringLiteral("Privacy.xml"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(path);
        privacy.Load(path);
        Create();
        dlg->OpenSearch();
        ASSERT_EQ(Found("news"), 2);
        Node()->setExpanded(true);
        Group(QStringLiteral("News"))->setExpanded(true);
        Tree()->setCurrentItem(Group(QStringLiteral("News"))->child(0));
        Button(ID_CHANNEL_PLAY)->click();
        const int starts = mainWindow->Starts();
        // Marked while the window shows them, then read again with the locks shut, as at a
        // start: the tree follows each change at once.
        privacy.SetPin(kPin);
        c.lock ? privacy.Lock(c.place) : privacy.Hide(c.place);
        privacy.Load(path);
        EXPECT_EQ(Node() != nullptr ? Texts(Node()) : QStringList(), c.groups);
        if (QTreeWidgetItem* news = Group(QStringLiteral("News")); news != nullptr) {
            news->setExpanded(true); // a locked one asks, and stays shut without the PIN
            EXPECT_EQ(Texts(news), c.news);
        }
        EXPECT_EQ(Found("news"), c.found);
        zapper.Zap(+1, Started());
        EXPECT_EQ(mainWindow->Starts() > starts ? Started().name : QString(), QString::fromUtf8(c.zapReaches));
        EXPECT_EQ(GuideRows(), c.guideRows);
        EXPECT_EQ(asked, c.lock && c.place.channel.isEmpty() ? 1 : 0);
        asked = 0;
        dlg.reset();
    }
}

TEST_F(HiddenLockedTest, ShowHiddenGreysThemWhereUnhideUndoesItAndThePinOpensTheLocks)
{
    privacy.SetPin(kPin);
    privacy.Hide({"Provider", "News", {}});
    privacy.Lock({"Provider", "Films", {}});
    privacy.Load(folder.FilePath(QStringLiteral("Privacy.xml"))); // locks shut, as at a start
    Create();
    Node()->setExpanded(true);
    EXPECT_EQ(Texts(Node()), QStringList({"Films"}));
    privacy.SetShowHidden(true);
    ASSERT_EQ(Texts(Node()), QStringList({"News", "Films"}));
    const QColor greyed = Tree()->palette().color(QPalette::Disabled, QPalette::Text);
    EXPECT_EQ(Group(QStringLiteral("News"))->foreground(0).color(), greyed);
    EXPECT_NE(Group(QStringLiteral("Films"))->foreground(0).color(), greyed);
    privacy.Unhide({"Provider", "News", {}});
    EXPECT_NE(Group(QStringLiteral("News"))->foreground(0).color(), greyed);
    privacy.SetShowHidden(false);
    EXPECT_EQ(Texts(Node()), QStringList({"News", "Films"}));

    dlg->OpenSearch();
    EXPECT_EQ(Found("film"), 0);
    pinGiven = true;
    Group(QStringLiteral("Films"))->setExpanded(true);
    EXPECT_EQ(Texts(Group(QStringLiteral("Films"))), QStringList({"Film 1"}));
    EXPECT_EQ(Found("film"), 1) << "open for the rest of the run";
    EXPECT_FALSE(privacy.Check().Shut({0, 0, 2}));
}

// The built-in groups and channels hide and lock as the playlists' do, kept by section and
// position so that another language pack keeps them.
TEST_F(HiddenLockedTest, BuiltinGroupsAndChannelsHideAndLockLikeThePlaylistsOnes)
{
    const auto fixedNode = [this](int section) -> QTreeWidgetItem* {
        for (QTreeWidgetItemIterator it(Tree()); *it != nullptr; ++it)
            if ((*it)->data(0, FixedSectionRole) == section)
                return *it;
        return nullptr;
    };
    const auto guideHas = [this](ChannelId id) {
        for (const GuideRowList& list : dlg->Tree().GuideLists({}).lists)
            for (const GuideRow& row : list.rows)
                if (row.key == ChannelKey{id})
                    return true;
        return false;
    };
    constexpr int kGenre = 8;
    Create();
    const QString first = fixedNode(kGenre)->child(0)->text(0);
    const ChannelId second = fixedNode(kGenre)->child(1)->data(0, Qt::UserRole).toUInt();
    const QString third = fixedNode(kGenre)->child(2)->text(0);
    const int channels = fixedNode(kGenre)->childCount();
    dlg->OpenSearch();
    const int foundBefore = Found(first.toUtf8().constData());
    ASSERT_GT(foundBefore, 0);

    privacy.Hide(PrivacyPlace::Builtin(kGenre, ChannelPosition(second)));
    EXPECT_EQ(fixedNode(kGenre)->childCount(), channels - 1);
    EXPECT_FALSE(guideHas(second));
    EXPECT_EQ(fixedNode(kGenre)->child(1)->text(0), third);

    privacy.Hide(PrivacyPlace::Builtin(kGenre));
    EXPECT_EQ(fixedNode(kGenre), nullptr);
    EXPECT_LT(Found(first.toUtf8().constData()), foundBefore);
    EXPECT_FALSE(guideHas(MakeChannelId(kGenre, 0)));
    privacy.SetShowHidden(true);
    ASSERT_NE(fixedNode(kGenre), nullptr);
    EXPECT_EQ(fixedNode(kGenre)->foreground(0).color(), Tree()->palette().color(QPalette::Disabled, QPalette::Text));
    privacy.SetShowHidden(false);
    privacy.Unhide(PrivacyPlace::Builtin(kGenre));
    EXPECT_EQ(fixedNode(kGenre)->childCount(), channels - 1);

    privacy.SetPin(kPin);
    privacy.Lock(PrivacyPlace::Builtin(PrivacyPlace::kAllCountries));
    privacy.Load(folder.FilePath(QStringLiteral("Privacy.xml"))); // locks shut, as at a start
    QTreeWidgetItem* countries = fixedNode(PrivacyPlace::kAllCountries);
    EXPECT_EQ(countries->childCount(), 0);
    EXPECT_FALSE(guideHas(MakeChannelId(kFirstCountrySection, 0)));
    pinGiven = true;
    countries->setExpanded(true);
    QTRY_COMPARE(fixedNode(PrivacyPlace::kAllCountries)->childCount(), static_cast<int>(kCountryOrder.size()));
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(fixedNode(PrivacyPlace::kAllCountries)->isExpanded());

    const QByteArray bytes = folder.ReadFile(QStringLiteral("Privacy.xml"));
    EXPECT_TRUE(bytes.contains(QStringLiteral("<Hidden section=\"8\" position=\"%1\" />").arg(ChannelPosition(second)).toUtf8()))
        << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("<Locked section=\"countries\" />")) << bytes.toStdString();
}

// A refreshed or re-read playlist keeps what was hidden: the places go by the names the
// viewer sees, in a file of their own that holds no PIN in clear.
TEST(Privacy, MarksAreKeptByNameInTheirOwnFileWithThePinOnlyAsASaltedKey)
{
    TempDir folder;
    const QString path = folder.FilePath(QStringLiteral("Korvanta/Privacy.xml"));
    std::vector<Playlist> playlists(1);
    playlists[0].name = QStringLiteral("Provider");
    playlists[0].channels = {Channel("Night", "Adult XXX")};
    ViewerPrivacy privacy(playlists);
    privacy.Load(path);
    ASSERT_TRUE(privacy.SetPin(kPin));
    ASSERT_TRUE(privacy.Lock({"Provider", "Adult XXX", {}}));
    const QByteArray bytes = folder.ReadFile(QStringLiteral("Korvanta/Privacy.xml"));
    EXPECT_TRUE(bytes.contains("    <Locked playlist=\"Provider\" group=\"Adult XXX\" channel=\"\" />\r\n")) << bytes.toStdString();
    EXPECT_FALSE(bytes.contains(kPin.toUtf8()));
    EXPECT_EQ(QFile(path).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());

    playlists[0].channels = {Channel("Other night", "Adult XXX")}; // the playlist read again
    ViewerPrivacy again(playlists);
    again.Load(path);
    EXPECT_TRUE(again.Check().Shut({0, 0, 0}));
    EXPECT_EQ(again.Open(kPin), PinLock::Answer::Right);
    EXPECT_FALSE(again.Check().Shut({0, 0, 0}));
    EXPECT_NE(PinLock::DigestOf(kPin).salt, PinLock::DigestOf(kPin).salt) << "a salt of its own each time";

    folder.WriteFile(QStringLiteral("Korvanta/Privacy.xml"), "<Privacy><Hidden group=\"x\" /><Hidden section=\"99\" /><Hidden section=\"countries\" position=\"3\" />"
                      "<Locked section=\"4\" position=\"-2\" /><Pin key=\"zz\" /></Privacy>");
    again.Load(path);
    EXPECT_FALSE(again.Check().Any());
    EXPECT_FALSE(again.HasPin());
}

TEST(Privacy, FiveWrongPinsWaitAMinuteAndMalformedOnesAreWrong)
{
    std::chrono::steady_clock::time_point now{};
    PinLock lock([&now] { return now; });
    lock.SetDigest(PinLock::DigestOf(kPin));
    for (const char* typed : {"123", "123456789", "47a1", ""})
        EXPECT_FALSE(PinLock::IsWellFormed(QString::fromUtf8(typed))) << typed;
    EXPECT_EQ(lock.Try(kPin), PinLock::Answer::Right);
    for (int k = 0; k < PinLock::kTriesBeforeWait - 1; ++k)
        EXPECT_EQ(lock.Try(QStringLiteral("0000")), PinLock::Answer::Wrong);
    EXPECT_EQ(lock.Try(kPin), PinLock::Answer::Right) << "a right one starts the count again";
    for (int k = 0; k < PinLock::kTriesBeforeWait; ++k)
        EXPECT_EQ(lock.Try(QStringLiteral("0000")), PinLock::Answer::Wrong);
    EXPECT_EQ(lock.WaitLeft(), std::chrono::seconds(60));
    now += std::chrono::seconds(59);
    EXPECT_EQ(lock.Try(kPin), PinLock::Answer::Waiting) << "not even the right one";
    EXPECT_EQ(lock.WaitLeft(), std::chrono::seconds(1));
    now += std::chrono::seconds(1);
    EXPECT_EQ(lock.Try(kPin), PinLock::Answer::Right);
}

TEST(Privacy, GroupsWhoseNamesSayAdultAreOfferedLocked)
{
    Playlist playlist;
    for (const char* group : {"Sports", "XXX Movies", "ADULT", "Kids 18+", "xxx movies", "News"})
        playlist.channels.push_back(Channel("c", group));
    EXPECT_EQ(ViewerPrivacy::AdultGroups(playlist),
              QStringList({"XXX Movies", "ADULT", "Kids 18+", "xxx movies"}));
}
