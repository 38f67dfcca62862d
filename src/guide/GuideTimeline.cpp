#include "GuideTimeline.h"

#include <algorithm>
#include <limits>

namespace {

struct Span {
    qint64 from = 0, to = 0;
};

constexpr qint64 kNever = std::numeric_limits<qint64>::max();
constexpr qint64 kAlways = std::numeric_limits<qint64>::min();

// Into free, the part of wanted within the pause [from, to) when that is long enough to fill.
void AddFillable(std::vector<Span>& free, qint64 from, qint64 to, Span wanted)
{
    if (from != kAlways && to != kNever && to - from < kGuideGapFilled)
        return;
    const Span part{std::max(from, wanted.from), std::min(to, wanted.to)};
    if (part.from < part.to)
        free.push_back(part);
}

// The parts of wanted within the pauses of taken (in order, apart) long enough to fill.
std::vector<Span> FreeParts(const std::vector<Span>& taken, Span wanted)
{
    std::vector<Span> free;
    if (wanted.from >= wanted.to)
        return free;
    qint64 pause = kAlways; // where the pause before the next span began
    for (const Span& span : taken) {
        if (pause >= wanted.to)
            return free;
        if (span.from > wanted.from)
            AddFillable(free, pause, span.from, wanted);
        pause = span.to;
    }
    AddFillable(free, pause, kNever, wanted);
    return free;
}

// The spans of both, in order, the overlapping ones joined.
std::vector<Span> Joined(std::vector<Span> spans, const std::vector<Span>& more)
{
    spans.insert(spans.end(), more.begin(), more.end());
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.from < b.from; });
    std::vector<Span> joined;
    for (const Span& span : spans) {
        if (!joined.empty() && span.from <= joined.back().to)
            joined.back().to = std::max(joined.back().to, span.to);
        else
            joined.push_back(span);
    }
    return joined;
}

} // namespace

std::vector<GuideProgramme> MergeGuideProgrammes(const std::vector<std::vector<GuideProgramme>>& byGuide)
{
    std::vector<GuideProgramme> merged;
    std::vector<Span> taken; // by the guides merged so far
    for (const std::vector<GuideProgramme>& programmes : byGuide) {
        std::vector<Span> added;
        for (const GuideProgramme& programme : programmes) {
            for (const Span& free : FreeParts(taken, {programme.start, programme.RunsUntil()})) {
                GuideProgramme& piece = merged.emplace_back(programme);
                piece.start = free.from;
                if (free.to < programme.RunsUntil()) {
                    piece.stop = free.to;
                    piece.hasStop = true;
                }
                added.push_back(free);
            }
        }
        taken = Joined(std::move(taken), added);
    }
    std::stable_sort(merged.begin(), merged.end(),
                     [](const GuideProgramme& a, const GuideProgramme& b) { return a.start < b.start; });
    return merged;
}
