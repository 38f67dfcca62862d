#include "GuideImporter.h"

#include "GuideDatabase.h"
#include "GuideWriter.h"

#include <QElapsedTimer>

#include <sys/resource.h>
#include <unistd.h>

namespace {
constexpr int kProgressEveryMs = 100;
} // namespace

GuideImporter::GuideImporter(QString databasePath, QObject* parent)
    : QObject(parent), databasePath(std::move(databasePath))
{
    qRegisterMetaType<GuideImportResult>();
}

GuideImporter::~GuideImporter()
{
    cancel = true;
    if (worker.joinable())
        worker.join();
}

void GuideImporter::Import(GuideImportJob job)
{
    waiting.push_back({std::move(job), false});
    StartNext();
}

void GuideImporter::Remove(const QString& source)
{
    Cancel(source);
    Work work;
    work.job.source = source;
    work.remove = true;
    waiting.push_back(std::move(work));
    StartNext();
}

void GuideImporter::Cancel(const QString& source)
{
    std::erase_if(waiting, [&](const Work& work) { return work.job.source == source && !work.remove; });
    if (worker.joinable() && running.job.source == source && !running.remove)
        cancel = true;
}

void GuideImporter::StartNext()
{
    if (worker.joinable() || waiting.empty())
        return;
    running = std::move(waiting.front());
    waiting.pop_front();
    cancel = false;
    worker = std::thread([this] { Run(running); });
}

void GuideImporter::Run(const Work& work)
{
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kWorkerNice);
    const GuideImportResult result = RunOnDatabase(work);
    // Only now, with the database closed (closing may write the journal back), so that
    // joining this thread never waits.
    QMetaObject::invokeMethod(this, [this, work, result] { Done(work, result); }, Qt::QueuedConnection);
}

GuideImportResult GuideImporter::RunOnDatabase(const Work& work)
{
    GuideImportResult result;
    GuideDatabase database;
    if (!database.Open(databasePath)) {
        result.problem = GuideProblem::StoreFailed;
    } else if (work.remove) {
        result.stored = GuideWriter(database).Remove(work.job.source);
    } else {
        QElapsedTimer sinceReport;
        sinceReport.start();
        const auto progress = [&](int permille) {
            if (sinceReport.elapsed() < kProgressEveryMs)
                return;
            sinceReport.restart();
            QMetaObject::invokeMethod(this, [this, source = work.job.source, permille] { emit Progress(source, permille); },
                                      Qt::QueuedConnection);
        };
        result = GuideImport(database, work.job, cancel, progress).Run();
    }
    return result;
}

void GuideImporter::Done(const Work& work, const GuideImportResult& result)
{
    worker.join();
    if (work.remove)
        emit Removed(work.job.source, result.stored);
    else
        emit Imported(work.job.source, result);
    StartNext();
}
