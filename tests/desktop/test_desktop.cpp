// The player as a desktop citizen, on a private session bus: the screensaver is inhibited
// exactly while a channel plays (a stand-in service records the calls), and a real media
// controller client sees and steers the player.

#include "MainWindowFixture.h"
#include "GuideChannels.h"
#include "LogoFolder.h"
#include "TinyHttpServer.h"
#include "ZooServer.h"

#include <QBuffer>
#include <QDBusInterface>
#include <QDBusReply>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>

#include <xcb/screensaver.h>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <sys/prctl.h>

namespace {
constexpr int kWaitMs = 15000;
const QString kRefused = QStringLiteral("http://127.0.0.1:9/none.m3u8");
constexpr int kPlayForeverMs = 60000; // bounds the killed player's life if the test dies
const char* const kPlayForeverVariable = "KORVANTA_PLAY_FOREVER";
// Set for the player that runs on an X server of its own, without the screensaver service.
const char* const kBareXVariable = "KORVANTA_BARE_X";
constexpr std::chrono::milliseconds kShortResetPeriod{300};
constexpr int kChildMs = 120000;

constexpr int kPatternSeconds = 120; // outlasts every test that plays it

// Three own favourites that play without a network, all of one file.
QByteArray FavoritesOf(const QString& media)
{
    QByteArray bytes = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<Favorites>\r\n";
    for (const char* name : {"One", "Two", "Three"})
        bytes += "    <Channel name=\"" + QByteArray(name) + "\" id=\"0\" icon=\"0\" address=\"" + media.toUtf8() + "\" />\r\n";
    return bytes + "</Favorites>\r\n";
}

// Helper processes die with the test, also when it crashes.
void DieWithParent(QProcess& process)
{
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

// Milliseconds since the X server last saw input, which a screensaver reset counts as.
qint64 XIdleMs()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const std::unique_ptr<xcb_screensaver_query_info_reply_t, decltype(&std::free)> info(
        xcb_screensaver_query_info_reply(connection, xcb_screensaver_query_info(connection, root), nullptr),
        &std::free);
    return info ? info->ms_since_user_input : -1;
}
} // namespace

class DesktopTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(MakePattern());
        if (qEnvironmentVariableIsSet(kPlayForeverVariable) || qEnvironmentVariableIsSet(kBareXVariable))
            return; // the player of another test: the bus is that test's
        // The system interpreter, which has the D-Bus bindings scripts/setup.sh installs.
        standIn.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(KORVANTA_SOURCE_DIR "/tests/desktop/screensaver_standin.py")});
        ASSERT_TRUE(standIn.waitForReadyRead(kWaitMs));
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        standIn.kill();
        standIn.waitForFinished();
    }

    QDBusInterface ScreenSaver() const
    {
        return {QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
                QStringLiteral("org.freedesktop.ScreenSaver")};
    }
    uint ActiveInhibitions() const { return QDBusReply<uint>(ScreenSaver().call(QStringLiteral("Active"))).value(); }
    QStringList Calls() const { return QDBusReply<QStringList>(ScreenSaver().call(QStringLiteral("Calls"))).value(); }

    // Runs a bus client while the event loop keeps serving the bus; its output.
    static QString RunClient(const QString& program, const QStringList& args)
    {
        QProcess client;
        client.start(program, args);
        EXPECT_TRUE(QTest::qWaitFor([&] { return client.state() == QProcess::NotRunning; }, kWaitMs));
        return QString::fromUtf8(client.readAllStandardOutput()).trimmed();
    }
    static QString Playerctl(const QStringList& args)
    {
        return RunClient(QStringLiteral("playerctl"), QStringList{QStringLiteral("-p"), QStringLiteral("korvanta")} + args);
    }

    bool WaitForState(int state)
    {
        return QTest::qWaitFor([&] { return app->Player().PlayState() == state; }, kWaitMs);
    }
    bool WaitForInhibitions(uint count)
    {
        return QTest::qWaitFor([&] { return ActiveInhibitions() == count; }, kWaitMs);
    }

    // A test pattern in a local file: channels of other schemes are refused.
    bool MakePattern()
    {
        pattern = config.FilePath(QStringLiteral("pattern.ts"));
        return QProcess::execute(QStringLiteral("ffmpeg"),
                                 {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=64x48:rate=10",
                                  "-t", QString::number(kPatternSeconds), pattern}) == 0;
    }

    QProcess standIn;
    QString pattern;
};

TEST_F(DesktopTest, TheScreenSaverIsInhibitedExactlyWhileAChannelPlays)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(ActiveInhibitions(), 0u);
    StartChannel(pattern);
    ASSERT_TRUE(WaitForInhibitions(1));

    app->Playback().StopFromDesktop(); // the pattern is a file: Space would pause it
    ASSERT_TRUE(WaitForState(1));
    EXPECT_EQ(ActiveInhibitions(), 0u);
    app->Playback().PlayFromDesktop();
    ASSERT_TRUE(WaitForInhibitions(1));

    StartChannel(kRefused); // a switch that never reaches playing
    EXPECT_TRUE(WaitForInhibitions(0));
    ASSERT_TRUE(WaitForState(PLAYSTATE_READY)); // ended as unavailable before the next start
    StartChannel(pattern);
    ASSERT_TRUE(WaitForInhibitions(1));
    Close();
    EXPECT_EQ(ActiveInhibitions(), 0u);
    const QStringList pairs{QStringLiteral("Inhibit"), QStringLiteral("UnInhibit")};
    EXPECT_EQ(Calls(), pairs + pairs + pairs);
}

TEST_F(DesktopTest, AnInhibitionEndsWithAKilledProcess)
{
    QProcess killed; // a player in another process, killed while it plays
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kPlayForeverVariable), QStringLiteral("1"));
    killed.setProcessEnvironment(environment);
    killed.start(QStringLiteral(KORVANTA_BINARY_DIR "/tests/desktop/test_desktop"),
                 {QStringLiteral("--gtest_filter=DesktopTest.PlayForever")});
    ASSERT_TRUE(WaitForInhibitions(1));
    killed.kill();
    killed.waitForFinished();
    EXPECT_TRUE(WaitForInhibitions(0));
    EXPECT_EQ(Calls(), QStringList({QStringLiteral("Inhibit"), QStringLiteral("Dropped")}));
}

TEST_F(DesktopTest, PlayForever)
{
    if (!qEnvironmentVariableIsSet(kPlayForeverVariable))
        GTEST_SKIP() << "the player the test above kills";
    ASSERT_TRUE(Start());
    StartChannel(pattern);
    (void)QTest::qWaitFor([] { return false; }, kPlayForeverMs);
}

TEST_F(DesktopTest, AMediaControllerSeesAndSteersThePlayer)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(Playerctl({QStringLiteral("status")}), QStringLiteral("Stopped"));
    StartChannel(pattern);
    ASSERT_TRUE(WaitForState(3));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Playerctl({QStringLiteral("status")}) == QStringLiteral("Playing"); }, kWaitMs));
    EXPECT_EQ(Playerctl({QStringLiteral("metadata"), QStringLiteral("xesam:title")}), QStringLiteral("Test pattern"));
    EXPECT_EQ(Playerctl({QStringLiteral("metadata"), QStringLiteral("xesam:artist")}), QStringLiteral("Test pattern"));

    Playerctl({QStringLiteral("volume"), QStringLiteral("0.4")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return app->GetSettings().volume == 40; }, kWaitMs));
    EXPECT_EQ(Window().PlayPanel().Volume(), 40);
    emit Window().PlayPanel().VolumeRequested(70); // the slider
    EXPECT_DOUBLE_EQ(Playerctl({QStringLiteral("volume")}).toDouble(), 0.7);

    Playerctl({QStringLiteral("pause")});
    EXPECT_FALSE(Window().PlayPanel().IsPlaying());
    ASSERT_TRUE(WaitForState(1));
    EXPECT_EQ(Playerctl({QStringLiteral("status")}), QStringLiteral("Stopped"));
    Playerctl({QStringLiteral("play-pause")});
    EXPECT_TRUE(WaitForState(3));

    RunClient(QStringLiteral("dbus-send"), // the controller has no command for it
              {QStringLiteral("--session"), QStringLiteral("--type=method_call"),
               QStringLiteral("--dest=org.mpris.MediaPlayer2.korvanta"),
               QStringLiteral("/org/mpris/MediaPlayer2"), QStringLiteral("org.mpris.MediaPlayer2.Quit")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Window().isVisible(); }, kWaitMs));
    app->Shutdown();
    EXPECT_TRUE(config.ReadFile(QStringLiteral("Korvanta/Settings.xml")).contains("<VolumeSound id=\"70\" />"));
}

TEST_F(DesktopTest, AMediaControllerFollowsTheChangesAndZapsThroughTheList)
{
    WriteConfigFile("Favorites.xml", FavoritesOf(pattern));
    ASSERT_TRUE(Start());
    // Followers print the value at start, then only what the change signals bring.
    QProcess status;
    QProcess volume;
    for (auto [follower, property] : {std::pair{&status, "status"}, std::pair{&volume, "volume"}}) {
        DieWithParent(*follower);
        follower->start(QStringLiteral("playerctl"), {"-p", "korvanta", "--follow", property});
    }
    // Reads a follower's lines until one says what is wanted (numbers by value).
    const auto followed = [](QProcess& follower, const QString& wanted) {
        bool number = false;
        const double value = wanted.toDouble(&number);
        return QTest::qWaitFor([&] {
            while (follower.canReadLine()) {
                const QString line = QString::fromUtf8(follower.readLine()).trimmed();
                if (line == wanted || (number && qFuzzyCompare(line.toDouble(), value)))
                    return true;
            }
            return false;
        }, kWaitMs);
    };
    ASSERT_TRUE(followed(status, QStringLiteral("Stopped")));

    auto* favorites = app->Channels().findChild<QTreeWidget*>(QStringLiteral("favoritesList"));
    ASSERT_EQ(favorites->topLevelItemCount(), 3);
    emit favorites->itemDoubleClicked(favorites->topLevelItem(0), 0);
    EXPECT_TRUE(followed(status, QStringLiteral("Playing")));
    emit Window().PlayPanel().VolumeRequested(30);
    EXPECT_TRUE(followed(volume, QStringLiteral("0.3")));

    const std::pair<const char*, const char*> zaps[] = {{"next", "Two"}, {"next", "Three"}, {"next", "One"}, {"previous", "Three"}};
    for (const auto& [command, title] : zaps) {
        SCOPED_TRACE(command);
        Playerctl({QLatin1String(command)});
        EXPECT_TRUE(QTest::qWaitFor([&] { return app->Playback().State().request.name == QLatin1String(title); }, kWaitMs));
        EXPECT_EQ(Playerctl({QStringLiteral("metadata"), QStringLiteral("xesam:title")}), QLatin1String(title));
    }
    app->Playback().StopFromDesktop(); // the pattern is a file: Space would pause it
    EXPECT_TRUE(followed(status, QStringLiteral("Stopped")));
}

TEST_F(DesktopTest, AnOwnChannelWithAGuideGivesItsProgrammeAndLogo)
{
    ZooServer zoo;
    ASSERT_TRUE(zoo.Start()) << zoo.Error().toStdString();
    TinyHttpServer logoServer;
    QImage logo(32, 32, QImage::Format_RGB32);
    logo.fill(Qt::green);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    logo.save(&buffer, "PNG");
    logoServer.responses["/one.png"] = HttpResponse("200 OK", png);
    // The logo and the guide land in a cache folder of the test's own.
    const QByteArray previousCacheHome = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", config.FilePath(QStringLiteral("cache")).toUtf8());
    const auto restoreCacheHome = qScopeGuard([&] { qputenv("XDG_CACHE_HOME", previousCacheHome); });
    const QString list = config.FilePath(QStringLiteral("own.m3u"));
    config.WriteFile(QStringLiteral("own.m3u"), "#EXTM3U\n#EXTINF:-1 tvg-id=\"one.test\" tvg-logo=\"" +
                                                   logoServer.Url("/one.png").toUtf8() + "\",Own One\n" +
                                                   zoo.Url(QStringLiteral("/live.m3u8")).toUtf8() + "\n");
    WriteConfigFile("Playlists.xml", "<Playlists><Playlist name=\"own\" source=\"" + list.toUtf8() + "\" /></Playlists>");
    const auto stamp = [](qint64 seconds) {
        return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).toString(QStringLiteral("yyyyMMddHHmmss")).toUtf8() + " +0000";
    };
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    config.WriteFile(QStringLiteral("guide.xml"), "<tv><channel id=\"one.test\"><display-name>Own One</display-name></channel>"
                                                  "<programme start=\"" + stamp(now - 3600) + "\" stop=\"" + stamp(now + 3600) +
                                                  "\" channel=\"one.test\"><title>Evening news</title></programme></tv>");
    ASSERT_TRUE(Start());
    app->Guides().Add(config.FilePath(QStringLiteral("guide.xml")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->OwnPlaylists().Playlists().size() == 1; }, kWaitMs));
    // The guide is in before the channel starts, as at a start with a stored guide.
    const ChannelKey own{0, 0, 0};
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return app->Guides().NowAndNext(GuideChannelOf(own, {}, app->OwnPlaylists().Playlists()), now).now.has_value();
    }, kWaitMs));
    app->Playback().Start(app->Directory().ArchiveRequest(own, {}));
    ASSERT_TRUE(WaitForState(3));

    EXPECT_TRUE(QTest::qWaitFor([&] { return Playerctl({QStringLiteral("metadata"), QStringLiteral("xesam:title")}) == QStringLiteral("Evening news"); }, kWaitMs));
    EXPECT_EQ(Playerctl({QStringLiteral("metadata"), QStringLiteral("xesam:artist")}), QStringLiteral("Own One"));
    EXPECT_EQ(app->Status().Text(), QStringLiteral("Own One \u2013 Evening news"));
    QString art;
    EXPECT_TRUE(QTest::qWaitFor([&] {
        art = Playerctl({QStringLiteral("metadata"), QStringLiteral("mpris:artUrl")});
        return !art.isEmpty();
    }, kWaitMs));
    const QUrl artUrl(art);
    EXPECT_TRUE(artUrl.isLocalFile()) << art.toStdString();
    EXPECT_EQ(QImage(artUrl.toLocalFile()).height(), LogoFolder::kStoredHeight);
    EXPECT_EQ(logoServer.requests["/one.png"], 1);
}

TEST_F(DesktopTest, WhileTimeshiftingAMediaControllerPausesAndSeeks)
{
    ZooServer zoo;
    ASSERT_TRUE(zoo.Start());
    ASSERT_TRUE(Start());
    StartChannel(zoo.Url(QStringLiteral("/hls/clock/live.m3u8")), QStringLiteral("Clock"));
    ASSERT_TRUE(WaitForState(3));
    const auto seconds = [](const QStringList& args) { return Playerctl(args).toDouble(); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return seconds({QStringLiteral("metadata"), QStringLiteral("mpris:length")}) > 4e6; }, kWaitMs));

    Playerctl({QStringLiteral("pause")}); // reads on into the buffer
    EXPECT_TRUE(QTest::qWaitFor([&] { return Playerctl({QStringLiteral("status")}) == QStringLiteral("Paused"); }, kWaitMs));
    EXPECT_EQ(app->Player().PlayState(), 3);
    EXPECT_TRUE(WaitForInhibitions(0)) << "a paused picture holds the screen on";
    EXPECT_TRUE(QTest::qWaitFor([&] { return app->Status().Text().startsWith(QStringLiteral("Paused \u2212")); }, kWaitMs))
        << app->Status().Text().toStdString();
    const double paused = seconds({QStringLiteral("position")});
    Playerctl({QStringLiteral("position"), QStringLiteral("2-")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return seconds({QStringLiteral("position")}) < paused - 1; }, kWaitMs));

    Playerctl({QStringLiteral("play")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return Playerctl({QStringLiteral("status")}) == QStringLiteral("Playing"); }, kWaitMs));
    EXPECT_TRUE(WaitForInhibitions(1));
    EXPECT_TRUE(app->Status().Text().startsWith(QStringLiteral("Clock \u2212"))) << app->Status().Text().toStdString();
}

// Without the session's screensaver service, in a player on an X server of its own (the
// test's X server would see other tests' input).
TEST_F(DesktopTest, WithoutTheServiceTheXScreenSaverIsResetOnlyWhilePlaying)
{
    if (qEnvironmentVariableIsSet(kBareXVariable))
        GTEST_SKIP() << "the parent of the player below";
    standIn.kill();
    standIn.waitForFinished();
    QProcess xserver;
    DieWithParent(xserver);
    xserver.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "320x240x24"});
    ASSERT_TRUE(xserver.waitForReadyRead(kWaitMs)) << "Xvfb did not start";
    const QString display = QStringLiteral(":") + QString::fromLatin1(xserver.readLine()).trimmed();

    QProcess player;
    DieWithParent(player);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kBareXVariable), QStringLiteral("1"));
    environment.insert(QStringLiteral("DISPLAY"), display);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    player.setProcessEnvironment(environment);
    player.setProcessChannelMode(QProcess::MergedChannels);
    player.start(QStringLiteral(KORVANTA_BINARY_DIR "/tests/desktop/test_desktop"),
                 {QStringLiteral("--gtest_filter=DesktopTest.OnABareXServer")});
    ASSERT_TRUE(player.waitForFinished(kChildMs));
    const QByteArray output = player.readAll();
    EXPECT_EQ(player.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
    xserver.kill();
    xserver.waitForFinished();
}

TEST_F(DesktopTest, OnABareXServer)
{
    if (!qEnvironmentVariableIsSet(kBareXVariable))
        GTEST_SKIP() << "the player the test above runs";
    ASSERT_TRUE(Start());
    app->ScreenSaver().SetResetPeriod(kShortResetPeriod);
    const qint64 period = kShortResetPeriod.count();
    EXPECT_TRUE(QTest::qWaitFor([&] { return XIdleMs() > 3 * period; }, kWaitMs)) << "reset while stopped";

    StartChannel(pattern);
    ASSERT_TRUE(WaitForState(3));
    EXPECT_TRUE(QTest::qWaitFor([&] { return XIdleMs() < period; }, kWaitMs)) << "no reset at the start";
    EXPECT_FALSE(QTest::qWaitFor([&] { return XIdleMs() > 2 * period; }, 6 * period)) << "no reset on the period";

    app->Playback().StopFromDesktop(); // the pattern is a file: Space would pause it
    ASSERT_TRUE(WaitForState(1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return XIdleMs() > 3 * period; }, kWaitMs)) << "reset after stopping";
}
