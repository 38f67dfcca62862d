#include "GuideTimeline.h"

#include <algorithm>

namespace {

struct Span {
    qint64 from = 0, to = 0;
};

// The first part of wanted that none of taken (in order, apart) covers; empty when none.
Span FirstFree(const std::vector<Span>& taken, Span wanted)
{
    for (const Span& span : taken) {
        if (span.to <= wanted.from)
            continue;
        if (span.from >= wanted.to)
            break;
        if (span.from > wanted.from)
            return {wanted.from, span.from};
        wanted.from = span.to;
        if (wanted.from >= wanted.to)
            return {};
    }
    return wanted;
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

std::vector<GuideProgramme> MergeGuideProgrammes(std::vector<std::vector<GuideProgramme>> byGuide)
{
    std::vector<GuideProgramme> merged;
    std::vector<Span> taken; // by the guides merged so far
    for (std::vector<GuideProgramme>& programmes : byGuide) {
        std::vector<Span> added;
        for (GuideProgramme& programme : programmes) {
            const Span free = FirstFree(taken, {programme.start, programme.RunsUntil()});
            if (free.from >= free.to)
                continue;
            if (free.to < programme.RunsUntil()) {
                programme.stop = free.to;
                programme.hasStop = true;
            }
            programme.start = free.from;
            added.push_back(free);
            merged.push_back(std::move(programme));
        }
        taken = Joined(std::move(taken), added);
    }
    std::stable_sort(merged.begin(), merged.end(),
                     [](const GuideProgramme& a, const GuideProgramme& b) { return a.start < b.start; });
    return merged;
}
