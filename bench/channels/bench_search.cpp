// Times the channel search per keystroke over 200,000 channel names, through the real
// search field and result list, offscreen. Baseline: drawing the channel window's tree
// (every group open) in the same run, the cost of one ordinary frame of that window.

#include "ChannelSearch.h"
#include "SearchPanel.h"
#include "ShippedChannelWindow.h"
#include "WinApp.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTextStream>
#include <QTreeWidget>

#include <algorithm>
#include <vector>

namespace {
constexpr int kChannels = 200000;
constexpr int kDrawRuns = 41;

// Names in the shape of the big public lists: a brand, a place or genre, a tag.
QStringList MakeNames()
{
    const QStringList brands = {"Canal", "Télé", "Radio", "Sport", "News", "Kino", "Música", "Première",
                                "Euro", "Info", "Cinéma", "Дождь", "Première Classe", "Star", "Zoom"};
    const QStringList places = {"Québec", "Zürich", "São Paulo", "Kraków", "Nord", "Sud", "Østfold",
                                "Ελλάδα", "Málaga", "Liège", "Bayern", "Anatolia", "Kansai", "Wales"};
    const QStringList tags = {"HD", "FHD", "24", "+1", "(720p)", "[Geo-blocked]", "Live", "Plus", "2"};
    QRandomGenerator random(7);
    QStringList names;
    names.reserve(kChannels);
    for (int k = 0; k < kChannels; ++k) {
        names.append(brands[random.bounded(brands.size())] + QLatin1Char(' ') + places[random.bounded(places.size())]
                     + QLatin1Char(' ') + tags[random.bounded(tags.size())] + QLatin1Char(' ')
                     + QString::number(k));
    }
    return names;
}

struct Figures
{
    double median;
    double worst;
};

Figures Summarise(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
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
    auto* tree = dlg.findChild<QTreeWidget*>(QStringLiteral("channelTree"));
    tree->expandAll();
    std::vector<double> draws;
    for (int run = 0; run < kDrawRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        tree->viewport()->grab();
        draws.push_back(timer.nsecsElapsed() / 1e6);
    }
    const Figures draw = Summarise(draws);

    QWidget window;
    window.resize(220, 480);
    SearchPanel panel(&window);
    const QStringList channelNames = MakeNames();
    // Every channel numbered, as the big lists do; details shared by group, as the window makes them.
    SearchEntries entries;
    entries.names = channelNames;
    for (int k = 0; k < kChannels; ++k) {
        entries.numbers.append(QString::number(k + 1));
        entries.details.append(QStringLiteral("Group \u00b7 Provider"));
    }
    QElapsedTimer indexTimer;
    indexTimer.start();
    panel.SetEntries(std::move(entries));
    const double indexMs = indexTimer.nsecsElapsed() / 1e6;
    panel.SetArea(QRect(2, 25, 216, 350));
    window.show();
    panel.Open();
    auto* field = window.findChild<QLineEdit*>(QStringLiteral("searchField"));

    // Typed one key at a time, then cleared; the first keys match most names.
    const QStringList queries = {"sport", "quebec", "zurich", "premiere classe", "e", "дождь", "hd 1999", "xyz"};
    std::vector<double> keys;
    ChannelSearch alone;
    for (const QString& name : channelNames)
        alone.Add(name);
    std::vector<double> finds;
    for (const QString& query : queries) {
        for (qsizetype length = 1; length <= query.size(); ++length) {
            QElapsedTimer timer;
            timer.start();
            field->setText(query.left(length));
            window.repaint();
            keys.push_back(timer.nsecsElapsed() / 1e6);
            timer.restart();
            alone.Find(query.left(length));
            finds.push_back(timer.nsecsElapsed() / 1e6);
        }
        field->clear();
    }
    const Figures key = Summarise(keys);
    const Figures find = Summarise(finds);

    QTextStream out(stdout);
    out << "offscreen; " << kChannels << " channels, " << keys.size() << " keystrokes\n";
    out << "baseline, drawing the open channel tree: median " << draw.median << " ms, worst " << draw.worst
        << " ms\n";
    out << "index of " << kChannels << " names (once per language or playlist change): " << indexMs << " ms\n";
    out << "search per keystroke, with the list drawn: median " << key.median << " ms ("
        << key.median / draw.median << " x baseline), worst " << key.worst << " ms ("
        << key.worst / draw.median << " x baseline); one frame is 16 ms\n";
    out << "of which finding alone: median " << find.median << " ms, worst " << find.worst << " ms\n";
    return 0;
}
