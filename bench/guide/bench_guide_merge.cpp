// Three guides of 1,000,000 programmes each for the same 10,000 channels, their times
// apart and each with pauses of its own (about one in a hundred programmes, of two hours): now and next for every channel read through all
// three, next to the same read through the first guide alone, in the same run. Then the
// guide window over 1,500 of the channels opened and scrolled with 1,000 reminders on its
// programmes, next to the same with none. *display* for the second part.
//   bench_guide_merge [store folder]   (a store the folder already holds is used again)

#include "Milliseconds.h"
#include "BuiltinTexts.h"
#include "GuideDatabase.h"
#include "GuideGrid.h"
#include "GuideMatcher.h"
#include "GuideStore.h"
#include "GuideWindow.h"
#include "LanguageStrings.h"
#include "ReminderBook.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWindow>

#include <algorithm>
#include <vector>

namespace {

constexpr int kGuides = 3;
constexpr int kChannels = 10000;
constexpr int kPerChannel = 100; // 1,000,000 a guide
constexpr int kHalfHour = 30 * 60;
constexpr int kPauseEvery = 100;        // a programme of each so many is followed by a pause
constexpr int kPauseSeconds = 2 * 3600; // long enough for the next guide to fill
constexpr int kGuideOffset = 10 * 60;   // each guide's times that much after the one before
constexpr int kRuns = 7;
constexpr int kWindowChannels = 1500;
constexpr int kReminders = 1000;
constexpr int kReminderHours = 48; // how far ahead they lie, hour by hour
constexpr int kFrames = 200;
constexpr QSize kWindowSize(1200, 800);

QString IdOf(int channel)
{
    return QStringLiteral("ch%1.example").arg(channel, 5, 10, QLatin1Char('0'));
}

QString Source(int guide)
{
    return QStringLiteral("guide%1").arg(guide + 1);
}

// The three guides written straight into the store, as an import would leave them.
void Fill(const QString& path, qint64 now)
{
    GuideDatabase database;
    database.Open(path);
    database.Exec("BEGIN");
    GuideDatabase::Statement guide(database, "INSERT INTO guides(source, imported, problem) VALUES(?1, ?2, 0)");
    GuideDatabase::Statement channel(database, "INSERT INTO channels(guide, id, names, icon) VALUES(?1, ?2, ?3, '')");
    GuideDatabase::Statement programme(database, "INSERT INTO programmes VALUES(?1, ?2, ?3, ?4, '', 'A programme.', '', '', '')");
    QRandomGenerator random(7);
    qint64 cid = 0;
    for (int g = 0; g < kGuides; ++g) {
        guide.Bind(1, Source(g)).Bind(2, now).Run();
        for (int c = 0; c < kChannels; ++c) {
            channel.Bind(1, qint64(g + 1)).Bind(2, IdOf(c)).Bind(3, QStringLiteral("Channel %1").arg(c)).Run();
            ++cid;
            qint64 at = now - 2 * 86400 + g * kGuideOffset + random.bounded(kHalfHour);
            for (int n = 0; n < kPerChannel; ++n) {
                const qint64 length = kHalfHour * (1 + random.bounded(3));
                programme.Bind(1, cid).Bind(2, at).Bind(3, at + length).Bind(4, QStringLiteral("Title %1").arg(n)).Run();
                at += length + (random.bounded(kPauseEvery) == 0 ? kPauseSeconds : 0);
            }
        }
    }
    database.Exec("COMMIT");
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void ShowAndPaint(QWidget& window)
{
    window.show();
    while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    window.repaint();
}

double ScrollMs(GuideGrid& grid)
{
    const int row = 2 * grid.fontMetrics().height();
    return Milliseconds([&] {
        for (int frame = 0; frame < kFrames; ++frame) {
            grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->value() + row);
            grid.viewport()->repaint();
        }
    });
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir temporary;
    const QString folder = app.arguments().size() > 1 ? app.arguments()[1] : temporary.path();
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/guides.sqlite");
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    if (!QFileInfo::exists(path)) {
        const double filled = Milliseconds([&] { Fill(path, now); });
        out << "stored " << kGuides << " guides of " << kChannels * kPerChannel << " programmes in "
            << QString::number(filled / 1000, 'f', 1) << " s\n" << Qt::flush;
    }
    GuideStore store;
    store.Open(path);
    std::vector<GuideViewerChannel> channels;
    for (int c = 0; c < kChannels; ++c)
        channels.push_back({IdOf(c), IdOf(c), {}, QStringLiteral("Channel %1").arg(c)});
    const QStringList order = {Source(0), Source(1), Source(2)};
    const auto linksWith = [&](const std::map<QString, GuideSetting>& settings) {
        GuideMatcher matcher(channels, {});
        matcher.SetGuideChannels(store.Channels(), order, settings);
        std::vector<GuideLink> links;
        for (const GuideViewerChannel& channel : channels)
            links.push_back(matcher.Find(channel));
        return links;
    };
    const std::vector<GuideLink> three = linksWith({});
    const std::vector<GuideLink> one = linksWith({{Source(1), {true, 0, 0}}, {Source(2), {true, 0, 0}}});
    // At moments spread over a day, so that the pauses come in as often as they do.
    std::vector<double> merged, single;
    int onNow = 0;
    const auto read = [&](const std::vector<GuideLink>& links, int run) {
        return Milliseconds([&] {
            const qint64 at = now + run * 3 * 3600;
            for (const GuideLink& link : links)
                onNow += store.NowAndNext(link, at).now.has_value();
        });
    };
    // Once through each untimed: the store's pages in memory, as they are in a program that
    // has read its guide before.
    for (int run = 0; run < kRuns; ++run) {
        read(one, run);
        read(three, run);
    }
    for (int run = 0; run < kRuns; ++run) {
        single.push_back(read(one, run));
        merged.push_back(read(three, run));
    }
    const double m = Median(merged), s = Median(single);
    out << "now and next of " << kChannels << " channels: three guides " << QString::number(m, 'f', 1)
        << " ms, the first alone " << QString::number(s, 'f', 1) << " ms, ratio " << QString::number(m / s, 'f', 3)
        << " (aim: at most 1.10)\n" << Qt::flush;

    // The guide window with reminders: spread over its channels and the days to come, as
    // a viewer's would be.
    LanguageStrings texts;
    texts[Guide] = BuiltinTexts(Guide);
    texts[Schedule] = BuiltinTexts(Schedule);
    std::vector<GuideRow> rows;
    for (int c = 0; c < kWindowChannels; ++c)
        rows.push_back({ChannelKey{static_cast<ChannelId>(c + 1)}, channels[static_cast<std::size_t>(c)].name});
    ReminderBook book{temporary.filePath(QStringLiteral("Reminders.xml"))};
    const ScheduleTime clock{std::chrono::seconds(now)};
    for (int k = 0; k < kReminders; ++k) {
        const int c = k * kWindowChannels / kReminders;
        const qint64 from = now + (k % kReminderHours) * 3600;
        for (const GuideProgramme& p : store.Range(three[static_cast<std::size_t>(c)], from, from + 3 * 3600)) {
            if (p.start > from) {
                book.Add({ChannelKey{static_cast<ChannelId>(c + 1)}, rows[std::size_t(c)].name, p.title,
                          ScheduleTime(std::chrono::seconds(p.start)), ScheduleTime(std::chrono::seconds(p.stop))},
                         clock);
                break;
            }
        }
    }
    const auto linkOf = [&](const ChannelKey& key) { return three[key.id - 1]; };
    const auto remindedBy = [&](bool any) {
        return [&book, any](const ChannelKey& key, qint64 start) {
            return any && book.Has({key, {}, {}, ScheduleTime(std::chrono::seconds(start)), {}});
        };
    };
    std::vector<double> open[2], scroll[2];
    for (int run = 0; run < kRuns; ++run) {
        for (int with = 0; with < 2; ++with) {
            std::unique_ptr<GuideWindow> window;
            open[with].push_back(Milliseconds([&] {
                window = std::make_unique<GuideWindow>(nullptr, texts, store, linkOf, [now] { return now; });
                window->SetReminded(remindedBy(with == 1));
                window->resize(kWindowSize);
                window->SetLists({{QStringLiteral("bench"), rows}}, 0, 0);
                ShowAndPaint(*window);
            }));
            scroll[with].push_back(ScrollMs(*window->Grid()));
        }
    }
    const double o0 = Median(open[0]), o1 = Median(open[1]), s0 = Median(scroll[0]), s1 = Median(scroll[1]);
    out << "guide window with " << book.Reminders().size() << " reminders: open " << QString::number(o1, 'f', 1)
        << " ms, without " << QString::number(o0, 'f', 1) << " ms, ratio " << QString::number(o1 / o0, 'f', 3)
        << "; " << kFrames << " rows scrolled " << QString::number(s1, 'f', 1) << " ms, without "
        << QString::number(s0, 'f', 1) << " ms, ratio " << QString::number(s1 / s0, 'f', 3) << " (aim: at most 1.05)\n";
    return onNow > 0 ? 0 : 1;
}
