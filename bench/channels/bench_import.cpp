// The channel window after a playlist import: the time until it is usable again (its
// playlist nodes and search made, laid out and painted) and the memory that costs, for
// 10,000 and 200,000 channels in the shape of the big public lists. Baseline: building
// the fixed channel tree of the shipped catalogue in the same run. Offscreen.

#include "ShippedChannelWindow.h"
#include "WinApp.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTextStream>
#include <QTreeWidget>

namespace {
Playlist MakePlaylist(int channels)
{
    const QStringList groups = {"News", "Sports", "Movies", "Music", "Kids", "Documentary", "Religious",
                                "General", "Entertainment", "Lifestyle", "Undefined"};
    Playlist list;
    list.name = QStringLiteral("Public list %1").arg(channels);
    list.source = QStringLiteral("https://example.org/index.m3u");
    list.channels.reserve(static_cast<std::size_t>(channels));
    for (int k = 0; k < channels; ++k) {
        PlaylistChannel c;
        c.name = QStringLiteral("Canal Televisión Regional Número %1 (1080p) [Geo-blocked]").arg(k);
        c.address = QStringLiteral("https://stream-%1.example.org/live/channel_%2/index.m3u8").arg(k % 97).arg(k);
        c.group = groups[k % groups.size()];
        c.tvgId = QStringLiteral("CanalRegional%1.es").arg(k);
        c.logo = QStringLiteral("https://i.imgur.com/logo%1.png").arg(k);
        c.userAgent = QStringLiteral("Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36");
        c.referrer = QStringLiteral("https://example.org/");
        list.channels.push_back(c);
    }
    return list;
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    CWinApp app(argc, argv);
    QDir::setCurrent(QStringLiteral(KORVANTA_DATA_DIR));

    ShippedChannelWindow shipped;
    if (!shipped.Load())
        return 1;
    shipped.Create();
    CChannelDlg& dlg = shipped.dlg;
    std::vector<Playlist>& playlists = shipped.playlists;
    QCoreApplication::processEvents();
    auto* tree = dlg.findChild<QTreeWidget*>(QStringLiteral("channelTree"));

    QElapsedTimer timer;
    timer.start();
    tree->clear();
    dlg.FillChannelTree();
    dlg.repaint();
    const double baseline = timer.nsecsElapsed() / 1e6;
    dlg.RefillPlaylists();

    QTextStream out(stdout);
    out << "offscreen; baseline, the fixed channel tree built and painted: " << baseline << " ms\n";
    for (int channels : {10000, 200000}) {
        const double beforeData = ResidentMiB();
        playlists.clear();
        playlists.push_back(MakePlaylist(channels));
        const double beforeWindow = ResidentMiB();
        timer.restart();
        dlg.RefillPlaylists();
        dlg.repaint();
        QCoreApplication::processEvents();
        const double usable = timer.nsecsElapsed() / 1e6;
        const double after = ResidentMiB();
        out << channels << " channels: window usable again after " << usable << " ms (" << usable / baseline
            << " x baseline); memory: channel data " << beforeWindow - beforeData << " MiB, window and search "
            << after - beforeWindow << " MiB\n";
    }
    return 0;
}
