// Live television on the viewer's time, measured on the stream zoo's HD sets (made with
// ffmpeg on the first run, some ten minutes) without video output:
//   bench_timeshift [pause-minutes] [cap-minutes] [cap-MiB]
// 1. Pause pause-minutes (default 10) of the 5 Mbit/s stream: the growth of the resident
//    memory, then the time from resuming, and from each step of 10 s and a minute back and
//    forth, to the next picture; next to the command-line player paused as long with its
//    own cache and seeking as far (through its IPC socket).
// 2. The disk cap: the 8 Mbit/s stream played for cap-minutes (default 10) under a cap of
//    cap-MiB (default 256): the largest cache file seen, and how often the buffer began
//    anew.
// 3. Recording: CPU while watching the 5 Mbit/s stream, and while also recording it, in
//    turns of 30 s, as a share of one core.

#include "EngineCache.h"
#include "MpvPlayer.h"
#include "PlaybackFile.h"
#include "TimeshiftStore.h"
#include "ZooServer.h"

#include <mpv/client.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace std::chrono_literals;

namespace {

constexpr int kWaitMs = 60000;
constexpr int kSettleMs = 10000; // playing before the measures begin
constexpr int kWatchTurnMs = 30000;
constexpr double kMiB = 1024.0 * 1024.0;
const double kSteps[] = {-10, -10, 10, -60, 60, 10};

void Sleep(int ms)
{
    WaitFor([] { return false; }, ms);
}

double ResidentMiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

// CPU seconds this process has used.
double CpuSeconds()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = stat.readAll().split(')').last().split(' ');
    return (fields.value(12).toDouble() + fields.value(13).toDouble()) / sysconf(_SC_CLK_TCK);
}

// Milliseconds until done() holds, polling.
double Timed(const std::function<void()>& act, const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    act();
    if (!WaitFor(done, kWaitMs))
        return -1;
    return timer.nsecsElapsed() / 1e6;
}

// A second client of our engine, to see its pictures come back after a seek.
class Watcher
{
public:
    explicit Watcher(mpv_handle* engine) : client(mpv_create_client(engine, "bench"))
    {
        mpv_observe_property(client, 1, "time-pos", MPV_FORMAT_DOUBLE);
    }
    ~Watcher() { mpv_destroy(client); }

    // Drains the events; true when playing restarted (a seek) or time moved on since Mark.
    bool Moved()
    {
        for (mpv_event* event = mpv_wait_event(client, 0); event->event_id != MPV_EVENT_NONE;
             event = mpv_wait_event(client, 0)) {
            if (event->event_id == MPV_EVENT_PLAYBACK_RESTART)
                moved = true;
            if (event->event_id == MPV_EVENT_PROPERTY_CHANGE) {
                const auto* property = static_cast<mpv_event_property*>(event->data);
                if (property->format == MPV_FORMAT_DOUBLE && *static_cast<double*>(property->data) > markedAt + 0.01 &&
                    watchTime)
                    moved = true;
            }
        }
        return moved;
    }
    void Mark(double at, bool byTime)
    {
        Moved();
        moved = false;
        markedAt = at;
        watchTime = byTime;
    }

private:
    mpv_handle* client;
    bool moved = false;
    bool watchTime = false;
    double markedAt = 0;
};

// The command-line player, steered through its IPC socket.
class CommandLine
{
public:
    CommandLine(const QString& url, const QString& socketPath)
    {
        process.start(QStringLiteral("mpv"), {QStringLiteral("--no-config"), QStringLiteral("--vo=null"),
                                              QStringLiteral("--ao=null"),
                                              QStringLiteral("--input-ipc-server=") + socketPath, url});
        WaitFor([&] {
            socket.connectToServer(socketPath);
            return socket.waitForConnected(100);
        }, kWaitMs);
        Send(QJsonArray{QStringLiteral("observe_property"), 1, QStringLiteral("time-pos")});
    }
    ~CommandLine()
    {
        process.kill();
        process.waitForFinished();
    }
    qint64 Pid() const { return process.processId(); }
    void Send(const QJsonArray& command)
    {
        socket.write(QJsonDocument(QJsonObject{{QStringLiteral("command"), command}}).toJson(QJsonDocument::Compact) + '\n');
        socket.flush();
    }
    double Position() { Read(); return position; }
    // True once playing restarted or time moved beyond at since the last Mark.
    bool Moved() { Read(); return moved; }
    void Mark(bool byTime)
    {
        Read();
        moved = false;
        markedAt = position;
        watchTime = byTime;
    }

private:
    void Read()
    {
        socket.waitForReadyRead(1);
        while (socket.canReadLine()) {
            const QJsonObject message = QJsonDocument::fromJson(socket.readLine()).object();
            const QString event = message.value(QStringLiteral("event")).toString();
            if (event == QStringLiteral("playback-restart"))
                moved = true;
            if (event == QStringLiteral("property-change") && message.value(QStringLiteral("data")).isDouble()) {
                position = message.value(QStringLiteral("data")).toDouble();
                if (watchTime && position > markedAt + 0.01)
                    moved = true;
            }
        }
    }

    QProcess process;
    QLocalSocket socket;
    double position = 0;
    double markedAt = 0;
    bool moved = false;
    bool watchTime = false;
};

bool Playing(MpvPlayer& player)
{
    return player.State() == PLAYSTATE_PLAYING && player.Shift().Available();
}

void Pause(int minutes, const QString& url, const QString& folder)
{
    const TimeshiftStore store(folder, 120min, qint64(PlaybackSettings::kDefaultDiskCapMiB) * 1024 * 1024);
    MpvPlayer player;
    player.SetUpLivePlayback({&store, 120min, RecordingPlace(folder), {}});
    player.Create(false);
    player.Open(RequestFor(url));
    if (!WaitFor([&] { return Playing(player); }, kWaitMs)) {
        std::fprintf(stderr, "the stream did not play\n");
        return;
    }
    Sleep(kSettleMs);
    Watcher watcher(player.Handle());
    const double before = ResidentMiB(getpid());
    player.Shift().Pause();
    Sleep(minutes * 60000);
    const double after = ResidentMiB(getpid());
    watcher.Mark(player.Shift().Position(), true);
    std::vector<double> ours{Timed([&] { player.Shift().Resume(); }, [&] { return watcher.Moved(); })};
    for (double step : kSteps) {
        Sleep(2000);
        watcher.Mark(player.Shift().Position(), false);
        ours.push_back(Timed([&] { player.Shift().Step(step); }, [&] { return watcher.Moved(); }));
    }
    const double behind = player.Shift().BehindSeconds();
    player.Stop();

    QTemporaryDir socketDir;
    CommandLine mpv(url, socketDir.filePath(QStringLiteral("ipc")));
    Sleep(kSettleMs);
    const double theirBefore = ResidentMiB(mpv.Pid());
    mpv.Send(QJsonArray{QStringLiteral("set_property"), QStringLiteral("pause"), true});
    Sleep(minutes * 60000);
    const double theirAfter = ResidentMiB(mpv.Pid());
    mpv.Mark(true);
    std::vector<double> theirs{Timed([&] { mpv.Send(QJsonArray{QStringLiteral("set_property"), QStringLiteral("pause"), false}); }, [&] { return mpv.Moved(); })};
    for (double step : kSteps) {
        Sleep(2000);
        mpv.Mark(false);
        theirs.push_back(Timed([&] { mpv.Send(QJsonArray{QStringLiteral("seek"), step, QStringLiteral("relative+keyframes")}); }, [&] { return mpv.Moved(); }));
    }

    std::printf("paused %d min at 5 Mbit/s: resident growth player %.1f MiB, command line %.1f MiB (its own cache), "
                "ratio %.2f; %.0f s behind live after resuming\n",
                minutes, after - before, theirAfter - theirBefore, (after - before) / (theirAfter - theirBefore), behind);
    const char* names[] = {"resume", "-10 s", "-10 s", "+10 s", "-1 min", "+1 min", "+10 s"};
    for (std::size_t i = 0; i < ours.size(); ++i)
        std::printf("  to the next picture, %-7s player %6.0f ms, command line %6.0f ms, ratio %.2f\n", names[i],
                    ours[i], theirs[i], ours[i] / theirs[i]);
}

void Cap(int minutes, int capMiB, const QString& url, const QString& folder)
{
    const qint64 cap = qint64(capMiB) * 1024 * 1024;
    const TimeshiftStore store(folder, 120min, cap);
    MpvPlayer player;
    player.SetUpLivePlayback({&store, 120min, RecordingPlace(folder), {}});
    player.Create(false);
    player.Open(RequestFor(url));
    if (!WaitFor([&] { return Playing(player); }, kWaitMs))
        return;
    // Played, not paused: everything read stays behind all the same, and a paused engine
    // stops reading where the zoo's two minutes start again (their time stamps go back).
    std::int64_t most = 0;
    std::int64_t last = 0;
    int anew = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < minutes * 60000) {
        Sleep(1000);
        const std::int64_t bytes = CacheFileBytes(player.Handle());
        most = std::max(most, bytes);
        anew += bytes < last / 2 ? 1 : 0;
        last = bytes;
    }
    std::printf("cap %d MiB, %d min played at 8 Mbit/s: largest cache file %.1f MiB (%.3f of the cap), "
                "buffer begun anew %d times\n",
                capMiB, minutes, most / kMiB, most / double(cap), anew);
}

void Recording(const QString& url, const QString& folder)
{
    const TimeshiftStore store(folder, 120min, qint64(PlaybackSettings::kDefaultDiskCapMiB) * 1024 * 1024);
    MpvPlayer player;
    player.SetUpLivePlayback({&store, 120min, RecordingPlace(folder), {}});
    player.Create(false);
    player.Open(RequestFor(url));
    if (!WaitFor([&] { return Playing(player); }, kWaitMs))
        return;
    Sleep(kSettleMs);
    double watching = 0;
    double recording = 0;
    for (int turn = 0; turn < 2; ++turn) {
        double start = CpuSeconds();
        Sleep(kWatchTurnMs);
        watching += CpuSeconds() - start;
        player.Record(QStringLiteral("bench"), false);
        start = CpuSeconds();
        Sleep(kWatchTurnMs);
        recording += CpuSeconds() - start;
        player.Recorder().Stop();
    }
    const double turns = 2.0 * kWatchTurnMs / 1000;
    std::printf("CPU at 5 Mbit/s: watching %.1f %% of a core, also recording %.1f %%, recording costs %.1f %% of a core\n",
                100 * watching / turns, 100 * recording / turns, 100 * (recording - watching) / turns);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int pauseMinutes = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    const int capMinutes = argc > 2 ? std::max(1, atoi(argv[2])) : 10;
    const int capMiB = argc > 3 ? std::max(16, atoi(argv[3])) : 256;

    // The HD sets take minutes to make the first time: longer than the zoo may take to start.
    QProcess make;
    make.start(QStringLiteral("python3"), {QStringLiteral(KORVANTA_SOURCE_DIR "/tests/support/stream_zoo.py"),
                                           QStringLiteral("--media"), ZooMediaFolder(), QStringLiteral("--heavy"),
                                           QStringLiteral("--make-only")});
    make.waitForFinished(-1);
    ZooServer server({QStringLiteral("--heavy")});
    if (!server.Start()) {
        std::fprintf(stderr, "the stream zoo did not start: %s\n", qPrintable(server.Error()));
        return 1;
    }
    QTemporaryDir folder;
    Pause(pauseMinutes, server.Url(QStringLiteral("/hls/hd5/live.m3u8")), folder.path());
    Cap(capMinutes, capMiB, server.Url(QStringLiteral("/hls/hd8/live.m3u8")), folder.path());
    Recording(server.Url(QStringLiteral("/hls/hd5/live.m3u8")), folder.path());
    return 0;
}
