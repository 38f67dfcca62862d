// The player as a desktop citizen, on a private session bus: the screensaver is inhibited
// exactly while a channel plays (a stand-in service records the calls), and a real media
// controller client sees and steers the player.

#include "MainWindowFixture.h"

#include <QDBusInterface>
#include <QDBusReply>
#include <QProcess>
#include <QTest>

namespace {
constexpr int kWaitMs = 15000;
const QString kPattern = QStringLiteral("av://lavfi:testsrc=size=64x48:rate=10");
const QString kRefused = QStringLiteral("http://127.0.0.1:9/none.m3u8");
constexpr int kPlayForeverMs = 60000; // bounds the killed player's life if the test dies
const char* const kPlayForeverVariable = "KORVANTA_PLAY_FOREVER";
} // namespace

class DesktopTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        if (qEnvironmentVariableIsSet(kPlayForeverVariable))
            return; // the player another test kills: the bus is that test's
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

    void StartChannel(const QString& address)
    {
        dlg->StreamAddress() = address;
        dlg->ChannelName() = QStringLiteral("Test pattern");
        SendMessage(dlg.get(), UM_START_CHANNEL);
    }
    bool WaitForState(int state)
    {
        return QTest::qWaitFor([&] { return dlg->Player().PlayState() == state; }, kWaitMs);
    }
    bool WaitForInhibitions(uint count)
    {
        return QTest::qWaitFor([&] { return ActiveInhibitions() == count; }, kWaitMs);
    }

    QProcess standIn;
};

TEST_F(DesktopTest, TheScreenSaverIsInhibitedExactlyWhileAChannelPlays)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(ActiveInhibitions(), 0u);
    StartChannel(kPattern);
    ASSERT_TRUE(WaitForInhibitions(1));

    dlg->OnCommand(ID_PLAY_PAUSE); // stop
    ASSERT_TRUE(WaitForState(1));
    EXPECT_EQ(ActiveInhibitions(), 0u);
    dlg->OnCommand(ID_PLAY_PAUSE); // play again
    ASSERT_TRUE(WaitForInhibitions(1));

    StartChannel(kRefused); // a switch that never reaches playing
    EXPECT_TRUE(WaitForInhibitions(0));
    StartChannel(kPattern);
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
    StartChannel(kPattern);
    (void)QTest::qWaitFor([] { return false; }, kPlayForeverMs);
}

TEST_F(DesktopTest, AMediaControllerSeesAndSteersThePlayer)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(Playerctl({QStringLiteral("status")}), QStringLiteral("Stopped"));
    StartChannel(kPattern);
    ASSERT_TRUE(WaitForState(3));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Playerctl({QStringLiteral("status")}) == QStringLiteral("Playing"); }, kWaitMs));
    EXPECT_EQ(Playerctl({QStringLiteral("metadata"), QStringLiteral("xesam:title")}), QStringLiteral("Test pattern"));

    Playerctl({QStringLiteral("volume"), QStringLiteral("0.4")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return dlg->GetSettings().volume == 40; }, kWaitMs));
    EXPECT_EQ(dlg->PlayPanel().Volume(), 40);
    SendMessage(dlg.get(), UM_VOLUME, 0, 70); // the slider
    EXPECT_DOUBLE_EQ(Playerctl({QStringLiteral("volume")}).toDouble(), 0.7);

    Playerctl({QStringLiteral("pause")});
    EXPECT_FALSE(dlg->PlayPanel().IsPlaying());
    ASSERT_TRUE(WaitForState(1));
    EXPECT_EQ(Playerctl({QStringLiteral("status")}), QStringLiteral("Stopped"));
    Playerctl({QStringLiteral("play-pause")});
    EXPECT_TRUE(WaitForState(3));

    RunClient(QStringLiteral("dbus-send"), // the controller has no command for it
              {QStringLiteral("--session"), QStringLiteral("--type=method_call"),
               QStringLiteral("--dest=org.mpris.MediaPlayer2.korvanta"),
               QStringLiteral("/org/mpris/MediaPlayer2"), QStringLiteral("org.mpris.MediaPlayer2.Quit")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg->isVisible(); }, kWaitMs));
    dlg->OnDestroy();
    EXPECT_TRUE(config.ReadFile(QStringLiteral("Korvanta/Settings.xml")).contains("<VolumeSound id=\"70\" />"));
}
