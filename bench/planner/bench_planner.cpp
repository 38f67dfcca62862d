// 1. A background recording of a loopback stream: the process's CPU time over a stretch
//    of recording, against the same stretch idle in the same run (aim: at most 3 % of a
//    core more).
// 2. The guide window over a generated guide, opened and scrolled with 1,000 rules and
//    10,000 recorded programmes in the book, against the same with none (aim: within 5 %).
//   bench_planner [stream address] [--seconds N]

#include "Milliseconds.h"
#include "BuiltinTexts.h"
#include "GuideGrid.h"
#include "GuideImporter.h"
#include "GuideStore.h"
#include "GuideWindow.h"
#include "RecordingBook.h"
#include "RecordingMarks.h"
#include "StreamCopier.h"
#include "RecordedStream.h"
#include "ZooServer.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QWindow>

#include <sys/resource.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr int kDefaultSeconds = 20;
constexpr int kChannels = 300;
constexpr int kProgrammes = 150000;
constexpr int kRules = 1000;
constexpr int kRecorded = 10000;
constexpr int kFrames = 300;
constexpr int kRuns = 5;
constexpr QSize kWindowSize(1200, 800);

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The process's CPU time while the event loop runs for seconds.
double CpuOver(int seconds)
{
    const double before = CpuSeconds();
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    return CpuSeconds() - before;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Recording(QTextStream& out, const QString& address, int seconds)
{
    QTemporaryDir folder;
    const double idle = CpuOver(seconds);
    StreamCopier copier({address, {}, {}}, folder.filePath(QStringLiteral("bench.ts")));
    copier.Start();
    const double recording = CpuOver(seconds);
    copier.Stop();
    const double share = (recording - idle) / seconds * 100;
    out << "background recording of " << address << " for " << seconds << " s: " << QString::number(recording, 'f', 3)
        << " s of CPU, idle " << QString::number(idle, 'f', 3) << " s; " << QString::number(share, 'f', 2)
        << " % of a core more (aim: at most 3), " << copier.BytesWritten() / 1024 << " KiB written\n"
        << Qt::flush;
}

QString MakeGuide(const QString& folder)
{
    const QString path = folder + QStringLiteral("/guide.xml.gz");
    QProcess::execute(QStringLiteral(PYTHON_EXECUTABLE),
                      {QStringLiteral(KORVANTA_GUIDE_GENERATOR), QStringLiteral("big"), path,
                       QString::number(QDateTime::currentSecsSinceEpoch() - 3600), QStringLiteral("--channels"),
                       QString::number(kChannels), QStringLiteral("--programmes"), QString::number(kProgrammes)});
    return path;
}

void ShowAndPaint(QWidget& window)
{
    window.show();
    while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    window.repaint();
}

struct Figures {
    double openMs, framesPerSecond;
};

Figures GuideWindowWith(const GuideStore& store, const GuideMatcher& matcher, const std::vector<GuideViewerChannel>& channels,
                        const RecordingMarks& marks)
{
    LanguageStrings texts;
    texts[Guide] = BuiltinTexts(Guide);
    std::vector<GuideRow> rows;
    for (std::size_t i = 0; i < channels.size(); ++i)
        rows.push_back({ChannelKey{0, 0, int(i)}, channels[i].name});
    const auto linkOf = [&](const ChannelKey& key) { return matcher.Find(channels[std::size_t(key.entry)]); };
    std::vector<double> open, fps;
    for (int run = 0; run < kRuns; ++run) {
        std::unique_ptr<GuideWindow> window;
        open.push_back(Milliseconds([&] {
            window = std::make_unique<GuideWindow>(nullptr, texts, store, linkOf, [] { return QDateTime::currentSecsSinceEpoch(); });
            window->SetRecording([&marks](const ChannelKey& key, const GuideProgramme& programme) {
                return marks.Marked(key, programme.title, programme.start) ? GuideRecording::Series : GuideRecording::None;
            });
            window->resize(kWindowSize);
            window->SetLists({{QStringLiteral("bench"), rows}}, 0, 0);
            ShowAndPaint(*window);
        }));
        QAbstractScrollArea& grid = *window->Grid();
        const int rowHeight = 2 * window->fontMetrics().height();
        const double ms = Milliseconds([&] {
            for (int frame = 0; frame < kFrames; ++frame) {
                grid.verticalScrollBar()->setValue((frame % 100) * rowHeight);
                grid.viewport()->repaint();
            }
        });
        fps.push_back(kFrames * 1000.0 / ms);
    }
    return {Median(open), Median(fps)};
}

void GuideWithRules(QTextStream& out)
{
    QTemporaryDir folder;
    const QString guide = MakeGuide(folder.path());
    std::vector<GuideViewerChannel> channels;
    for (int i = 0; i < kChannels; ++i) {
        const QString id = QStringLiteral("ch%1.example").arg(i, 5, 10, QLatin1Char('0'));
        channels.push_back({id, id, {}, QStringLiteral("Channel %1").arg(i)});
    }
    GuideMatcher matcher(channels, {});
    const QString database = folder.filePath(QStringLiteral("guide.sqlite"));
    {
        GuideImporter importer(database);
        QEventLoop loop;
        QObject::connect(&importer, &GuideImporter::Imported, &loop, &QEventLoop::quit);
        importer.Import({QStringLiteral("bench"), guide, matcher, "en", QDateTime::currentSecsSinceEpoch()});
        loop.exec();
    }
    GuideStore store;
    store.Open(database);
    matcher.SetGuideChannels(store.Channels());

    // Rules of the titles on screen, and a long history of recorded programmes.
    RecordingBook book(folder.filePath(QStringLiteral("Recordings.xml")));
    const PlanTime now = std::chrono::time_point_cast<std::chrono::seconds>(std::chrono::system_clock::now());
    std::vector<RecordingRule> rules;
    for (int i = 0; i < kRules; ++i) {
        RecordingRule rule;
        rule.id = i + 1;
        rule.kind = i % 2 == 0 ? RuleKind::Series : RuleKind::Once;
        rule.channel = {0, 0, i % kChannels};
        rule.programme = {QStringLiteral("Programme %1").arg(i), {}, {}, {}, now + std::chrono::minutes(i), now + std::chrono::minutes(i + 30)};
        rules.push_back(rule);
    }
    for (int i = 0; i < kRecorded; ++i) {
        RecordedProgramme done;
        done.programme.title = QStringLiteral("Programme %1").arg(i);
        done.state = RecordedState::Finished;
        book.Recorded().push_back(done);
    }
    RecordingMarks none, many;
    many.Rebuild(rules);
    GuideWindowWith(store, matcher, channels, none); // the first window pays for what every later one finds made
    const Figures base = GuideWindowWith(store, matcher, channels, none);
    const Figures with = GuideWindowWith(store, matcher, channels, many);
    out << "guide window open, " << kRules << " rules and " << kRecorded << " recorded: " << QString::number(with.openMs, 'f', 1)
        << " ms, none " << QString::number(base.openMs, 'f', 1) << " ms, ratio " << QString::number(with.openMs / base.openMs, 'f', 3)
        << " (aim: at most 1.05)\n";
    out << "scrolling: " << QString::number(with.framesPerSecond, 'f', 0) << " frames a second, none "
        << QString::number(base.framesPerSecond, 'f', 0) << ", ratio "
        << QString::number(with.framesPerSecond / base.framesPerSecond, 'f', 3) << " (aim: at least 0.95)\n";
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QStringList args = app.arguments().mid(1);
    const int seconds = TakeNumberOption(args, QStringLiteral("--seconds"), kDefaultSeconds);
    ZooServer zoo;
    const QString address = RecordedStream(args, zoo, out);
    if (address.isEmpty())
        return 1;
    Recording(out, address, seconds);
    GuideWithRules(out);
    return 0;
}
