// Every kind of stream of the zoo, opened by the player at once: each ends playing, or
// unavailable with the reason the engine's log gives, and the endless stream keeps its
// memory bounded.

#include "MpvPlayer.h"
#include "ResidentMemory.h"
#include "ZooServer.h"

#include <mpv/client.h>

#include <QElapsedTimer>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <sys/prctl.h>
#include <vector>

namespace {
using R = UnavailableReason;
constexpr int kPlaying = PLAYSTATE_PLAYING;
constexpr int kUnavailable = PLAYSTATE_READY;
// Every row ends well within this; a stuck row fails the test instead of hanging it.
constexpr int kTableMs = 60000;
// An unavailable channel says so within this long of being asked for.
constexpr qint64 kUnavailableBoundMs = 12000;

enum class Address { Plain, Trusted, Untrusted, Closed, Unresolvable };

struct Case
{
    const char* name;
    Address where;
    const char* path;
    int outcome;
    R reason;
    bool buffersVisibly = false; // the buffering percentage shows while it plays
    const char* userAgent = nullptr;
    const char* referrer = nullptr;
};

constexpr const char* kZooAgent = "KorvantaZoo/1.0";

const Case kZoo[] = {
    {"master playlist, three variants", Address::Plain, "/zoo/master.m3u8", kPlaying, R::None},
    {"HEVC variants", Address::Plain, "/zoo/hevc.m3u8", kPlaying, R::None},
    {"bare MPEG-TS", Address::Plain, "/zoo/stream.ts", kPlaying, R::None},
    {"chunked MPEG-TS", Address::Plain, "/zoo/chunked.ts", kPlaying, R::None},
    {"audio-only HLS", Address::Plain, "/zoo/audio.m3u8", kPlaying, R::None},
    {"MP3 radio", Address::Plain, "/zoo/radio.mp3", kPlaying, R::None},
    {"HTTPS, test CA", Address::Trusted, "/hls/v240/live.m3u8", kPlaying, R::None},
    {"HTTPS, self-signed", Address::Untrusted, "/hls/v240/live.m3u8", kUnavailable, R::TlsFailed},
    {"redirects to HTTPS", Address::Plain, "/zoo/redirect", kPlaying, R::None},
    {"redirect loop", Address::Plain, "/zoo/loop", kUnavailable, R::TooManyRedirects},
    {"403", Address::Plain, "/zoo/status/403", kUnavailable, R::Forbidden},
    {"404", Address::Plain, "/zoo/status/404", kUnavailable, R::NotFound},
    {"410", Address::Plain, "/zoo/status/410", kUnavailable, R::NotFound},
    {"451", Address::Plain, "/zoo/status/451", kUnavailable, R::Forbidden},
    {"503 for good", Address::Plain, "/zoo/status/503", kUnavailable, R::ServerError},
    {"503, then recovers", Address::Plain, "/zoo/recover.m3u8?key=player", kPlaying, R::None},
    {"slow first byte", Address::Plain, "/zoo/slow.m3u8", kPlaying, R::None},
    {"bandwidth below bit rate", Address::Plain, "/zoo/capped.m3u8", kPlaying, R::None, true},
    {"segments 404 now and then", Address::Plain, "/zoo/flaky.m3u8", kPlaying, R::None},
    {"playlist stops advancing", Address::Plain, "/zoo/frozen.m3u8", kPlaying, R::None},
    {"discontinuity", Address::Plain, "/zoo/ad.m3u8", kPlaying, R::None},
    {"HTML page", Address::Plain, "/zoo/page.html", kUnavailable, R::NotAStream},
    {"closed port", Address::Closed, "/live.m3u8", kUnavailable, R::Refused},
    {"unresolvable host", Address::Unresolvable, "/live.m3u8", kUnavailable, R::HostNotFound},
    {"wrong User-Agent", Address::Plain, "/zoo/agent.m3u8", kUnavailable, R::Forbidden},
    {"its own User-Agent", Address::Plain, "/zoo/agent.m3u8", kPlaying, R::None, false, kZooAgent},
    {"User-Agent without its Referer", Address::Plain, "/zoo/guarded.m3u8", kUnavailable, R::Forbidden, false, kZooAgent},
    {"User-Agent and Referer", Address::Plain, "/zoo/guarded.m3u8", kPlaying, R::None, false, kZooAgent,
     "http://zoo.korvanta.test/"},
};

// How long a row that plays is watched for the buffering percentage.
constexpr int kBufferingWatchMs = 20000;

// One row, played by zoo_probe in a process of its own.
struct RowRun
{
    const Case* row = nullptr;
    std::unique_ptr<QProcess> process;
    int outcome = 0;
    UnavailableReason reason = R::None;
    qint64 ms = -1;
    int maxProgress = 0;
};

class PlayerZoo : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        server = std::make_unique<ZooServer>();
        ASSERT_TRUE(server->Start()) << server->Error().toStdString();
    }
    static void TearDownTestSuite() { server.reset(); }
    void SetUp() override { ASSERT_TRUE(server); }

    static QString Address(const Case& row)
    {
        switch (row.where) {
        case Address::Trusted: return server->TlsUrl(row.path);
        case Address::Untrusted: return server->UntrustedUrl(row.path);
        case Address::Closed: return ClosedPortUrl(QLatin1String(row.path));
        case Address::Unresolvable: return UnresolvableUrl(QLatin1String(row.path));
        default: return server->Url(row.path);
        }
    }

    static std::unique_ptr<MpvPlayer> MakePlayer()
    {
        auto player = std::make_unique<MpvPlayer>();
        EXPECT_TRUE(player->Create(false));
        mpv_set_property_string(player->Handle(), "ao", "null");
        return player;
    }

    static inline std::unique_ptr<ZooServer> server;
};

TEST_F(PlayerZoo, EveryCaseEndsPlayingOrUnavailableWithItsReason)
{
    std::vector<RowRun> runs(std::size(kZoo));
    for (size_t i = 0; i < runs.size(); ++i) {
        RowRun& run = runs[i];
        run.row = &kZoo[i];
        run.process = std::make_unique<QProcess>();
        run.process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        QStringList arguments{Address(*run.row), server->CaFile(),
                              QString::number(run.row->buffersVisibly ? kBufferingWatchMs : 0)};
        if (run.row->userAgent != nullptr)
            arguments << QString::fromLatin1(run.row->userAgent);
        if (run.row->referrer != nullptr)
            arguments << QString::fromLatin1(run.row->referrer);
        run.process->start(QStringLiteral(KORVANTA_ZOO_PROBE), arguments);
    }
    for (RowRun& run : runs) {
        SCOPED_TRACE(run.row->name);
        ASSERT_TRUE(run.process->waitForFinished(kTableMs)) << "neither playing nor unavailable";
        const QList<QByteArray> words = run.process->readAllStandardOutput().trimmed().split(' ');
        ASSERT_EQ(words.size(), 4);
        run.outcome = words[0].toInt();
        run.reason = static_cast<UnavailableReason>(words[1].toInt());
        run.ms = words[2].toLongLong();
        run.maxProgress = words[3].toInt();
    }

    for (const RowRun& run : runs) {
        const Case& row = *run.row;
        SCOPED_TRACE(row.name);
        // The first outcome is the one expected: a stream that plays in the end is never
        // shown unavailable first.
        EXPECT_EQ(run.outcome, row.outcome);
        EXPECT_EQ(run.reason, row.reason);
        if (row.outcome == kUnavailable) {
            EXPECT_LE(run.ms, kUnavailableBoundMs);
        }
        if (row.buffersVisibly) {
            EXPECT_GT(run.maxProgress, 0) << "no buffering percentage while the cache filled";
        }
    }
}

double MediaSeconds(MpvPlayer& player)
{
    double seconds = 0;
    mpv_get_property(player.Handle(), "playback-time", MPV_FORMAT_DOUBLE, &seconds);
    return seconds;
}

TEST_F(PlayerZoo, EndlessTransportStreamKeepsItsMemoryBounded)
{
    constexpr double kWarmUpSeconds = 5;
    constexpr double kSoakSeconds = 30;
    constexpr long kMaxGrowthKiB = 32 * 1024;
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "AddressSanitizer keeps freed memory in quarantine, so growth says nothing";
#endif
    std::unique_ptr<MpvPlayer> player = MakePlayer();
    ChannelRequest endless;
    endless.address = server->Url("/zoo/stream.ts");
    player->Open(endless);
    ASSERT_TRUE(WaitFor([&] { return MediaSeconds(*player) >= kWarmUpSeconds; }, kTableMs));
    const long before = ResidentKiB();
    ASSERT_TRUE(WaitFor([&] { return MediaSeconds(*player) >= kSoakSeconds; }, kTableMs));
    EXPECT_EQ(player->State(), kPlaying);
    EXPECT_LE(ResidentKiB() - before, kMaxGrowthKiB);
}
} // namespace
