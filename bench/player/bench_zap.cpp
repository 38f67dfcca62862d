// Zapping between two own channels against starting them from the channel tree, through
// the whole main window on the local HLS server, offscreen (no video output).
//   bench_zap [switches]
// Prints the median time from the request to the playing state for each road and their
// ratio. Every measured start is a switch from the other channel.

#include "CLumenoDlg.h"
#include "ZooServer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
constexpr int kWaitMs = 30000;
const QStringList kNames = {QStringLiteral("Own A"), QStringLiteral("Own B")};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds from start() to the channel named name playing; -1 when it never does.
double TimeToPlaying(CLumenoDlg& dlg, const QString& name, const std::function<void()>& start)
{
    QElapsedTimer timer;
    timer.start();
    start();
    if (!WaitFor([&] { return dlg.StatusText() == name; }, kWaitMs))
        return -1;
    return double(timer.nsecsElapsed()) / 1e6;
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_CACHE_HOME", home.filePath(QStringLiteral("cache")).toUtf8());
    QApplication app(argc, argv);
    QDir::setCurrent(QStringLiteral(KORVANTA_DATA_DIR));
    const int switches = argc > 1 ? std::max(2, atoi(argv[1])) : 10;

    ZooServer server;
    if (!server.Start()) {
        std::fprintf(stderr, "the local HLS server did not start\n");
        return 1;
    }
    QFile list(home.filePath(QStringLiteral("own.m3u")));
    if (!list.open(QIODevice::WriteOnly))
        return 1;
    for (int k = 0; k < kNames.size(); ++k) {
        list.write(QStringLiteral("#EXTINF:-1,%1\n%2\n")
                       .arg(kNames[k], server.Url(QStringLiteral("/live.m3u8?%1").arg(k)))
                       .toUtf8());
    }
    list.close();

    CLumenoDlg dlg;
    if (!dlg.OnInitDialog())
        return 1;
    dlg.OwnPlaylists().Add(list.fileName());
    auto* tree = dlg.ChannelWindow().findChild<QTreeWidget*>(QStringLiteral("channelTree"));
    QTreeWidgetItem* node = tree->topLevelItem(tree->topLevelItemCount() - 1);
    node->setExpanded(true);
    auto* play = dlg.ChannelWindow().findChild<QToolButton*>(
        QStringLiteral("button%1").arg(CChannelDlg::ID_CHANNEL_PLAY));

    std::vector<double> fromTree;
    std::vector<double> zapped;
    for (int k = 0; k < switches; ++k) {
        const int channel = k % 2;
        const double tree_ms = TimeToPlaying(dlg, kNames[channel], [&] {
            tree->setCurrentItem(node->child(channel));
            play->click();
        });
        const double zap_ms = TimeToPlaying(dlg, kNames[1 - channel], [&] { dlg.Zap(+1); });
        if (tree_ms < 0 || zap_ms < 0) {
            std::fprintf(stderr, "switch %d did not reach playing\n", k + 1);
            return 1;
        }
        fromTree.push_back(tree_ms);
        zapped.push_back(zap_ms);
    }
    const double treeMedian = Median(fromTree);
    const double zapMedian = Median(zapped);
    std::printf("switch to an own channel, median of %d: from the tree %.0f ms, zapping %.0f ms, ratio %.2f\n",
                switches, treeMedian, zapMedian, zapMedian / treeMedian);
    return 0;
}
