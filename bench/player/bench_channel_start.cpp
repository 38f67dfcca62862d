// Channel start time and memory next to the command-line player on the same local stream.
//   bench_player_start [starts]
// Prints the median time from PlayURL to the playing state over the starts (default 10),
// the command-line player's median time from opening the address to its first frame,
// their ratio, and both resident set sizes while playing. Both play without video output.

#include "CWMPWindow.h"
#include "ZooServer.h"
#include "PlayStateModel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Resident set size in MiB, from the kernel's status file of a process.
double ResidentMiB(const QString& pid)
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

QStringList CommandLineArgs(const QString& url)
{
    return {QStringLiteral("--no-config"), QStringLiteral("--vo=null"), url};
}

// Seconds stamped on the first line of mpv's log containing text; -1 when none does.
double LogTime(const QByteArray& log, const char* text)
{
    for (const QByteArray& line : log.split('\n')) {
        if (line.contains(text))
            return line.mid(1, line.indexOf(']') - 1).trimmed().toDouble();
    }
    return -1;
}

// The command-line player's own start of the stream, from its log: from opening the
// address to the first frame shown, leaving out process start-up and script loading.
double CommandLineStartMs(const QString& url)
{
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("mpv.log"));
    QProcess mpv;
    mpv.start(QStringLiteral("mpv"), CommandLineArgs(url) << QStringLiteral("--frames=1")
                                                        << QStringLiteral("--log-file=") + log);
    mpv.waitForFinished(30000);
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = file.readAll();
    const double opened = LogTime(text, "] Opening ");
    const double shown = LogTime(text, "playback restart complete");
    return opened < 0 || shown < 0 ? -1 : (shown - opened) * 1000;
}

double CommandLineResidentMiB(const QString& url)
{
    QProcess mpv;
    mpv.start(QStringLiteral("mpv"), CommandLineArgs(url));
    mpv.waitForStarted();
    WaitFor([] { return false; }, 4000);
    const double rss = ResidentMiB(QString::number(mpv.processId()));
    mpv.kill();
    mpv.waitForFinished();
    return rss;
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int starts = argc > 1 ? std::max(1, atoi(argv[1])) : 10;

    ZooServer server;
    if (!server.Start()) {
        std::fprintf(stderr, "the local HLS server did not start\n");
        return 1;
    }
    const QString url = server.Url(QStringLiteral("/live.m3u8"));

    QWidget window;
    const double baseRss = ResidentMiB(QStringLiteral("self")); // the toolkit alone
    CWMPWindow player;
    if (!player.Create(&window)) {
        std::fprintf(stderr, "the engine could not be created\n");
        return 1;
    }
    std::vector<double> ours;
    std::vector<double> theirs;
    for (int i = 0; i < starts; ++i) {
        QElapsedTimer timer;
        timer.start();
        player.PlayURL(url);
        if (!WaitFor([&] { return player.PlayState() == PLAYSTATE_PLAYING; }, 30000)) {
            std::fprintf(stderr, "start %d did not reach playing\n", i + 1);
            return 1;
        }
        ours.push_back(double(timer.nsecsElapsed()) / 1e6);
        WaitFor([] { return false; }, 300);
        const double cli = CommandLineStartMs(url);
        if (cli < 0) {
            std::fprintf(stderr, "the command-line player did not show a frame\n");
            return 1;
        }
        theirs.push_back(cli);
    }
    WaitFor([] { return false; }, 4000);
    const double ourRss = ResidentMiB(QStringLiteral("self"));
    const double theirRss = CommandLineResidentMiB(url);
    player.Close();

    const double ourStart = Median(ours);
    const double theirStart = Median(theirs);
    std::printf("channel start, median of %d: player %.0f ms, command line %.0f ms, ratio %.2f\n",
                starts, ourStart, theirStart, ourStart / theirStart);
    std::printf("resident memory while playing: player %.1f MiB (%.1f MiB before the engine), "
                "command line %.1f MiB, ratio %.2f\n",
                ourRss, baseRss, theirRss, ourRss / theirRss);
    return 0;
}
