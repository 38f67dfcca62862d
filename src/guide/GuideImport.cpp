#include "GuideImport.h"

#include "GuideInflater.h"
#include "GuideWriter.h"
#include "XmltvReader.h"

#include <QFile>

#include <condition_variable>
#include <deque>
#include <limits>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace {

constexpr std::size_t kQueuedChunks = 8;
constexpr qint64 kSecondsPerDay = 86400;
// Times are stored as the guide gives them; offsets move them up to a day either way.
constexpr qint64 kOffsetMargin = kSecondsPerDay;
constexpr int kPermille = 1000;

// Plain bytes handed from the inflating thread to the reading one, a few chunks at most.
class ChunkQueue
{
public:
    struct Chunk {
        QByteArray bytes;
        qint64 sourcePosition = 0;
    };

    // False once the reader has gone.
    bool Push(Chunk chunk)
    {
        std::unique_lock lock(mutex);
        space.wait(lock, [this] { return queue.size() < kQueuedChunks || closed; });
        if (closed)
            return false;
        queue.push_back(std::move(chunk));
        ready.notify_one();
        return true;
    }
    // False at the end.
    bool Pop(Chunk& chunk)
    {
        std::unique_lock lock(mutex);
        ready.wait(lock, [this] { return !queue.empty() || closed; });
        if (queue.empty())
            return false;
        chunk = std::move(queue.front());
        queue.pop_front();
        space.notify_one();
        return true;
    }
    void Close()
    {
        std::lock_guard lock(mutex);
        closed = true;
        ready.notify_all();
        space.notify_all();
    }

private:
    std::mutex mutex;
    std::condition_variable ready, space;
    std::deque<Chunk> queue;
    bool closed = false;
};

GuideProblem FromInflater(GuideInflater::Ending ending)
{
    switch (ending) {
    case GuideInflater::Ending::Complete: return GuideProblem::None;
    case GuideInflater::Ending::Truncated: return GuideProblem::Truncated;
    case GuideInflater::Ending::Damaged: return GuideProblem::Damaged;
    case GuideInflater::Ending::TooLarge: return GuideProblem::TooLarge;
    case GuideInflater::Ending::Unreadable: return GuideProblem::Unreadable;
    }
    return GuideProblem::Unreadable;
}

GuideProblem FromReader(XmltvProblem problem)
{
    switch (problem) {
    case XmltvProblem::None: return GuideProblem::None;
    case XmltvProblem::Empty: return GuideProblem::Empty;
    case XmltvProblem::WebPage: return GuideProblem::WebPage;
    case XmltvProblem::NotGuide: return GuideProblem::NotGuide;
    case XmltvProblem::Entities: return GuideProblem::Entities;
    case XmltvProblem::Damaged: return GuideProblem::Damaged;
    case XmltvProblem::Truncated: return GuideProblem::Truncated;
    }
    return GuideProblem::Damaged;
}

// A refusal wins over a stream that ended early, which explains a reader's problem best.
GuideProblem Combined(GuideInflater::Ending ending, XmltvProblem problem)
{
    const GuideProblem inflation = FromInflater(ending);
    const GuideProblem reading = FromReader(problem);
    if (inflation == GuideProblem::TooLarge || inflation == GuideProblem::Unreadable)
        return inflation;
    if (reading != GuideProblem::None && !GuideImportResult::Keeps(reading))
        return reading;
    return inflation != GuideProblem::None ? inflation : reading;
}

// Receives the reader's channels and programmes and writes what is wanted.
class Sink : public XmltvSink
{
public:
    Sink(GuideWriter& writer, const GuideImportJob& job, GuideImportResult& result)
        : writer(writer), job(job), result(result),
          earliest(job.now - job.daysBack * kSecondsPerDay - kOffsetMargin),
          latest(job.now + GuideImport::kDaysAhead * kSecondsPerDay + kOffsetMargin)
    {
    }

    void Channel(XmltvChannel& channel) override
    {
        if (channel.id.empty() || known.count(channel.id) != 0)
            return; // a channel declared twice keeps its first declaration
        QStringList names;
        for (const std::string& name : channel.names)
            names.append(QString::fromStdString(name));
        const bool wanted = job.matcher.Wants(job.source, QString::fromStdString(channel.id), names);
        known[channel.id] = {writer.AddChannel(channel), wanted};
        ++result.channels;
    }

    bool WantsProgrammesOf(const std::string& channel) override
    {
        const auto found = known.find(channel);
        return found == known.end() || found->second.wanted;
    }

    void Programme(XmltvProgramme& programme) override
    {
        if (!InWindow(programme)) {
            NoteOutside(programme);
            return;
        }
        const auto found = known.find(programme.channel);
        if (found == known.end()) {
            writer.Hold(programme); // its channel may come later
            return;
        }
        writer.AddProgramme(found->second.number, programme);
        ++result.programmes;
    }

    // Programmes that came before their channel; a channel never declared is matched
    // by its id alone.
    void PlaceHeld()
    {
        writer.ForEachHeld([this](XmltvProgramme& programme) {
            auto found = known.find(programme.channel);
            if (found == known.end()) {
                XmltvChannel undeclared{programme.channel, {}, {}};
                const bool wanted = job.matcher.Wants(job.source, QString::fromStdString(undeclared.id), {});
                found = known.emplace(undeclared.id, Known{writer.AddChannel(undeclared), wanted}).first;
                ++result.channels;
            }
            if (found->second.wanted) {
                writer.AddProgramme(found->second.number, programme);
                ++result.programmes;
            }
        });
    }

    // What to tell when every programme of the viewer's channels lay outside the window:
    // the days the guide holds and those kept. Empty when any was inside, or none was read.
    QString OutsideDays() const
    {
        if (result.programmes > 0 || firstOutside > lastOutside)
            return {};
        const qint64 keptFrom = job.now - job.daysBack * kSecondsPerDay;
        const qint64 keptTo = job.now + GuideImport::kDaysAhead * kSecondsPerDay;
        return QStringLiteral("%1 %2 %3 %4").arg(firstOutside).arg(lastOutside).arg(keptFrom).arg(keptTo);
    }

private:
    struct Known {
        qint64 number = 0;
        bool wanted = false;
    };

    void NoteOutside(const XmltvProgramme& programme)
    {
        firstOutside = std::min(firstOutside, programme.start);
        lastOutside = std::max(lastOutside, programme.hasStop ? programme.stop : programme.start);
    }

    bool InWindow(const XmltvProgramme& programme) const
    {
        return (programme.hasStop ? programme.stop : programme.start) >= earliest && programme.start <= latest;
    }

    GuideWriter& writer;
    const GuideImportJob& job;
    GuideImportResult& result;
    qint64 earliest, latest;
    qint64 firstOutside = std::numeric_limits<qint64>::max(), lastOutside = std::numeric_limits<qint64>::min();
    std::unordered_map<std::string, Known> known;
};

} // namespace

GuideImport::GuideImport(const GuideDatabase& database, const GuideImportJob& job, const std::atomic<bool>& cancel,
                         std::function<void(int)> progress)
    : database(database), job(job), cancel(cancel), progress(std::move(progress))
{
}

GuideImportResult GuideImport::Run()
{
    GuideImportResult result;
    QFile file(job.path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.problem = GuideProblem::Unreadable;
        result.detail = file.errorString();
        return result;
    }
    GuideWriter writer(database);
    if (!writer.Begin(job.source)) {
        result.problem = GuideProblem::StoreFailed;
        return result;
    }

    GuideInflater inflater(file);
    ChunkQueue queue;
    std::thread inflating([&] {
        ChunkQueue::Chunk chunk;
        while (inflater.Next(chunk.bytes)) {
            chunk.sourcePosition = inflater.SourceBytesRead();
            if (!queue.Push(std::move(chunk)))
                break;
        }
        queue.Close();
    });

    Sink sink(writer, job, result);
    XmltvReader reader(sink, job.language);
    const qint64 size = std::max<qint64>(file.size(), 1);
    ChunkQueue::Chunk chunk;
    bool reading = true;
    while (reading && queue.Pop(chunk)) {
        reading = !cancel && reader.Feed(chunk.bytes.constData(), chunk.bytes.size());
        if (progress)
            progress(static_cast<int>(chunk.sourcePosition * kPermille / size));
    }
    queue.Close();
    inflating.join();
    if (reading)
        reader.Finish();

    result.problem = cancel ? GuideProblem::Cancelled : Combined(inflater.End(), reader.Problem());
    result.line = result.problem == GuideProblem::Damaged ? reader.ProblemLine() : 0;
    result.detail = QString::fromStdString(reader.ProblemDetail());
    result.skipped = reader.SkippedProgrammes();
    result.unknownZones = reader.UnknownZones();
    if (result.problem == GuideProblem::Unreadable)
        result.detail = file.errorString();

    const bool nothingRead = result.channels == 0 && result.programmes == 0;
    if (result.problem != GuideProblem::None && (!GuideImportResult::Keeps(result.problem) || nothingRead)) {
        writer.Rollback();
        result.channels = result.programmes = 0;
        return result;
    }
    sink.PlaceHeld();
    if (result.problem == GuideProblem::None) {
        result.detail = sink.OutsideDays();
        if (!result.detail.isEmpty())
            result.problem = GuideProblem::OutsideDays;
    }
    result.stored = writer.Commit(static_cast<int>(result.problem), job.now);
    if (!result.stored) {
        result.problem = GuideProblem::StoreFailed;
        result.channels = result.programmes = 0;
    }
    return result;
}
