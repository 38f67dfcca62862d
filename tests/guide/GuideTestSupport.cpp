#include "GuideTestSupport.h"

#include "GuideDatabase.h"

GuideImportResult ImportGuide(const QString& databasePath, const QString& source, const QString& path,
                              const GuideMatcher& matcher, qint64 now, const std::function<void(int)>& progress)
{
    GuideDatabase database;
    if (!database.Open(databasePath)) {
        GuideImportResult failed;
        failed.problem = GuideProblem::StoreFailed;
        return failed;
    }
    const GuideImportJob job{source, path, matcher, "en", now};
    const std::atomic<bool> cancel{false};
    return GuideImport(database, job, cancel, progress).Run();
}
