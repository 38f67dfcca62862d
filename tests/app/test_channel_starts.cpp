// Every way a channel starts or starts again reaches the player with the whole request: a
// stream that answers only a given user agent together with a given referrer plays each time.

#include "MainWindowFixture.h"
#include "ZooServer.h"

#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include <functional>

namespace {
constexpr int kPlayingWaitMs = 15000;
const QByteArray kZooAgent = "KorvantaZoo/1.0";
const QByteArray kZooReferrer = "http://zoo.korvanta.test/";
} // namespace

class ChannelStartTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(zoo.Start()) << zoo.Error().toStdString();
        const QByteArray guarded = zoo.Url(QStringLiteral("/zoo/guarded.m3u8")).toUtf8();
        config.WriteFile(QStringLiteral("zoo.m3u"),
                         "#EXTM3U\n#EXTINF:-1 group-title=\"Zoo\",Guarded\n#EXTVLCOPT:http-user-agent=" + kZooAgent +
                             "\n#EXTVLCOPT:http-referrer=" + kZooReferrer + "\n" + guarded +
                             "\n#EXTINF:-1 group-title=\"Zoo\",Plain\n" + zoo.Url(QStringLiteral("/live.m3u8")).toUtf8() +
                             "\n");
        WriteConfigFile("Favorites.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<Favorites>\r\n"
                                         "    <Channel name=\"Guarded\" id=\"0\" icon=\"0\" address=\"" + guarded +
                                             "\" agent=\"" + kZooAgent + "\" referrer=\"" + kZooReferrer +
                                             "\" />\r\n</Favorites>\r\n");
        ASSERT_TRUE(Start());
        Window().activateWindow(); // for the Space key
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
        // Handed over as a second start's command line would hand it.
        app->AddPlaylists({config.FilePath(QStringLiteral("zoo.m3u"))});
        ASSERT_TRUE(QTest::qWaitFor([&] { return Tree()->topLevelItemCount() > 0 && GroupNode() != nullptr; }, 10000));
    }

    QTreeWidget* Tree() const { return app->Channels().findChild<QTreeWidget*>(QStringLiteral("channelTree")); }

    QTreeWidgetItem* GroupNode() const
    {
        QTreeWidgetItem* playlist = Tree()->topLevelItem(Tree()->topLevelItemCount() - 1);
        playlist->setExpanded(true);
        const bool filled = playlist->text(0).startsWith(QLatin1String("zoo")) && playlist->childCount() > 0;
        return filled ? playlist->child(0) : nullptr;
    }

    void PlayFromTree(const QString& name)
    {
        QTreeWidgetItem* group = GroupNode();
        group->setExpanded(true);
        for (int k = 0; k < group->childCount(); ++k) {
            if (group->child(k)->text(0) == name) {
                Tree()->setCurrentItem(group->child(k));
                emit Tree()->itemDoubleClicked(group->child(k), 0);
            }
        }
    }

    void PlayFromFavourites()
    {
        auto* favorites = app->Channels().findChild<QTreeWidget*>(QStringLiteral("favoritesList"));
        emit favorites->itemDoubleClicked(favorites->topLevelItem(0), 0);
    }

    void PlayFromSearch()
    {
        app->Channels().OpenSearch();
        auto* field = app->Channels().findChild<QLineEdit*>(QStringLiteral("searchField"));
        field->setText(QStringLiteral("Guarded"));
        QTest::keyClick(field, Qt::Key_Return); // on the first result
    }

    void PressPlayButton()
    {
        CPanelPlay& panel = Window().PlayPanel();
        QTest::mouseClick(&panel, Qt::LeftButton, {}, panel.Part(CPanelPlay::PlayPart).rect.center());
    }

    bool Becomes(PlayStateCode state, const QString& name)
    {
        return QTest::qWaitFor([&] { return app->Playback().State().state == state && app->Playback().State().request.name == name; },
                               kPlayingWaitMs);
    }

    ZooServer zoo;
};

TEST_F(ChannelStartTest, EveryWayOfStartingAndRestartingSendsTheChannelsHeaders)
{
    struct Way
    {
        const char* name;
        std::function<void()> before; // what leads up to the start
        PlayStateCode settled;        // and the state it leaves, of the channel Plain or Guarded
        std::function<void()> start;
    };
    const auto space = [&] { QTest::keyClick(&Window(), Qt::Key_Space); };
    const QString guarded = QStringLiteral("Guarded");
    const Way table[] = {
        {"tree, of a playlist from the command line", {}, {}, [&] { PlayFromTree(QStringLiteral("Guarded")); }},
        {"favourites", {}, {}, [&] { PlayFromFavourites(); }},
        {"search", {}, {}, [&] { PlayFromSearch(); }},
        {"zapping", [&] { PlayFromTree(QStringLiteral("Plain")); }, PLAYSTATE_PLAYING, [&] { app->Playback().Zap(+1); }},
        {"panel button after stop", [&] { PressPlayButton(); }, PLAYSTATE_STOPPED, [&] { PressPlayButton(); }},
        {"Space after stop", space, PLAYSTATE_STOPPED, space},
        {"the desktop's Play after Stop", [&] { app->Playback().StopFromDesktop(); }, PLAYSTATE_STOPPED,
         [&] { app->Playback().PlayFromDesktop(); }},
    };
    for (const Way& way : table) {
        SCOPED_TRACE(way.name);
        if (way.before) {
            way.before();
            ASSERT_TRUE(Becomes(way.settled, way.settled == PLAYSTATE_PLAYING ? QStringLiteral("Plain") : guarded));
        }
        way.start();
        EXPECT_TRUE(Becomes(PLAYSTATE_PLAYING, guarded)) << app->Status().Text().toStdString();
    }
}
