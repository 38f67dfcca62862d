// The guide window over 1,500 channels of a stored 1,000,000-programme guide: opening it
// until its first frame is painted, and scrolling it (frames a second), each next to a
// plain list of the same 1,500 names doing the same in the same run. Also now and next
// for each of the 1,500. With a cache folder, the store stays in
// <folder>/Korvanta/guide.sqlite, for bench_startup.py --cache.
//   bench_guide_window guide.xml.gz [cache folder]

#include "Milliseconds.h"
#include "BuiltinTexts.h"
#include "GuideGrid.h"
#include "GuideImporter.h"
#include "GuideStore.h"
#include "GuideWindow.h"
#include "LanguageStrings.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QListWidget>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWindow>

#include <vector>

namespace {

constexpr int kGuideChannels = 10000;
constexpr int kWindowChannels = 1500;
constexpr int kFrames = 300;
constexpr int kRuns = 5;
constexpr QSize kWindowSize(1200, 800);

std::vector<GuideViewerChannel> EveryChannel()
{
    std::vector<GuideViewerChannel> channels;
    for (int i = 0; i < kGuideChannels; ++i) {
        const QString id = QStringLiteral("ch%1.example").arg(i, 5, 10, QLatin1Char('0'));
        channels.push_back({id, id, {}, QStringLiteral("Channel %1").arg(i)});
    }
    return channels;
}

GuideImportResult Import(const QString& database, const QString& guide, const GuideMatcher& matcher)
{
    GuideImportResult imported;
    GuideImporter importer(database);
    QEventLoop loop;
    QObject::connect(&importer, &GuideImporter::Imported, &loop, [&](const QString&, const GuideImportResult& result) {
        imported = result;
        loop.quit();
    });
    importer.Import({QStringLiteral("bench"), guide, matcher, "en", QDateTime::currentSecsSinceEpoch()});
    loop.exec();
    return imported;
}

// Shows a window and paints it once it is on screen.
void ShowAndPaint(QWidget& window)
{
    window.show();
    while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    window.repaint();
}

// Frames a second of a view scrolled down a row a frame, painted at once.
double FramesPerSecond(QAbstractScrollArea& view, int rowHeight)
{
    const double ms = Milliseconds([&] {
        for (int frame = 0; frame < kFrames; ++frame) {
            view.verticalScrollBar()->setValue(view.verticalScrollBar()->value() + rowHeight);
            view.viewport()->repaint();
        }
    });
    return kFrames * 1000.0 / ms;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        out << "usage: bench_guide_window guide.xml.gz [cache folder]\n";
        return 2;
    }
    QTemporaryDir temporary;
    const QString folder = args.size() > 2 ? args[2] : temporary.path();
    QDir().mkpath(folder + QStringLiteral("/Korvanta"));
    const QString database = folder + QStringLiteral("/Korvanta/guide.sqlite");
    const std::vector<GuideViewerChannel> channels = EveryChannel();
    GuideMatcher matcher(channels, {});
    if (!QFileInfo::exists(database)) { // a store left by an earlier run is used again
        const GuideImportResult imported = Import(database, args[1], matcher);
        out << "stored " << imported.programmes << " programmes of " << imported.channels << " channels\n" << Qt::flush;
    }

    GuideStore store;
    store.Open(database);
    matcher.SetGuideChannels(store.Channels());
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    int found = 0;
    const double nowNext = Milliseconds([&] {
        for (int i = 0; i < kWindowChannels; ++i)
            found += store.NowAndNext(matcher.Find(channels[static_cast<std::size_t>(i)]), now).now.has_value();
    }) * 1000 / kWindowChannels;
    out << "now and next: " << QString::number(nowNext, 'f', 1) << " µs a channel (aim: at most 1000; " << found
        << " on now)\n";

    LanguageStrings texts;
    texts[Guide] = BuiltinTexts(Guide);
    std::vector<GuideRow> rows;
    QStringList names;
    for (int i = 0; i < kWindowChannels; ++i) {
        rows.push_back({ChannelKey{static_cast<ChannelId>(i + 1)}, channels[static_cast<std::size_t>(i)].name});
        names.append(channels[static_cast<std::size_t>(i)].name);
    }
    const auto linkOf = [&](const ChannelKey& key) { return matcher.Find(channels[key.id - 1]); };
    std::vector<double> open, openBase, fps, fpsBase;
    for (int run = 0; run < kRuns; ++run) {
        std::unique_ptr<GuideWindow> window;
        open.push_back(Milliseconds([&] {
            window = std::make_unique<GuideWindow>(nullptr, texts, store, linkOf,
                                                   [] { return QDateTime::currentSecsSinceEpoch(); });
            window->resize(kWindowSize);
            window->SetLists({{QStringLiteral("bench"), rows}}, 0, 0);
            ShowAndPaint(*window);
        }));
        std::unique_ptr<QListWidget> list;
        openBase.push_back(Milliseconds([&] {
            list = std::make_unique<QListWidget>();
            list->resize(kWindowSize);
            list->addItems(names);
            ShowAndPaint(*list);
        }));
        const int rowHeight = 2 * window->fontMetrics().height();
        fps.push_back(FramesPerSecond(*window->Grid(), rowHeight));
        fpsBase.push_back(FramesPerSecond(*list, list->sizeHintForRow(0)));
    }
    const double o = Median(open), ob = Median(openBase), f = Median(fps), fb = Median(fpsBase);
    out << "guide window open over " << kWindowChannels << " channels: " << QString::number(o, 'f', 1)
        << " ms (aim: at most 150), a plain list of their names " << QString::number(ob, 'f', 1) << " ms, ratio "
        << QString::number(o / ob, 'f', 2) << "\n";
    out << "scrolling a row a frame: " << QString::number(f, 'f', 0) << " frames a second (aim: at least 60), the plain"
        << " list " << QString::number(fb, 'f', 0) << ", ratio " << QString::number(f / fb, 'f', 2) << "\n";
    return 0;
}
