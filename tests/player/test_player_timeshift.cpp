// Live television on the viewer's time, on real streams without video output: the clock
// stream's pictures tell where it plays after a pause and steps; the disk cap holds;
// recordings are checked with ffprobe; sound and subtitle languages go on to the next
// channel.

#include "ClockPicture.h"
#include "EngineCache.h"
#include "MpvPlayer.h"
#include "TempDir.h"
#include "TimeshiftStore.h"
#include "ZooServer.h"

#include <mpv/client.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace std::chrono_literals;

namespace {

constexpr int kStartMs = 20000;

class LivePlayback : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(server.Start()); }

    void Play(const QString& path, LivePlaybackSetup setup = {})
    {
        setup.recordings = RecordingPlace(temp.FilePath(QStringLiteral("Videos")));
        player.SetUpLivePlayback(setup);
        ASSERT_TRUE(player.Create(false));
        player.SetStateSink([this](const PlayState& published) { state = published.state; });
        Switch(path);
    }

    void Switch(const QString& path)
    {
        player.Open(RequestFor(server.Url(path)));
        ASSERT_TRUE(WaitFor([this] { return state == PLAYSTATE_PLAYING && player.Shift().Available(); }, kStartMs));
    }

    int Frame()
    {
        const std::optional<QImage> picture = EnginePicture(player.Handle());
        return picture ? ClockFrame(*picture) : -1;
    }

    // Duration in seconds and the codecs of the streams, as ffprobe reads the file.
    static std::pair<double, QStringList> Probe(const QString& path)
    {
        QProcess probe;
        probe.start(QStringLiteral("ffprobe"), {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                                                QStringLiteral("format=duration:stream=codec_name"), QStringLiteral("-of"),
                                                QStringLiteral("json"), path});
        probe.waitForFinished();
        const QJsonObject found = QJsonDocument::fromJson(probe.readAllStandardOutput()).object();
        QStringList codecs;
        for (const QJsonValue& stream : found.value(QStringLiteral("streams")).toArray())
            codecs.append(stream.toObject().value(QStringLiteral("codec_name")).toString());
        return {found.value(QStringLiteral("format")).toObject().value(QStringLiteral("duration")).toString().toDouble(),
                codecs};
    }

    QStringList Recordings() const
    {
        return QDir(temp.FilePath(QStringLiteral("Videos"))).entryList(QDir::Files);
    }

    ZooServer server;
    TempDir temp;
    MpvPlayer player;
    int state = PLAYSTATE_UNDEFINED;
};

} // namespace

TEST_F(LivePlayback, ResumesWhereItPausedAndStepsWithinTheBuffer)
{
    Play(QStringLiteral("/hls/clock/live.m3u8"));
    ASSERT_TRUE(WaitFor([this] { return player.Shift().Length() > 4; }, kStartMs));

    const int before = Frame();
    player.Shift().Pause();
    ASSERT_TRUE(WaitFor([this] { return player.Shift().BehindSeconds() >= 6; }, kStartMs)); // still reading
    const int paused = Frame();
    EXPECT_NEAR(paused, before, kClockRate / 2);

    player.Shift().Resume();
    ASSERT_TRUE(WaitFor([&] { return Frame() > paused; }, 5000));
    EXPECT_LT(Frame() - paused, 2 * kClockRate) << "resumed at live instead of where it paused";
    EXPECT_GE(player.Shift().BehindSeconds(), 5);

    const int beforeStep = Frame();
    player.Shift().Step(-4);
    ASSERT_TRUE(WaitFor([&] { return Frame() < beforeStep; }, 5000));
    EXPECT_NEAR(Frame(), beforeStep - 4 * kClockRate, 2 * kClockRate);
    player.Shift().Step(-600); // before the oldest held: the oldest
    ASSERT_TRUE(WaitFor([this] { return player.Shift().PositionFromOldest() < 1; }, 5000));

    player.Shift().BackToLive();
    ASSERT_TRUE(WaitFor([&] { return Frame() > paused + 5 * kClockRate; }, 5000));
    EXPECT_FALSE(player.Shift().Behind());
    EXPECT_EQ(state, PLAYSTATE_PLAYING);
}

TEST_F(LivePlayback, TheDiskCapHoldsOverAlongRun)
{
    constexpr std::int64_t kCap = 512 * 1024;
    constexpr std::int64_t kOneUpdate = 200 * 1024; // what the stream brings between two looks
    const TimeshiftStore store(temp.FilePath(QStringLiteral("timeshift")), 120min, kCap);
    Play(QStringLiteral("/hls/clock/live.m3u8"), {&store, 120min, RecordingPlace(), {}});
    player.Shift().Pause(); // everything read stays

    std::int64_t most = 0;
    int restarts = 0;
    std::int64_t last = 0;
    WaitFor([&] {
        const std::int64_t bytes = CacheFileBytes(player.Handle());
        most = std::max(most, bytes);
        restarts += bytes < last / 2 ? 1 : 0;
        last = bytes;
        return restarts >= 2;
    }, 90000);
    EXPECT_GE(restarts, 2);
    EXPECT_LE(most, kCap + kOneUpdate);
    EXPECT_TRUE(WaitFor([this] { return state == PLAYSTATE_PLAYING; }, kStartMs));
}

TEST_F(LivePlayback, RecordingsCopyTheStreamsIntoOneFileThroughReconnects)
{
    Play(QStringLiteral("/live.m3u8"));
    ASSERT_TRUE(WaitFor([this] { return player.Shift().Length() > 6; }, kStartMs));

    // From the buffer: what it holds comes first.
    ASSERT_EQ(player.Record(QStringLiteral("Zoo/Live"), true), RecordingRefusal::None);
    EXPECT_GE(player.Recorder().Seconds(), 5);
    ASSERT_TRUE(WaitFor([this] { return player.Recorder().Seconds() > 8; }, kStartMs));

    // Dropped and back: the recording goes on in the same file.
    ASSERT_TRUE(server.Control("mode=404"));
    ASSERT_TRUE(WaitFor([this] { return state == PLAYSTATE_RECONNECTING; }, kStartMs));
    ASSERT_TRUE(server.Control("mode=normal"));
    ASSERT_TRUE(WaitFor([this] { return state == PLAYSTATE_PLAYING && player.Shift().Length() > 3; }, kStartMs));
    player.Stop(); // ends the recording
    EXPECT_FALSE(player.Recorder().Recording());
    player.Destroy(); // every part written

    ASSERT_EQ(Recordings().size(), 1) << Recordings().join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(Recordings().first().startsWith(QStringLiteral("Zoo_Live ")));
    const auto [duration, codecs] = Probe(QDir(temp.FilePath(QStringLiteral("Videos"))).filePath(Recordings().first()));
    EXPECT_EQ(codecs, (QStringList{QStringLiteral("h264"), QStringLiteral("aac")}));
    EXPECT_GE(duration, 10);
}

// The engine reads ahead of what it shows, by all the viewer is behind when watching from
// the buffer: a recording still holds only what played while it ran (from the picture
// that starts the stretch it began in).
TEST_F(LivePlayback, ARecordingHoldsWhatPlayedWhileItRan)
{
    constexpr double kSeconds = 6;
    const TimeshiftStore store(temp.FilePath(QStringLiteral("timeshift")), 30min, 512 * 1024 * 1024);
    Play(QStringLiteral("/hls/clock/live.m3u8"), {&store, 30min, RecordingPlace(), {}});
    std::vector<double> played;
    const auto record = [&] {
        // Once the one before has ended.
        ASSERT_TRUE(WaitFor([this] {
            return player.Record(QStringLiteral("Zoo"), false) == RecordingRefusal::None &&
                   player.Recorder().Recording();
        }, kStartMs));
        const double start = player.Shift().Position();
        ASSERT_TRUE(WaitFor([&] { return player.Shift().Position() >= start + kSeconds; }, kStartMs));
        player.Recorder().Stop();
        played.push_back(player.Shift().Position() - start);
    };
    player.Shift().Pause();
    ASSERT_TRUE(WaitFor([this] { return player.Shift().BehindSeconds() >= 10; }, kStartMs));
    player.Shift().Resume();
    record(); // ten seconds behind what was read
    player.Shift().BackToLive();
    const auto nearLive = [this] { return player.Shift().Length() - player.Shift().PositionFromOldest() < 5; };
    ASSERT_TRUE(WaitFor(nearLive, kStartMs)); // once the engine has gone there
    record(); // at the live edge, a few seconds behind; the engine ends before its reply
    player.Destroy();

    ASSERT_EQ(Recordings().size(), 2) << Recordings().join(QLatin1Char(' ')).toStdString();
    for (int i = 0; i < 2; ++i) {
        const auto [duration, codecs] = Probe(QDir(temp.FilePath(QStringLiteral("Videos"))).filePath(Recordings()[i]));
        EXPECT_NEAR(duration, played[i], 1) << "recording " << i;
        EXPECT_EQ(codecs, (QStringList{QStringLiteral("h264"), QStringLiteral("aac")}));
    }
}

TEST_F(LivePlayback, ChosenLanguagesGoOnToTheNextChannels)
{
    const auto selected = [this](MediaTrack::Kind kind) {
        const std::vector<MediaTrack>& tracks = player.Tracks().Tracks();
        const auto track = std::find_if(tracks.begin(), tracks.end(), [kind](const MediaTrack& t) {
            return t.kind == kind && t.selected;
        });
        return track == tracks.end() ? QString() : track->language;
    };
    Play(QStringLiteral("/zoo/tracks-a.mkv"));
    ASSERT_TRUE(WaitFor([&] { return !selected(MediaTrack::Kind::Audio).isEmpty(); }, kStartMs));
    player.Tracks().Choose(MediaTrack::Kind::Audio, 1);     // deu, the file's first
    player.Tracks().Choose(MediaTrack::Kind::Subtitles, 1); // eng, the file's first
    EXPECT_EQ(player.Tracks().Remembered().audio, QStringLiteral("deu"));

    Switch(QStringLiteral("/zoo/tracks-b.mkv")); // eng first, then ger; fre first, then eng
    ASSERT_TRUE(WaitFor([&] { return selected(MediaTrack::Kind::Audio) == QStringLiteral("ger"); }, kStartMs));
    EXPECT_TRUE(WaitFor([&] { return selected(MediaTrack::Kind::Subtitles) == QStringLiteral("eng"); }, 5000));

    player.Tracks().Choose(MediaTrack::Kind::Subtitles, 0);
    Switch(QStringLiteral("/zoo/tracks-a.mkv"));
    ASSERT_TRUE(WaitFor([&] { return selected(MediaTrack::Kind::Audio) == QStringLiteral("deu"); }, kStartMs));
    EXPECT_TRUE(selected(MediaTrack::Kind::Subtitles).isEmpty());
}
