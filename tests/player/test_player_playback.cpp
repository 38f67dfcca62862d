// The player on real media without video output: play-state sequences against the local
// HLS server, volume, mute and size read back from the engine, and teardown.

#include "CWMPWindow.h"
#include "ZooServer.h"
#include "PlayStateModel.h"
#include "PlayerEventRecorder.h"

#include <mpv/client.h>

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <algorithm>

namespace {
// Short enough that giving up fits in a test, long enough for the server to come back.
PlayerTimings FastTimings()
{
    PlayerTimings t;
    t.networkTimeoutSeconds = 5;
    t.stallMs = 4000;
    t.firstRetryMs = 300;
    t.maxRetryMs = 600;
    t.maxAttempts = 4;
    return t;
}

QString Property(CWMPWindow& player, const char* name)
{
    char* value = mpv_get_property_string(player.EngineHandle(), name);
    const QString text = QString::fromUtf8(value);
    mpv_free(value);
    return text;
}

class PlayerPlayback : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.Start());
        ASSERT_TRUE(player.Create(&window));
        window.Listen(player.Events());
    }

    bool WaitForState(int state, int timeoutMs = 15000)
    {
        return WaitFor([&] { return window.LastState() == state; }, timeoutMs);
    }

    ZooServer server;
    PlayerEventRecorder window;
    CWMPWindow player{FastTimings()};
};
} // namespace

TEST_F(PlayerPlayback, LiveStreamGoesFromTransitioningThroughBufferingToPlaying)
{
    player.PlayURL(RequestFor(server.Url("/live.m3u8")));
    EXPECT_EQ(window.States(), std::vector<int>{PLAYSTATE_TRANSITIONING});
    ASSERT_TRUE(WaitForState(PLAYSTATE_PLAYING));
    EXPECT_EQ(player.PlayState(), PLAYSTATE_PLAYING);
    const auto states = window.States();
    const std::vector<int> expected{PLAYSTATE_TRANSITIONING, PLAYSTATE_BUFFERING, PLAYSTATE_PLAYING};
    EXPECT_EQ(std::vector<int>(states.begin(), states.begin() + 3), expected);
    EXPECT_EQ(Property(player, "current-vo"), QStringLiteral("null")); // no video here
}

TEST_F(PlayerPlayback, SlowServerReportsBufferingWithRisingProgress)
{
    player.PlayURL(RequestFor(server.Url("/live.m3u8")));
    ASSERT_TRUE(WaitForState(PLAYSTATE_PLAYING));
    // Half the stream's own rate: the cache runs dry and refills slowly.
    ASSERT_TRUE(server.Control("rate=20000"));
    window.Clear();
    std::vector<int> progress;
    ASSERT_TRUE(WaitFor([&] {
        if (player.PlayState() == PLAYSTATE_BUFFERING &&
            (progress.empty() || progress.back() != player.BufferingProgress()))
            progress.push_back(player.BufferingProgress());
        return window.Saw(PLAYSTATE_BUFFERING) && player.PlayState() == PLAYSTATE_PLAYING;
    }, 30000));
    ASSERT_GE(progress.size(), 2u);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_GT(progress.back(), progress.front());
    EXPECT_FALSE(window.Saw(PLAYSTATE_RECONNECTING));
}

TEST_F(PlayerPlayback, HeadersGoWithTheirRequestAlone)
{
    // Answers every request with 404 and keeps its header lines.
    QTcpServer logger;
    ASSERT_TRUE(logger.listen(QHostAddress::LocalHost));
    QList<QByteArray> requests;
    QObject::connect(&logger, &QTcpServer::newConnection, [&] {
        QTcpSocket* socket = logger.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, &requests] {
            if (!socket->peek(socket->bytesAvailable()).contains("\r\n\r\n"))
                return;
            requests.append(socket->readAll());
            socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            socket->disconnectFromHost();
        });
    });
    const QString url = QStringLiteral("http://127.0.0.1:%1/own.m3u8").arg(logger.serverPort());

    player.PlayURL(RequestFor(url, {QStringLiteral("Agent/2, with=comma"), QStringLiteral("http://ref.example/a?b=1,2")}));
    ASSERT_TRUE(WaitForState(PLAYSTATE_READY));
    ASSERT_FALSE(requests.isEmpty());
    EXPECT_TRUE(requests.first().contains("\r\nUser-Agent: Agent/2, with=comma\r\n")) << requests.first().data();
    EXPECT_TRUE(requests.first().contains("\r\nReferer: http://ref.example/a?b=1,2\r\n"));

    // Played again, as after a stop, the request goes with its headers once more.
    window.Clear();
    qsizetype before = requests.size();
    player.Play();
    ASSERT_TRUE(WaitForState(PLAYSTATE_READY));
    ASSERT_GT(requests.size(), before);
    EXPECT_TRUE(requests.last().contains("\r\nUser-Agent: Agent/2, with=comma\r\n")) << requests.last().data();

    window.Clear();
    before = requests.size();
    player.PlayURL(RequestFor(url));
    ASSERT_TRUE(WaitForState(PLAYSTATE_READY));
    ASSERT_GT(requests.size(), before);
    EXPECT_FALSE(requests.last().contains("Agent/2")) << requests.last().data();
    EXPECT_FALSE(requests.last().contains("Referer"));
}

// A value that cannot go whole into a header line is never cut short: the load is
// refused, and the channel that played before stops rather than going on under the new
// channel's name.
TEST_F(PlayerPlayback, RefusedLoadStopsThePreviousChannel)
{
    const StreamHeaders unsendable[] = {
        {QStringLiteral("Agent") + QChar(0) + QStringLiteral("tail"), {}},
        {{}, QStringLiteral("http://ref.example/\r\nX-Injected: yes")},
    };
    for (const StreamHeaders& headers : unsendable) {
        player.PlayURL(RequestFor(server.Url("/live.m3u8")));
        ASSERT_TRUE(WaitForState(PLAYSTATE_PLAYING));
        window.Clear();
        player.PlayURL(RequestFor(server.Url("/zoo/master.m3u8"), headers));
        ASSERT_TRUE(WaitForState(PLAYSTATE_READY));
        EXPECT_EQ(window.States(), (std::vector<int>{PLAYSTATE_TRANSITIONING, PLAYSTATE_READY}));
        EXPECT_TRUE(WaitFor([&] { return Property(player, "idle-active") == QStringLiteral("yes"); }, 5000))
            << "the previous channel plays on";
    }
}

TEST_F(PlayerPlayback, AddressesThatCannotBeOpenedEndReady)
{
    for (const QString& url : {server.Url("/missing.m3u8"), QString(), QStringLiteral("nonsense://x")}) {
        window.Clear();
        player.PlayURL(RequestFor(url));
        ASSERT_TRUE(WaitForState(PLAYSTATE_READY)) << url.toStdString();
        EXPECT_EQ(window.States(), (std::vector<int>{PLAYSTATE_TRANSITIONING, PLAYSTATE_READY}));
    }
}

// A refusal and an unknown host name are final at once: neither is asked again until the
// open deadline, as a server that does not answer is.
TEST_F(PlayerPlayback, RefusedAndUnknownHostsAreUnavailableWithinASecond)
{
    constexpr qint64 kBoundMs = 1000;
    const std::pair<QString, UnavailableReason> table[] = {
        {ClosedPortUrl(QStringLiteral("/live.m3u8")), UnavailableReason::Refused},
        {UnresolvableUrl(QStringLiteral("/live.m3u8")), UnavailableReason::HostNotFound},
    };
    for (const auto& [url, reason] : table) {
        SCOPED_TRACE(url.toStdString());
        window.Clear();
        QElapsedTimer clock;
        clock.start();
        player.PlayURL(RequestFor(url));
        ASSERT_TRUE(WaitForState(PLAYSTATE_READY));
        EXPECT_LT(clock.elapsed(), kBoundMs);
        EXPECT_EQ(window.States(), (std::vector<int>{PLAYSTATE_TRANSITIONING, PLAYSTATE_READY}));
        EXPECT_EQ(window.LastReason(), reason);
    }
}

TEST_F(PlayerPlayback, StopIsReportedAtOnceAndPlayResumesTheSameAddress)
{
    player.PlayURL(RequestFor(server.Url("/live.m3u8")));
    ASSERT_TRUE(WaitForState(PLAYSTATE_PLAYING));
    window.Clear();
    player.Stop();
    EXPECT_EQ(window.States(), std::vector<int>{PLAYSTATE_STOPPED});
    // The end of the stopped entry that follows must not turn into another report.
    WaitFor([] { return false; }, 500);
    EXPECT_EQ(window.States(), std::vector<int>{PLAYSTATE_STOPPED});

    player.Play();
    ASSERT_TRUE(WaitForState(PLAYSTATE_PLAYING));
    EXPECT_EQ(window.States().at(1), PLAYSTATE_TRANSITIONING);
    EXPECT_TRUE(Property(player, "path").endsWith(QStringLiteral("/live.m3u8")));
}

TEST_F(PlayerPlayback, ChannelSwitchNeverShowsStopped)
{
    player.PlayURL(RequestFor(server.Url("/live.m3u8")));
    ASSERT_TRUE(WaitForState(PLAYSTATE_PLAYING));
    player.PlayURL(RequestFor(server.Url("/vod.m3u8")));
    player.PlayURL(RequestFor(server.Url("/live.m3u8")));
    ASSERT_TRUE(WaitForState(PLAYSTATE_PLAYING));
    WaitFor([] { return false; }, 500);
    EXPECT_FALSE(window.Saw(PLAYSTATE_STOPPED));
    EXPECT_FALSE(window.Saw(PLAYSTATE_READY));
    EXPECT_EQ(window.LastState(), PLAYSTATE_PLAYING);
}

TEST_F(PlayerPlayback, FiniteStreamEndsWithMediaEnded)
{
    player.PlayURL(RequestFor(server.Url("/vod.m3u8")));
    ASSERT_TRUE(WaitForState(PLAYSTATE_MEDIA_ENDED, 20000));
    EXPECT_TRUE(window.Saw(PLAYSTATE_PLAYING));
    EXPECT_FALSE(window.Saw(PLAYSTATE_RECONNECTING));
}

TEST_F(PlayerPlayback, ServerKilledAndRestartedIsReconnected)
{
    player.PlayURL(RequestFor(server.Url("/live.m3u8")));
    ASSERT_TRUE(WaitForState(PLAYSTATE_PLAYING));
    server.Kill();
    ASSERT_TRUE(WaitForState(PLAYSTATE_RECONNECTING, 30000));
    ASSERT_TRUE(server.Start());
    ASSERT_TRUE(WaitForState(PLAYSTATE_PLAYING, 30000));
    EXPECT_FALSE(window.Saw(PLAYSTATE_READY));
    EXPECT_FALSE(window.Saw(PLAYSTATE_STOPPED));
}

TEST_F(PlayerPlayback, ServerKilledForGoodGivesUpWithReady)
{
    player.PlayURL(RequestFor(server.Url("/live.m3u8")));
    ASSERT_TRUE(WaitForState(PLAYSTATE_PLAYING));
    server.Kill();
    ASSERT_TRUE(WaitForState(PLAYSTATE_RECONNECTING, 30000));
    ASSERT_TRUE(WaitForState(PLAYSTATE_READY, 30000));
    const auto states = window.States();
    const auto lost = std::find(states.begin(), states.end(), PLAYSTATE_RECONNECTING);
    EXPECT_EQ(std::vector<int>(lost, states.end()),
              (std::vector<int>{PLAYSTATE_RECONNECTING, PLAYSTATE_READY}));
    EXPECT_EQ(window.LastReason(), UnavailableReason::Refused); // the port is closed now
}

TEST_F(PlayerPlayback, StalledLiveStreamIsReopened)
{
    player.PlayURL(RequestFor(server.Url("/live.m3u8")));
    ASSERT_TRUE(WaitForState(PLAYSTATE_PLAYING));
    ASSERT_TRUE(server.Control("delay=30"));
    ASSERT_TRUE(WaitForState(PLAYSTATE_RECONNECTING, 30000));
    ASSERT_TRUE(server.Control("delay=0"));
    ASSERT_TRUE(WaitForState(PLAYSTATE_PLAYING, 30000));
}

TEST_F(PlayerPlayback, VolumeMuteAndSizeReachTheEngine)
{
    // Written asynchronously: each value is read back once the engine has taken it.
    const auto becomes = [this](const char* name, const QString& value) {
        return WaitFor([&] { return Property(player, name) == value; }, 5000);
    };
    const auto volumeBecomes = [this](double volume) {
        return WaitFor([&] { return Property(player, "volume").toDouble() == volume; }, 5000);
    };
    player.storedVolume = 40;
    player.SetVolume(40);
    EXPECT_TRUE(volumeBecomes(40.0));
    player.SetMute(true);
    EXPECT_TRUE(volumeBecomes(0.0));
    EXPECT_EQ(Property(player, "mute"), QStringLiteral("no")); // never the engine's mute
    player.SetMute(false);
    EXPECT_TRUE(volumeBecomes(40.0));
    player.storedVolume = 0;
    player.SetMute(false);
    EXPECT_TRUE(volumeBecomes(0.0));
    player.SetVolume(250);
    EXPECT_TRUE(volumeBecomes(100.0));

    player.SetOriginalSize(true);
    EXPECT_TRUE(becomes("video-unscaled", QStringLiteral("downscale-big")));
    player.SetOriginalSize(false);
    EXPECT_TRUE(becomes("video-unscaled", QStringLiteral("no")));
    EXPECT_EQ(Property(player, "keepaspect"), QStringLiteral("yes"));
}

TEST_F(PlayerPlayback, CloseTwiceAndDestroyingAPlayingPlayerAreSafe)
{
    player.PlayURL(RequestFor(server.Url("/live.m3u8")));
    ASSERT_TRUE(WaitForState(PLAYSTATE_PLAYING));
    player.Close();
    player.Close();
    EXPECT_EQ(player.EngineHandle(), nullptr);
    player.PlayURL(RequestFor(server.Url("/live.m3u8"))); // after Close: nothing happens, nothing breaks
    player.SetVolume(10);
    player.SetFullScreen(true);
    EXPECT_FALSE(player.IsFullScreen());

    auto other = std::make_unique<CWMPWindow>();
    other->Close(); // before Create
    ASSERT_TRUE(other->Create(&window));
    other->PlayURL(RequestFor(server.Url("/live.m3u8")));
    ASSERT_TRUE(WaitFor([&] { return other->PlayState() == PLAYSTATE_PLAYING; }, 15000));
    other.reset();
}

TEST_F(PlayerPlayback, ChildWidgetsDestroyedBeforeThePlayer)
{
    player.PlayURL(RequestFor(server.Url("/live.m3u8")));
    ASSERT_TRUE(WaitForState(PLAYSTATE_PLAYING));
    delete player.VideoWidget();
    EXPECT_EQ(player.VideoWidget(), nullptr);
    EXPECT_EQ(player.EngineHandle(), nullptr);
}
