// Zapping end to end: a double-click in the channel tree while a channel plays, to the
// first frame of the new channel on screen, with the whole main window and video output
// on the X display of $DISPLAY (Xvfb with a window manager), between two own channels on
// the loopback stream zoo. The yardstick is the command-line player's own start of the
// same stream in a window of the same size, measured in the same run.
//   bench_zap [switches]
// Prints both medians over the switches (default 10) and their ratio.

#include "CLumenoDlg.h"
#include "CommandLineStart.h"
#include "MessageBox.h"
#include "PlayStateModel.h"
#include "ZooServer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QOpenGLWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>

namespace {
constexpr int kWaitMs = 30000;
constexpr int kSettleMs = 1500; // the channel plays on for a while before the next switch
const QStringList kNames = {QStringLiteral("Own A"), QStringLiteral("Own B")};

bool WritePlaylist(const QString& path, const ZooServer& server)
{
    QFile list(path);
    if (!list.open(QIODevice::WriteOnly))
        return false;
    for (int k = 0; k < kNames.size(); ++k) {
        list.write(QStringLiteral("#EXTINF:-1,%1\n%2\n")
                       .arg(kNames[k], server.Url(QStringLiteral("/live.m3u8?%1").arg(k)))
                       .toUtf8());
    }
    return true;
}

QOpenGLWindow* VideoWindow()
{
    for (QWindow* window : QGuiApplication::allWindows()) {
        if (auto* video = qobject_cast<QOpenGLWindow*>(window))
            return video;
    }
    return nullptr;
}

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
    SwapClock(CLumenoDlg& dlg, QOpenGLWindow* video) : dlg(dlg)
    {
        QObject::connect(video, &QOpenGLWindow::frameSwapped, [this] { OnSwap(); });
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
        left = left || dlg.Player().PlayState() != PLAYSTATE_PLAYING || dlg.StatusText() == target;
    }
    double ShownMs() const { return shownMs; }

private:
    void OnSwap()
    {
        Poll();
        const int state = dlg.Player().PlayState();
        if (left && shownMs < 0 && (state == PLAYSTATE_BUFFERING || state == PLAYSTATE_PLAYING))
            shownMs = double(timer.nsecsElapsed()) / 1e6;
    }

    CLumenoDlg& dlg;
    QElapsedTimer timer;
    QString target;
    bool left = false;
    double shownMs = -1;
};
} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_CACHE_HOME", home.filePath(QStringLiteral("cache")).toUtf8());
    QApplication app(argc, argv);
    QDir::setCurrent(QStringLiteral(KORVANTA_DATA_DIR));
    const int switches = argc > 1 ? std::max(1, atoi(argv[1])) : 10;

    ZooServer server;
    const QString listPath = home.filePath(QStringLiteral("own.m3u"));
    if (!server.Start() || !WritePlaylist(listPath, server)) {
        std::fprintf(stderr, "the stream zoo did not start\n");
        return 1;
    }
    CLumenoDlg dlg;
    if (!dlg.OnInitDialog())
        return 1;
    dlg.show();
    dlg.OwnPlaylists().Add(listPath);
    auto* tree = dlg.ChannelWindow().findChild<QTreeWidget*>(QStringLiteral("channelTree"));
    QTreeWidgetItem* node = tree->topLevelItem(tree->topLevelItemCount() - 1);
    node->setExpanded(true);
    tree->scrollToItem(node->child(1));
    if (!QTest::qWaitForWindowExposed(tree->window())) {
        std::fprintf(stderr, "the channel window was not shown\n");
        return 1;
    }
    DoubleClick(tree, node->child(0));
    QOpenGLWindow* video = nullptr; // made once the engine has loaded
    if (!WaitFor([&] { return (video = VideoWindow()) != nullptr && dlg.StatusText() == kNames[0]; }, kWaitMs)) {
        std::fprintf(stderr, "the first channel did not play with video output\n");
        return 1;
    }
    SwapClock clock(dlg, video);
    std::vector<double> zaps;
    std::vector<double> cli;
    const QStringList window = {
        QStringLiteral("--geometry=%1x%2").arg(video->width()).arg(video->height()),
        QStringLiteral("--audio-fallback-to-null=yes")};
    for (int k = 1; k <= switches; ++k) {
        WaitFor([] { return false; }, kSettleMs);
        clock.Start(kNames[k % 2]);
        DoubleClick(tree, node->child(k % 2));
        clock.Poll();
        if (!WaitFor([&] { return clock.ShownMs() >= 0; }, kWaitMs)) {
            std::fprintf(stderr, "switch %d showed no frame\n", k);
            return 1;
        }
        zaps.push_back(clock.ShownMs());
        const double other = CommandLineStartMs(server.Url(QStringLiteral("/live.m3u8")), window);
        if (other < 0) {
            std::fprintf(stderr, "the command-line player showed no frame\n");
            return 1;
        }
        cli.push_back(other);
    }
    dlg.EndDialog(IDCANCEL);
    dlg.OnDestroy();
    const double ours = Median(zaps);
    const double theirs = Median(cli);
    std::printf("zap by double-click to the first new frame, median of %d: player %.0f ms, "
                "command-line start %.0f ms, ratio %.2f\n",
                switches, ours, theirs, ours / theirs);
    return 0;
}
