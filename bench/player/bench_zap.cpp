// Zapping end to end: a double-click in the channel tree while a channel plays, to the
// first frame of the new channel on screen, with the whole main window and video output
// on the X display of $DISPLAY (Xvfb with a window manager), between two own channels on
// the loopback stream zoo. The yardstick is the command-line player's own start of the
// same stream in a window of the same size, measured in the same run.
//   bench_zap [switches]
// Prints both medians over the switches (default 10) and their ratio.

#include "CommandLineStart.h"
#include "MessageBox.h"
#include "OwnChannels.h"
#include "PlayStateModel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>

namespace {
constexpr int kWaitMs = 30000;
constexpr int kSettleMs = 1500; // the channel plays on for a while before the next switch
const QStringList& kNames = OwnChannels::kNames;

// Both clicks of it, as the mouse sends them.
void DoubleClick(QTreeWidget* tree, QTreeWidgetItem* item)
{
    const QPoint centre = tree->visualItemRect(item).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, centre);
}

// Times from a double-click to the first swap of the picture once the new channel's
// stream is loaded; swaps before that still show the old channel.
class SwapClock
{
public:
    explicit SwapClock(App& app) : app(app)
    {
        QObject::connect(&app.Player(), &CWMPWindow::PictureShown, [this] { OnSwap(); });
    }
    void Start(const QString& channel)
    {
        target = channel;
        shownMs = -1;
        left = false;
        timer.start();
    }
    // The old channel has been left once the player stops calling it playing.
    void Poll()
    {
        left = left || app.Player().PlayState() != PLAYSTATE_PLAYING || app.Status().Text() == target;
    }
    double ShownMs() const { return shownMs; }

private:
    void OnSwap()
    {
        Poll();
        const int state = app.Player().PlayState();
        if (left && shownMs < 0 && (state == PLAYSTATE_BUFFERING || state == PLAYSTATE_PLAYING))
            shownMs = double(timer.nsecsElapsed()) / 1e6;
    }

    App& app;
    QElapsedTimer timer;
    QString target;
    bool left = false;
    double shownMs = -1;
};
} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    OwnChannels::UseFolders(home);
    QApplication application(argc, argv);
    const int switches = argc > 1 ? std::max(1, atoi(argv[1])) : 10;

    OwnChannels channels(home);
    if (!channels.Start())
        return 1;
    App& app = channels.Program();
    QTreeWidget* tree = channels.Tree();
    tree->scrollToItem(channels.Channel(1));
    if (!QTest::qWaitForWindowExposed(tree->window())) {
        std::fprintf(stderr, "the channel window was not shown\n");
        return 1;
    }
    DoubleClick(tree, channels.Channel(0));
    CWMPWindow& player = app.Player();
    if (!WaitFor([&] { return player.FrameUpdates() > 0 && app.Status().Text() == kNames[0]; }, kWaitMs)) {
        std::fprintf(stderr, "the first channel did not play with video output\n");
        return 1;
    }
    SwapClock clock(app);
    const QWidget* video = player.VideoWidget();
    std::vector<double> zaps;
    std::vector<double> cli;
    const QStringList window = {
        QStringLiteral("--geometry=%1x%2").arg(video->width()).arg(video->height()),
        QStringLiteral("--audio-fallback-to-null=yes")};
    for (int k = 1; k <= switches; ++k) {
        WaitFor([] { return false; }, kSettleMs);
        clock.Start(kNames[k % 2]);
        DoubleClick(tree, channels.Channel(k % 2));
        clock.Poll();
        if (!WaitFor([&] { return clock.ShownMs() >= 0; }, kWaitMs)) {
            std::fprintf(stderr, "switch %d showed no frame\n", k);
            return 1;
        }
        zaps.push_back(clock.ShownMs());
        const double other = CommandLineStartMs(channels.Server().Url(QStringLiteral("/live.m3u8")), window);
        if (other < 0) {
            std::fprintf(stderr, "the command-line player showed no frame\n");
            return 1;
        }
        cli.push_back(other);
    }
    app.End();
    app.Shutdown();
    const double ours = Median(zaps);
    const double theirs = Median(cli);
    std::printf("zap by double-click to the first new frame, median of %d: player %.0f ms, "
                "command-line start %.0f ms, ratio %.2f\n",
                switches, ours, theirs, ours / theirs);
    return 0;
}
