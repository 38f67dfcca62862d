// A scheduled recording's start: from the moment it is planned to begin (the programme's
// start less the padding before it) to the first bytes in its file, with the scheduler
// that was told, and with a new one that read the schedule back from its file as after a
// restart; against the copier opening the same stream itself in the same run (start to
// first bytes). Medians of the runs, interleaved; the aim: within 2 s of the planned time.
//   bench_recording_start [stream address] [--runs N]

#include "RecordingScheduler.h"
#include "StreamCopier.h"
#include "RecordedStream.h"
#include "ZooServer.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {

using std::chrono::seconds;

constexpr int kDefaultRuns = 5;
constexpr int kPollMs = 2;
constexpr int kLongestWaitMs = 30000;
constexpr seconds kLead{3};     // from scheduling to the planned begin
constexpr seconds kLength{60};  // of the programme; the run ends well before
constexpr qint64 kAimMs = 2000;
const ChannelKey kChannel{0, 0, 1};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

qint64 NowMs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

// Runs the event loop until the file path() names holds bytes; the wall clock then, in
// milliseconds, or 0 when it never did.
qint64 FirstBytes(const std::function<QString()>& path)
{
    QEventLoop loop;
    QTimer poll;
    qint64 at = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const QString file = path();
        if (!file.isEmpty() && QFileInfo(file).size() > 0) {
            at = NowMs();
            loop.quit();
        }
    });
    poll.start(kPollMs);
    QTimer::singleShot(kLongestWaitMs, &loop, &QEventLoop::quit);
    loop.exec();
    return at;
}

// The copier alone: from its start to the first bytes.
double Direct(const QString& address, const QString& folder)
{
    const QString path = folder + QStringLiteral("/direct.ts");
    StreamCopier copier({address, {}, {}}, path);
    const qint64 started = NowMs();
    copier.Start();
    const qint64 first = FirstBytes([&path] { return path; });
    return first > 0 ? double(first - started) : double(kLongestWaitMs);
}

void Prepare(RecordingScheduler& scheduler, const QString& address, const QString& folder)
{
    scheduler.SetPlace(RecordingPlace(folder + QStringLiteral("/videos")));
    scheduler.SetSources([address](const ChannelKey&) { return std::optional<CopySource>(CopySource{address, {}, {}}); });
    scheduler.SetSettings(PlanSettings()); // the viewer's defaults: 2 minutes early, 5 late
    scheduler.Load(folder + QStringLiteral("/Recordings.xml"));
}

// A programme scheduled to begin recording kLead from now, recorded by the scheduler told
// of it, or by a new one that reads it back from the file after the first has gone; from
// the planned begin to the first bytes.
double Scheduled(const QString& address, const QString& folder, bool restarted)
{
    const PlanTime begin = RecordingScheduler::SystemNow() + kLead;
    const PlanTime start = begin + PlanSettings().before;
    auto scheduler = std::make_unique<RecordingScheduler>();
    Prepare(*scheduler, address, folder);
    scheduler->Record(kChannel, QStringLiteral("Bench"), {QStringLiteral("Start"), {}, {}, {}, start, start + kLength});
    if (restarted) {
        scheduler.reset(); // closed before its time; the schedule is on disk
        scheduler = std::make_unique<RecordingScheduler>();
        Prepare(*scheduler, address, folder);
    }
    QString path;
    QObject::connect(scheduler.get(), &RecordingScheduler::Started,
                     [&path](const RecordedProgramme& recording) { path = recording.path; });
    const qint64 first = FirstBytes([&path] { return path; });
    const qint64 planned = std::chrono::duration_cast<std::chrono::milliseconds>(begin.time_since_epoch()).count();
    return first > 0 ? double(first - planned) : double(kLongestWaitMs);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QStringList args = app.arguments().mid(1);
    const int runs = std::max(1, TakeNumberOption(args, QStringLiteral("--runs"), kDefaultRuns));
    ZooServer zoo;
    const QString address = RecordedStream(args, zoo, out);
    if (address.isEmpty())
        return 1;
    std::vector<double> direct, told, restarted;
    for (int run = 0; run < runs; ++run) {
        QTemporaryDir folder;
        direct.push_back(Direct(address, folder.path()));
        told.push_back(Scheduled(address, folder.filePath(QStringLiteral("told")), false));
        restarted.push_back(Scheduled(address, folder.filePath(QStringLiteral("restarted")), true));
    }
    const double baseline = Median(direct), once = Median(told), again = Median(restarted);
    const auto ms = [](double value) { return QString::number(value, 'f', 0); };
    out << "scheduled recording of " << address << ", planned begin to first bytes (padding counted), median of " << runs
        << ": " << ms(once) << " ms; after a restart " << ms(again) << " ms; the copier opening the stream itself "
        << ms(baseline) << " ms, so the scheduler adds " << ms(once - baseline) << " and " << ms(again - baseline)
        << " ms (aim: both within " << kAimMs << " ms of the planned begin)\n";
    const auto worst = [](const std::vector<double>& values) { return *std::max_element(values.begin(), values.end()); };
    out << "slowest: " << ms(worst(told)) << " ms, after a restart " << ms(worst(restarted)) << " ms, the copier "
        << ms(worst(direct)) << " ms\n";
    return 0;
}
