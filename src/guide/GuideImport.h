#pragma once
// One guide's import, start to end, on the calling thread: source file → inflation (on a
// thread of its own) → XMLTV reader → matching → store. Only programmes of channels the
// viewer has, from a week back to two weeks ahead, are stored; every guide channel is.

#include "GuideMatcher.h"

#include <QString>

#include <atomic>
#include <functional>
#include <string>

class GuideDatabase;

enum class GuideProblem {
    None,
    Unreadable, // detail: the system's reason
    Empty,
    WebPage,
    NotGuide,   // detail: what it is instead, when known
    Entities,
    TooLarge,
    Truncated,  // kept what was read
    Damaged,    // kept what was read; line: where
    Cancelled,
    StoreFailed,
    // Downloads that failed; what was stored of the guide stays.
    HttpStatus, // detail: the status code
    TimedOut,
    Network,    // detail: the network's own description
    // Read, but every programme read lies outside the days kept, so none was stored.
    // detail: seconds since 1970 of its first programme's start, its last one's end, and
    // of the first and last moment kept, separated by spaces.
    OutsideDays,
};

struct GuideImportJob {
    QString source;   // the guide's address or path, as the viewer gave it
    QString path;     // the local file holding its bytes
    GuideMatcher matcher;
    std::string language; // texts in this language are preferred, e.g. "en"
    qint64 now = 0;   // seconds since 1970, UTC: the window of programmes kept is around it
    qint64 daysBack = 7; // how far back from now programmes are kept
};

struct GuideImportResult {
    GuideProblem problem = GuideProblem::None;
    int line = 0;
    QString detail;
    int channels = 0;    // guide channels stored
    int programmes = 0;  // programmes stored
    int skipped = 0;     // programmes whose times could not be read
    int unknownZones = 0; // programmes read whose times name a zone not known, read as UTC
    bool stored = false; // false: the store holds the guide as it was before

    // Problems after which what was read is still stored.
    static bool Keeps(GuideProblem problem)
    {
        return problem == GuideProblem::Truncated || problem == GuideProblem::Damaged || problem == GuideProblem::OutsideDays;
    }
};

class GuideImport
{
public:
    static constexpr qint64 kDaysBack = 7; // the most kept: the guide window shows as many
    static constexpr qint64 kDaysAhead = 14;

    // progress: thousandths of the source read, called now and then.
    GuideImport(const GuideDatabase& database, const GuideImportJob& job, const std::atomic<bool>& cancel,
                std::function<void(int)> progress = {});
    GuideImportResult Run();

private:
    const GuideDatabase& database;
    const GuideImportJob& job;
    const std::atomic<bool>& cancel;
    std::function<void(int)> progress;
};
