// The channel window after a playlist import: the time until it is usable again (its
// playlist nodes and search made, laid out and painted) and the memory that costs, for
// 10,000 and 200,000 channels in the shape of the big public lists. Baseline: building
// the fixed channel tree of the shipped catalogue in the same run. Then the whole import
// as the viewer meets it, from the file to the window refilled and its search ready: the
// longest stall of a 5 ms heartbeat on the window's thread, next to the same heartbeat
// over the idle window. Offscreen.

#include "GuideChannelFeed.h"
#include "GuideLibrary.h"
#include "PlaylistLibrary.h"
#include "SearchNameFeed.h"
#include "SearchPanel.h"
#include "ShippedChannelWindow.h"
#include "StallWatch.h"
#include "WinApp.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeWidget>

namespace {
// Grouped as the big public indexes are, or with no group at all as their per-country lists.
Playlist MakePlaylist(int channels, bool grouped = true)
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
        c.group = grouped ? groups[k % groups.size()] : QString();
        c.tvgId = QStringLiteral("CanalRegional%1.es").arg(k);
        c.logo = QStringLiteral("https://i.imgur.com/logo%1.png").arg(k);
        c.userAgent = QStringLiteral("Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36");
        c.referrer = QStringLiteral("https://example.org/");
        list.channels.push_back(c);
    }
    return list;
}

constexpr int kIdleBaselineMs = 1000;
constexpr int kImportWaitMs = 120000;

void WriteM3u(const QString& path, const Playlist& list)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QTextStream text(&file);
    text << "#EXTM3U\n";
    for (const PlaylistChannel& c : list.channels)
        text << "#EXTINF:-1 tvg-id=\"" << c.tvgId << "\" tvg-logo=\"" << c.logo << "\" group-title=\"" << c.group
             << "\"," << c.name << "\n#EXTVLCOPT:http-user-agent=" << c.userAgent << "\n" << c.address << "\n";
}

// Serves the event loop as the program's own does (QTest's waits sleep between turns,
// which a heartbeat would count as stalls) until done holds; false after timeoutMs.
template <typename Predicate>
bool ServeUntil(Predicate done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.hasExpired(timeoutMs))
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// A channel window over a playlist library and a guide library (an empty store in
// folder), wired as the main window wires them.
struct LibraryWindow
{
    LibraryWindow(ShippedChannelWindow& shipped, const QString& folder)
        : library(shipped.strings), directory(shipped.strings, shipped.names, shipped.descriptions, library.Playlists()),
          zapper(directory, favorites), dlg(shipped.strings, directory, favorites, zapper, &library, &guides),
          feed(shipped.names, library.Playlists())
    {
        guides.Load(folder, folder + QStringLiteral("/guide.sqlite"));
        QObject::connect(&library, &PlaylistLibrary::Changed, &dlg, &ChannelWindow::RefillPlaylists);
        QObject::connect(&library, &PlaylistLibrary::Changed, [this, &shipped] {
            guides.SetPlaylists(library.Playlists());
            feed.Start(AllChannelKeys(shipped.names, library.Playlists()),
                       [this](std::vector<GuideViewerChannel> channels) { guides.SetViewerChannels(std::move(channels)); });
        });
        directory.SetGuideLibrary(&guides);
        dlg.Create(&shipped.mainWindow);
        dlg.resize(220, 480);
        dlg.show();
    }
    // The longest stall of the window's thread from the import's start until its channels
    // can be searched and the guide's view of them is made.
    qint64 ImportStallMs(const QString& path)
    {
        const StallWatch watch;
        library.Add(path);
        const auto* search = dlg.findChild<SearchPanel*>();
        const auto* names = dlg.findChild<SearchNameFeed*>();
        const auto* guideView = dlg.findChild<GuideChannelFeed*>();
        const auto settled = [&] {
            return !library.IsBusy() && !names->IsBusy() && !search->IsIndexing() && !guideView->IsBusy()
                && !feed.IsBusy();
        };
        if (!ServeUntil(settled, kImportWaitMs))
            return -1;
        return watch.LongestGapMs();
    }

    PlaylistLibrary library;
    GuideLibrary guides;
    ChannelDirectory directory;
    Favorites favorites;
    Zapper zapper;
    ChannelWindow dlg;
    GuideChannelFeed feed;
};

qint64 IdleStallMs()
{
    const StallWatch watch;
    QElapsedTimer clock;
    clock.start();
    ServeUntil([&] { return clock.hasExpired(kIdleBaselineMs); }, kIdleBaselineMs * 2);
    return watch.LongestGapMs();
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
    ChannelWindow& dlg = shipped.dlg;
    std::vector<Playlist>& playlists = shipped.playlists;
    QCoreApplication::processEvents();
    auto* tree = dlg.findChild<QTreeWidget*>(QStringLiteral("channelTree"));

    QElapsedTimer timer;
    timer.start();
    tree->clear();
    dlg.Tree().Fill();
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
    playlists.clear();
    dlg.RefillPlaylists();

    QTemporaryDir folder;
    IdleStallMs(); // what the refills above left to the event loop
    out << "idle window, heartbeat's longest gap: " << IdleStallMs() << " ms\n";
    // A list with no groups opens with its channels under the playlist's node.
    for (const auto& [channels, grouped] : {std::pair{10000, true}, std::pair{200000, true}, std::pair{15000, false},
                                            std::pair{200000, false}}) {
        const QString path = folder.filePath(QStringLiteral("list%1%2.m3u").arg(channels).arg(grouped ? "" : "-flat"));
        WriteM3u(path, MakePlaylist(channels, grouped));
        LibraryWindow window(shipped, folder.path());
        out << channels << (grouped ? " grouped" : " ungrouped")
            << " channels imported from a file: the window's thread stalled at most " << window.ImportStallMs(path)
            << " ms\n";
    }
    return 0;
}
