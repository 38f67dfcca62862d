#include "GuideTimeline.h"

#include <algorithm>

namespace {

struct Span {
    qint64 from = 0, to = 0;
};

// The parts of wanted that none of taken (in order, apart) covers.
std::vector<Span> FreeParts(const std::vector<Span>& taken, Span wanted)
{
    std::vector<Span> free;
    if (wanted.from >= wanted.to)
        return free;
    for (const Span& span : taken) {
        if (span.to <= wanted.from)
            continue;
        if (span.from >= wanted.to)
            break;
        if (span.from > wanted.from)
            free.push_back({wanted.from, span.from});
        wanted.from = span.to;
        if (wanted.from >= wanted.to)
            return free;
    }
    free.push_back(wanted);
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
