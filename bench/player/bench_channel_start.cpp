// Channel start time and memory next to the command-line player on the same local streams.
//   bench_player_start [starts]
// For the loopback HLS stream, the stream zoo's master playlist and its bare MPEG-TS, prints
// the median time from PlayURL to the playing state over the starts (default 10, each from
// the stopped state), the command-line player's median time from opening the address to its
// first frame, and their ratio; then both resident set sizes while playing the HLS stream.
// Both play without video output.

#include "CWMPWindow.h"
#include "CommandLineStart.h"
#include "ZooServer.h"
#include "PlayStateModel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
constexpr int kWaitMs = 30000;
constexpr int kSettleMs = 300;     // the stop has taken effect
constexpr int kRssSettleMs = 4000; // playing long enough for the buffers to fill

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

double CommandLineResidentMiB(const QString& url)
{
    QProcess mpv;
    mpv.start(QStringLiteral("mpv"), CommandLineArgs(url));
    mpv.waitForStarted();
    WaitFor([] { return false; }, kRssSettleMs);
    const double rss = ResidentMiB(QString::number(mpv.processId()));
    mpv.kill();
    mpv.waitForFinished();
    return rss;
}

struct Case
{
    const char* name;
    const char* path;
};

constexpr Case kCases[] = {
    {"HLS", "/live.m3u8"},
    {"HLS master playlist", "/zoo/master.m3u8"},
    {"MPEG-TS", "/zoo/stream.ts"},
};

// Median milliseconds from PlayURL to playing over starts from the stopped state, and the
// command line's median over as many of its own starts, interleaved; false when one failed.
bool MeasureCase(CWMPWindow& player, const QString& url, int starts, double* ours, double* theirs)
{
    std::vector<double> own;
    std::vector<double> cli;
    for (int i = 0; i < starts; ++i) {
        player.Stop();
        WaitFor([] { return false; }, kSettleMs);
        QElapsedTimer timer;
        timer.start();
        player.PlayURL(RequestFor(url));
        if (!WaitFor([&] { return player.PlayState() == PLAYSTATE_PLAYING; }, kWaitMs))
            return false;
        own.push_back(double(timer.nsecsElapsed()) / 1e6);
        const double other = CommandLineStartMs(url, {QStringLiteral("--vo=null")});
        if (other < 0)
            return false;
        cli.push_back(other);
    }
    *ours = Median(own);
    *theirs = Median(cli);
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int starts = argc > 1 ? std::max(1, atoi(argv[1])) : 10;

    ZooServer server;
    if (!server.Start()) {
        std::fprintf(stderr, "the stream zoo did not start\n");
        return 1;
    }

    QWidget window;
    const double baseRss = ResidentMiB(QStringLiteral("self")); // the toolkit alone
    CWMPWindow player;
    if (!player.Create(&window)) {
        std::fprintf(stderr, "the engine could not be created\n");
        return 1;
    }
    double ourRss = 0;
    double theirRss = 0;
    for (const Case& c : kCases) {
        const QString url = server.Url(QString::fromLatin1(c.path));
        double ours = 0;
        double theirs = 0;
        if (!MeasureCase(player, url, starts, &ours, &theirs)) {
            std::fprintf(stderr, "%s: a start did not reach playing\n", c.name);
            return 1;
        }
        std::printf("channel start, %s, median of %d: player %.0f ms, command line %.0f ms, "
                    "ratio %.2f\n",
                    c.name, starts, ours, theirs, ours / theirs);
        if (&c == &kCases[0]) { // memory while the plain HLS stream plays, as before
            WaitFor([] { return false; }, kRssSettleMs);
            ourRss = ResidentMiB(QStringLiteral("self"));
            theirRss = CommandLineResidentMiB(url);
        }
    }
    player.Close();
    std::printf("resident memory while playing: player %.1f MiB (%.1f MiB before the engine), "
                "command line %.1f MiB, ratio %.2f\n",
                ourRss, baseRss, theirRss, ourRss / theirRss);
    return 0;
}
