// Memory over many switches with the whole main window on the X display of $DISPLAY,
// video output on, between two own channels on the loopback stream zoo.
//   bench_soak [switches]
// Prints the resident set size once the first channel plays, after the switches (default
// 200) and its peak, the growth, and the command-line player's size playing the same
// stream in a window of the same size, measured in the same run, with the ratio.

#include "CWMPWindow.h"
#include "MessageBox.h"
#include "OwnChannels.h"
#include "ResidentMemory.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QToolButton>

#include <algorithm>
#include <cstdio>

namespace {
constexpr int kWaitMs = 30000;
constexpr int kSettleMs = 5000; // playing long enough for the buffers to fill
constexpr double kKiBPerMiB = 1024;
const QStringList& kNames = OwnChannels::kNames;

// The command-line player's resident size in MiB after playing url for a while.
double CommandLineMiB(const QString& url, const QSize& size)
{
    QProcess mpv;
    mpv.start(QStringLiteral("mpv"), {QStringLiteral("--no-config"),
                                      QStringLiteral("--geometry=%1x%2").arg(size.width()).arg(size.height()),
                                      QStringLiteral("--audio-fallback-to-null=yes"), url});
    if (!mpv.waitForStarted())
        return 0;
    WaitFor([] { return false; }, kSettleMs);
    QFile status(QStringLiteral("/proc/%1/status").arg(mpv.processId()));
    double mib = 0;
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                mib = line.mid(6).trimmed().split(' ').first().toDouble() / kKiBPerMiB;
        }
    }
    mpv.kill();
    mpv.waitForFinished();
    return mib;
}
} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    OwnChannels::UseFolders(home);
    QApplication application(argc, argv);
    const int switches = argc > 1 ? std::max(1, atoi(argv[1])) : 200;

    OwnChannels channels(home);
    if (!channels.Start())
        return 1;
    App& app = channels.Program();
    QTreeWidget* tree = channels.Tree();
    tree->setCurrentItem(channels.Channel(0));
    app.Channels().findChild<QToolButton*>(
        QStringLiteral("button%1").arg(ID_CHANNEL_PLAY))->click();
    if (!WaitFor([&] { return app.Status().Text() == kNames[0]; }, kWaitMs))
        return 1;
    WaitFor([] { return false; }, kSettleMs);
    const long before = ResidentKiB();
    long peak = before;
    for (int k = 1; k <= switches; ++k) {
        app.Playback().Zap(+1);
        const int frames = app.Player().FrameUpdates();
        if (!WaitFor([&] { return app.Status().Text() == kNames[k % 2] && app.Player().FrameUpdates() > frames; }, kWaitMs)) {
            std::fprintf(stderr, "switch %d did not reach playing\n", k);
            return 1;
        }
        peak = std::max(peak, ResidentKiB());
    }
    WaitFor([] { return false; }, kSettleMs);
    const long after = ResidentKiB();
    peak = std::max(peak, after);
    const QSize videoSize = app.Player().VideoWidget()->size();
    app.End();
    app.Shutdown();
    const double mpv = CommandLineMiB(channels.Server().Url(QStringLiteral("/live.m3u8")), videoSize);
    std::printf("resident over %d switches: playing %.0f MiB, after %.0f MiB, peak %.0f MiB, growth %.1f MiB\n",
                switches, before / kKiBPerMiB, after / kKiBPerMiB, peak / kKiBPerMiB, (after - before) / kKiBPerMiB);
    std::printf("mpv playing in a %dx%d window: %.0f MiB; ratio %.2f\n", videoSize.width(),
                videoSize.height(), mpv, before / kKiBPerMiB / mpv);
    return 0;
}
