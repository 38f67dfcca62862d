// The zoo's film, its time burned into every picture, played as the viewer plays films:
// where each way of jumping lands, where it resumes after an exit, when it counts as
// watched, the next episode's countdown, and a live channel beside it that stays live.

#include "ClockPicture.h"
#include "CommandId.h"
#include "FilmDatabase.h"
#include "FilmsTexts.h"
#include "MainWindowFixture.h"
#include "ZooServer.h"

#include <QProcess>
#include <QTest>

#include <cmath>
#include <functional>

#include <sys/prctl.h>

namespace {
constexpr int kPlayingWaitMs = 20000;
constexpr double kJumpTolerance = 2.5; // seconds: a jump lands on the key frame before it
constexpr int kCrashWaitMs = 60000;
constexpr double kCrashStart = 100; // where the killed player's film plays from
// Set for the player the crash test kills: its data folder.
const char* const kKilledDataVariable = "KORVANTA_FILM_KILLED_DATA";

// The place kept of the one film in a data folder; -1 for none.
double KeptPosition(const QString& dataFolder)
{
    FilmDatabase database;
    QString reason;
    if (!database.Open(dataFolder + QStringLiteral("/Korvanta/Films.sqlite"), &reason))
        return -1;
    const std::vector<FilmPlace> places = database.ReadAll();
    return places.empty() ? -1 : places.front().position;
}
} // namespace

class FilmPlayTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(zoo.Start()) << zoo.Error().toStdString();
        ASSERT_TRUE(Start());
    }

    ChannelRequest Entry(const QString& path, const QString& name) const
    {
        ChannelRequest request = RequestFor(zoo.Url(path));
        request.name = name;
        request.playlist = QStringLiteral("Zoo");
        return request;
    }

    bool PlaysAsFilm()
    {
        return QTest::qWaitFor([&] { return app->Films().Playing() && app->Playback().State().state == PLAYSTATE_PLAYING; },
                               kPlayingWaitMs);
    }

    // The second of the film on screen, as its picture says.
    double OnScreen() const
    {
        const std::optional<QImage> picture = EnginePicture(app->Player().EngineHandle());
        return picture ? double(ClockFrame(*picture)) / kClockRate : -1;
    }

    bool ShowsNear(double seconds)
    {
        return QTest::qWaitFor([&] { return std::abs(OnScreen() - seconds) < kJumpTolerance; }, kPlayingWaitMs);
    }

    ZooServer zoo;
};

TEST_F(FilmPlayTest, EveryWayOfJumpingLandsWhereItSaysAndPauseHoldsThePicture)
{
    StartChannel(Entry(QStringLiteral("/zoo/film.mp4"), QStringLiteral("Clock")));
    ASSERT_TRUE(PlaysAsFilm()) << app->Status().Text().toStdString();
    EXPECT_TRUE(Window().Position().isVisible());
    EXPECT_EQ(Window().Position().maximum(), 300);
    EXPECT_EQ(Window().Position().accessibleName(), QStringLiteral("Position"));

    struct Jump
    {
        const char* how;
        std::function<void()> jump;
        double to; // seconds from the start
    };
    const Jump jumps[] = {
        {"the bar's click", [&] { emit Window().Position().SeekRequested(100); }, 100},
        {"Right", [&] { app->Actions().Key(OnWindow, QKeyCombination(Qt::Key_Right)); }, 110},
        {"Shift+Right", [&] { app->Actions().Key(OnWindow, QKeyCombination(Qt::SHIFT, Qt::Key_Right)); }, 170},
        {"Left on the picture", [&] { app->Actions().Key(OnPicture, QKeyCombination(Qt::Key_Left)); }, 160},
        {"the desktop's SetPosition", [&] { app->Playback().SetPositionFromDesktop(200'000'000); }, 200},
        {"the desktop's Seek", [&] { app->Playback().SeekFromDesktop(-50'000'000); }, 150},
        {"Home", [&] { app->Actions().Key(OnWindow, QKeyCombination(Qt::Key_Home)); }, 0},
    };
    for (const Jump& jump : jumps) {
        jump.jump();
        EXPECT_TRUE(ShowsNear(jump.to)) << jump.how << ": " << OnScreen();
    }
    EXPECT_TRUE(app->Status().Text().contains(QStringLiteral(" / 5:00"))) << app->Status().Text().toStdString();

    QTest::keyClick(&Window(), Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->Films().Paused(); }, kPlayingWaitMs));
    const double held = OnScreen();
    QTest::qWait(1500);
    EXPECT_NEAR(OnScreen(), held, 0.1) << "paused, not stopped";
    EXPECT_EQ(app->Playback().State().state, PLAYSTATE_PLAYING);
}

TEST_F(FilmPlayTest, AFilmResumesAfterAnExitAndCountsAsWatchedNearItsEnd)
{
    const ChannelRequest film = Entry(QStringLiteral("/zoo/film.mp4"), QStringLiteral("Clock"));
    StartChannel(film);
    ASSERT_TRUE(PlaysAsFilm());
    app->Films().SeekTo(120);
    ASSERT_TRUE(ShowsNear(120));
    Close();

    app = std::make_unique<App>();
    ASSERT_TRUE(Start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->Places().IsLoaded(); }, kPlayingWaitMs));
    ASSERT_FALSE(app->Places().ToContinue().empty());
    StartChannel(film);
    ASSERT_TRUE(PlaysAsFilm());
    EXPECT_TRUE(ShowsNear(120 - 5)) << OnScreen();
    EXPECT_TRUE(app->Status().Text().contains(QStringLiteral("Resumed at"))) << app->Status().Text().toStdString();

    app->Films().SeekTo(280); // past 90 %
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->Places().Watched(FilmKeyOf(film)); }, kPlayingWaitMs));
    EXPECT_TRUE(app->Places().ToContinue().empty());
}

TEST_F(FilmPlayTest, AnEpisodesEndCountsDownToTheNextWhichEscapeCancels)
{
    config.WriteFile(QStringLiteral("show.m3u"), "#EXTM3U\n"
                                                 "#EXTINF:-1 group-title=\"Shows\",Clock Show S01E02\n" +
                                                     zoo.Url(QStringLiteral("/zoo/film.mp4?e=2")).toUtf8() +
                                                     "\n#EXTINF:-1 group-title=\"Shows\",Clock Show S01E01\n" +
                                                     zoo.Url(QStringLiteral("/zoo/film.mp4?e=1")).toUtf8() + "\n");
    app->AddPlaylists({config.FilePath(QStringLiteral("show.m3u"))});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !app->OwnPlaylists().Playlists().empty(); }, kPlayingWaitMs));
    const ChannelRequest first = app->Directory().RequestOf({0, 0, 1}, {});
    for (bool cancel : {true, false}) {
        StartChannel(first);
        ASSERT_TRUE(PlaysAsFilm());
        app->Films().SeekTo(297);
        ASSERT_TRUE(QTest::qWaitFor([&] { return app->Films().CountingDown(); }, kPlayingWaitMs));
        EXPECT_TRUE(app->Player().Caption().Card().contains(QStringLiteral("Next episode in")));
        if (cancel) {
            app->Actions().Key(OnPicture, QKeyCombination(Qt::Key_Escape));
            EXPECT_FALSE(app->Films().CountingDown());
            continue;
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return app->Playback().Current().name == QLatin1String("Clock Show S01E02"); },
                                    2 * FilmControls::kCountdownSeconds * 1000));
    }
}

TEST_F(FilmPlayTest, ALiveChannelNeverShowsTheBarAndKeepsItsLiveControls)
{
    StartChannel(Entry(QStringLiteral("/live.m3u8"), QStringLiteral("Live")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->Playback().State().state == PLAYSTATE_PLAYING; }, kPlayingWaitMs));
    QTest::qWait(2000); // long enough for a film to have been recognised
    EXPECT_FALSE(app->Films().Playing());
    EXPECT_FALSE(Window().Position().isVisible());
    app->Actions().Run(ID_PAUSE);
    EXPECT_TRUE(QTest::qWaitFor([&] { return app->Live().Paused(); }, kPlayingWaitMs)) << "the timeshift pause";
}

TEST_F(FilmPlayTest, AKilledPlayerLosesAtMostTheLastTenSeconds)
{
    if (qEnvironmentVariableIsSet(kKilledDataVariable))
        GTEST_SKIP() << "the player this test kills";
    QProcess killed;
    killed.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kKilledDataVariable), config.FilePath(QStringLiteral("killed")));
    killed.setProcessEnvironment(environment);
    killed.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    killed.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=FilmPlayTest.PlayUntilKilled")});
    // Once a periodic save went past the start, the player is killed where it plays then.
    double playing = -1;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        while (killed.canReadLine())
            playing = killed.readLine().trimmed().toDouble();
        return KeptPosition(config.FilePath(QStringLiteral("killed"))) > kCrashStart + 1;
    }, kCrashWaitMs));
    killed.kill();
    killed.waitForFinished();
    EXPECT_GE(KeptPosition(config.FilePath(QStringLiteral("killed"))),
              playing - FilmControls::kSaveEverySeconds - kJumpTolerance);
}

TEST_F(FilmPlayTest, PlayUntilKilled)
{
    if (!qEnvironmentVariableIsSet(kKilledDataVariable))
        GTEST_SKIP() << "the player the test above kills";
    app.reset();
    qputenv("XDG_DATA_HOME", qgetenv(kKilledDataVariable));
    ASSERT_TRUE(Start());
    StartChannel(Entry(QStringLiteral("/zoo/film.mp4"), QStringLiteral("Clock")));
    ASSERT_TRUE(PlaysAsFilm());
    app->Films().SeekTo(kCrashStart);
    for (;;) { // where it plays, for the killer to compare
        QTest::qWait(FilmControls::kTickMs);
        std::printf("%.1f\n", app->Films().Position());
        std::fflush(stdout);
    }
}

TEST_F(FilmPlayTest, AnHlsListThatEndsIsAFilmToo)
{
    StartChannel(Entry(QStringLiteral("/hls/clock/vod.m3u8"), QStringLiteral("Clock HLS")));
    ASSERT_TRUE(PlaysAsFilm()) << app->Status().Text().toStdString();
    EXPECT_NEAR(app->Films().Length(), 300, 1);
    app->Films().SeekTo(60);
    EXPECT_TRUE(ShowsNear(60)) << OnScreen();
}
