// Times building the channel tree from the shipped English texts and catalogue, and the
// whole language-change rebuild of the channel window, offscreen. Baseline: appending the
// same number of bare items to a tree widget in the same run.

#include "ShippedChannelWindow.h"
#include "WinApp.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTextStream>
#include <QTreeWidget>

#include <algorithm>
#include <functional>
#include <vector>

namespace {
constexpr int kRuns = 41;
constexpr int kTreeItems = 589;

double medianMs(const std::function<void()>& prepare, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::nth_element(times.begin(), times.begin() + kRuns / 2, times.end());
    return times[kRuns / 2];
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
    const ChannelLists& names = shipped.names;
    for (int k = 0; k < 20; ++k) {
        shipped.favorites.push_back({names[3].value(k), MakeChannelId(4, k), 4, OwnStream()});
    }
    shipped.Create();
    ChannelWindow& dlg = shipped.dlg;
    auto* tree = dlg.findChild<QTreeWidget*>(QStringLiteral("channelTree"));

    QTreeWidget bare;
    const double baseline = medianMs([&] { bare.clear(); }, [&] {
        for (int k = 0; k < kTreeItems; ++k)
            bare.addTopLevelItem(new QTreeWidgetItem(QStringList(names[12].value(k % 57))));
    });
    const double fill = medianMs([&] { tree->clear(); }, [&] { dlg.Tree().Fill(); });
    const double apply = medianMs([] {}, [&] { dlg.ApplyLanguage(); });
    const double applyPainted = medianMs([] {}, [&] {
        dlg.ApplyLanguage();
        dlg.repaint();
        QCoreApplication::processEvents();
    });

    QTextStream out(stdout);
    out << "median of " << kRuns << " runs, offscreen\n";
    out << "baseline, " << kTreeItems << " bare tree items: " << baseline << " ms\n";
    out << "FillChannelTree: " << fill << " ms (" << fill / baseline << " x baseline)\n";
    out << "ApplyLanguage:   " << apply << " ms (" << apply / baseline << " x baseline)\n";
    out << "ApplyLanguage, laid out and painted: " << applyPainted << " ms (" << applyPainted / baseline
        << " x baseline)\n";
    return 0;
}
