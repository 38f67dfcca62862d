#include "RecordingScheduler.h"

#include "LogCategories.h"
#include "RecordingSidecar.h"

#include <QDateTime>
#include <QFile>

#include <algorithm>

namespace {

// A recording begun this much after its padded start was late: its programme's start is
// missing.
constexpr std::chrono::seconds kLateAfter{30};
// The plan is made again at least this often, for the guide's changes and new series
// episodes coming into view.
constexpr std::chrono::seconds kLongestWait{60};
constexpr int kMsPerSecond = 1000;
constexpr int kWakeMarginMs = 200;

QDateTime LocalTime(PlanTime time)
{
    return QDateTime::fromSecsSinceEpoch(time.time_since_epoch().count());
}

} // namespace

RecordingScheduler::RecordingScheduler(Clock clock) : clock(std::move(clock))
{
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &RecordingScheduler::Replan);
}

RecordingScheduler::~RecordingScheduler()
{
    // Ended now, the files closed properly: read back, they are partial.
    copiers.clear();
}

PlanTime RecordingScheduler::SystemNow()
{
    return std::chrono::time_point_cast<std::chrono::seconds>(std::chrono::system_clock::now());
}

void RecordingScheduler::SetGuide(ProgrammesOf programmes, ChannelsOf anyChannels)
{
    programmesOf = std::move(programmes);
    channelsOf = std::move(anyChannels);
}

void RecordingScheduler::SetSettings(const PlanSettings& values)
{
    settings = values;
    Replan();
}

void RecordingScheduler::Load(const QString& path)
{
    book = RecordingBook(path);
    book.Load();
    for (const RecordingRule& rule : book.Rules())
        rulesBefore.insert(rule.id);
    book.Save(); // what was under way is partial now
    Replan();
}

void RecordingScheduler::Record(const ChannelKey& channel, const QString& channelName, const ProgrammeFacts& programme)
{
    RecordingRule rule;
    rule.kind = RuleKind::Once;
    rule.channel = channel;
    rule.channelName = channelName;
    rule.programme = programme;
    AddRule(std::move(rule));
}

void RecordingScheduler::RecordSeries(const ChannelKey& channel, const QString& channelName, const ProgrammeFacts& programme,
                                      bool anyChannel, bool newOnly)
{
    RecordingRule rule;
    rule.kind = RuleKind::Series;
    rule.channel = channel;
    rule.channelName = channelName;
    rule.programme = programme;
    rule.anyChannel = anyChannel;
    rule.newOnly = newOnly;
    AddRule(std::move(rule));
}

void RecordingScheduler::AddRule(RecordingRule rule)
{
    if (rule.programme.stop <= clock())
        return;
    const auto same = std::find_if(book.Rules().begin(), book.Rules().end(), [&](const RecordingRule& r) {
        return r.kind == rule.kind && r.channel == rule.channel && r.anyChannel == rule.anyChannel
               && (r.kind == RuleKind::Once ? r.programme.start == rule.programme.start
                                            : RecordingPlanner::SameTitle(r.programme.title, rule.programme.title));
    });
    if (same != book.Rules().end())
        return;
    const int id = book.AddRule(std::move(rule));
    Replan();
    for (const PlannedRecording& planned : plan) {
        if (planned.rule != id || !planned.conflict)
            continue;
        std::vector<PlannedRecording> overlapping;
        std::copy_if(plan.begin(), plan.end(), std::back_inserter(overlapping), [&](const PlannedRecording& p) {
            return !p.SameProgramme(planned) && !p.conflict && p.from < planned.to && p.to > planned.from;
        });
        emit Conflict(planned, overlapping);
        return;
    }
}

void RecordingScheduler::RemoveRule(int id)
{
    if (book.RemoveRule(id))
        Replan();
}

void RecordingScheduler::Skip(const PlannedRecording& planned)
{
    book.Skip(planned.channel, planned.programme.start);
    Replan();
}

bool RecordingScheduler::DeleteRecorded(const QString& path)
{
    if (copiers.count(path) != 0)
        return false;
    auto& recorded = book.Recorded();
    const auto found = std::find_if(recorded.begin(), recorded.end(), [&](const RecordedProgramme& r) { return r.path == path; });
    if (found == recorded.end())
        return false;
    if (QFile::exists(path) && !QFile::remove(path))
        return false;
    QFile::remove(RecordingSidecar::PathOf(path));
    recorded.erase(found);
    book.Save();
    emit Changed();
    return true;
}

qint64 RecordingScheduler::BytesOf(const QString& path) const
{
    const auto found = copiers.find(path);
    return found != copiers.end() ? found->second->BytesWritten() : 0;
}

bool RecordingScheduler::BusyBefore(PlanTime then) const
{
    return Busy() || std::any_of(plan.begin(), plan.end(), [&](const PlannedRecording& p) { return !p.conflict && p.from < then; });
}

void RecordingScheduler::Replan()
{
    const PlanTime now = clock();
    // How far into its second the system's clock is: the wake-up is counted from there.
    using std::chrono::milliseconds;
    const auto precise = std::chrono::system_clock::now();
    const auto intoSecond = std::chrono::duration_cast<milliseconds>(precise - std::chrono::floor<std::chrono::seconds>(precise));
    for (auto& [path, end] : ends) {
        if (end <= now && stopAsked.insert(path).second)
            copiers.at(path)->Stop();
    }
    DropOnceRulesOver(now);
    marks.Rebuild(book.Rules());
    plan = RecordingPlanner::Plan(book, channelsOf(), programmesOf, now, settings);
    for (const PlannedRecording& planned : std::vector<PlannedRecording>(plan)) {
        if (!planned.conflict && planned.from <= now)
            Begin(planned, now);
    }
    std::erase_if(plan, [now](const PlannedRecording& p) { return !p.conflict && p.from <= now; });
    Arm(now, intoSecond);
    emit Changed();
}

void RecordingScheduler::DropOnceRulesOver(PlanTime now)
{
    std::vector<int> over;
    for (const RecordingRule& rule : book.Rules()) {
        if (rule.kind == RuleKind::Once && rule.programme.stop + settings.after <= now)
            over.push_back(rule.id);
    }
    for (int id : over)
        book.RemoveRule(id);
}

void RecordingScheduler::Begin(const PlannedRecording& planned, PlanTime now)
{
    RecordedProgramme recording{planned.rule, planned.channel, planned.channelName, planned.programme, {},
                                RecordedState::Recording, RecordedProblem::None, now, now, 0};
    if (rulesBefore.count(planned.rule) != 0 && now > planned.from + kLateAfter) {
        recording.state = RecordedState::Partial;
        recording.problem = RecordedProblem::NotRunning;
    }
    const std::optional<CopySource> source = sourceOf(planned.channel);
    if (!source) {
        Fail(std::move(recording), RecordedProblem::ChannelUnavailable);
        return;
    }
    const RecordingTarget target = place.NewProgrammeRecording(planned.programme.title, planned.channelName, LocalTime(planned.programme.start));
    if (target.path.isEmpty()) {
        Fail(std::move(recording), RecordedProblem::DiskFull);
        return;
    }
    recording.path = target.path;
    QString problem;
    if (!RecordingSidecar::Write(target.path, planned.channelName, planned.programme, &problem))
        qCWarning(lcPlanner) << "the programme's details could not be written beside" << target.path << problem;
    auto copier = std::make_unique<StreamCopier>(*source, target.path);
    connect(copier.get(), &StreamCopier::Ended, this,
            [this, path = target.path](CopyOutcome outcome) { CopyEnded(path, outcome); });
    copier->Start();
    copiers[target.path] = std::move(copier);
    ends[target.path] = planned.to;
    // Kept as under way, late or not: a crash leaves it partial, not lost.
    recording.state = RecordedState::Recording;
    book.Recorded().push_back(recording);
    book.Save();
    qCInfo(lcPlanner) << "recording" << planned.programme.title << "on" << planned.channelName << "into" << target.path;
    emit Started(book.Recorded().back());
}

void RecordingScheduler::Fail(RecordedProgramme recording, RecordedProblem problem)
{
    recording.state = RecordedState::Failed;
    recording.problem = problem;
    qCWarning(lcPlanner) << "cannot record" << recording.programme.title << "on" << recording.channelName << int(problem);
    book.Recorded().push_back(recording);
    book.Save();
    emit Refused(recording);
}

RecordedProgramme* RecordingScheduler::RecordedAt(const QString& path)
{
    auto& recorded = book.Recorded();
    const auto found = std::find_if(recorded.begin(), recorded.end(), [&](const RecordedProgramme& r) { return r.path == path; });
    return found != recorded.end() ? &*found : nullptr;
}

void RecordingScheduler::CopyEnded(const QString& path, CopyOutcome outcome)
{
    const auto copier = copiers.find(path);
    if (copier == copiers.end())
        return;
    const qint64 packets = copier->second->Packets();
    const qint64 bytes = copier->second->BytesWritten();
    const PlanTime end = ends[path];
    // Told from inside the copier's own event: it goes once that is over.
    copier->second.release()->deleteLater();
    copiers.erase(copier);
    ends.erase(path);
    stopAsked.erase(path);
    RecordedProgramme* recording = RecordedAt(path);
    if (recording == nullptr)
        return;
    const PlanTime now = clock();
    recording->ended = now;
    recording->bytes = bytes;
    const bool early = now + kLateAfter < end;
    if (outcome == CopyOutcome::DiskFull)
        recording->problem = RecordedProblem::DiskFull;
    else if (outcome == CopyOutcome::Unavailable || (packets == 0) || (early && recording->problem == RecordedProblem::None))
        recording->problem = RecordedProblem::ChannelUnavailable;
    if (packets == 0) {
        recording->state = RecordedState::Failed;
        QFile::remove(path);
        QFile::remove(RecordingSidecar::PathOf(path));
    } else {
        recording->state = recording->problem == RecordedProblem::None ? RecordedState::Finished : RecordedState::Partial;
    }
    qCInfo(lcPlanner) << "recording ended:" << path << int(recording->state) << int(recording->problem);
    book.Save();
    Replan();
}

void RecordingScheduler::Arm(PlanTime now, std::chrono::milliseconds intoSecond)
{
    PlanTime next = now + kLongestWait;
    for (const PlannedRecording& planned : plan) {
        if (!planned.conflict)
            next = std::min(next, planned.from);
    }
    for (const auto& [path, end] : ends) {
        if (stopAsked.count(path) == 0)
            next = std::min(next, end);
    }
    // The clock counts whole seconds: woken a little after the second begins, not as far
    // after it as now was into its own.
    const qint64 untilNext = std::max<qint64>(0, (next - now).count() * kMsPerSecond - intoSecond.count());
    timer.start(int(untilNext + kWakeMarginMs));
}
