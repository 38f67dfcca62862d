#include "RecordingPlanner.h"

#include "RecordingBook.h"

#include <algorithm>

namespace {

// What tells one episode from another, as far as the guide says: its number, else its
// sub-title; empty when it says neither.
QString EpisodeMark(const ProgrammeFacts& programme)
{
    if (!programme.episode.trimmed().isEmpty())
        return QStringLiteral("#") + programme.episode.simplified();
    return programme.subTitle.simplified().toCaseFolded();
}

struct Planning {
    const RecordingBook& book;
    const PlanSettings& settings;
    PlanTime now;
    std::vector<PlannedRecording> plan;

    bool Recorded(const ChannelKey& channel, PlanTime start) const
    {
        const auto& recorded = book.Recorded();
        return std::any_of(recorded.begin(), recorded.end(), [&](const RecordedProgramme& done) {
            return done.channel == channel && done.programme.start == start;
        });
    }

    bool EpisodeKnown(const QString& title, const QString& mark) const
    {
        const auto& recorded = book.Recorded();
        const bool before = std::any_of(recorded.begin(), recorded.end(), [&](const RecordedProgramme& done) {
            return done.state != RecordedState::Failed && RecordingPlanner::SameTitle(done.programme.title, title)
                   && EpisodeMark(done.programme) == mark;
        });
        return before || std::any_of(plan.begin(), plan.end(), [&](const PlannedRecording& planned) {
                   return RecordingPlanner::SameTitle(planned.programme.title, title) && EpisodeMark(planned.programme) == mark;
               });
    }

    void Add(const RecordingRule& rule, const ChannelKey& channel, const QString& channelName, const ProgrammeFacts& programme)
    {
        if (programme.stop <= now || book.Skipped(channel, programme.start) || Recorded(channel, programme.start))
            return;
        PlannedRecording planned{rule.id, channel, channelName, programme, programme.start - settings.before,
                                 programme.stop + settings.after, false};
        const bool twice = std::any_of(plan.begin(), plan.end(), [&](const PlannedRecording& p) { return p.SameProgramme(planned); });
        if (!twice)
            plan.push_back(std::move(planned));
    }

    void AddSeries(const RecordingRule& rule, const std::vector<PlanChannel>& channels, const ProgrammesOf& programmesOf)
    {
        const std::vector<PlanChannel> own{{rule.channel, rule.channelName}};
        for (const PlanChannel& channel : rule.anyChannel ? channels : own) {
            for (const ProgrammeFacts& programme : programmesOf(channel.key, now, now + RecordingPlanner::kHorizon)) {
                if (!RecordingPlanner::SameTitle(programme.title, rule.programme.title))
                    continue;
                const QString mark = EpisodeMark(programme);
                if (rule.newOnly && !mark.isEmpty() && EpisodeKnown(programme.title, mark))
                    continue;
                Add(rule, channel.key, channel.name, programme);
            }
        }
    }

    // In order of start, each one that would make more than atOnce at a time is a conflict;
    // those before it keep their place.
    void MarkConflicts()
    {
        std::stable_sort(plan.begin(), plan.end(), [](const PlannedRecording& a, const PlannedRecording& b) { return a.from < b.from; });
        for (std::size_t i = 0; i < plan.size(); ++i) {
            const int overlapping = int(std::count_if(plan.begin(), plan.begin() + std::ptrdiff_t(i), [&](const PlannedRecording& p) {
                return !p.conflict && p.to > plan[i].from;
            }));
            const auto& recorded = book.Recorded();
            const int running = int(std::count_if(recorded.begin(), recorded.end(), [&](const RecordedProgramme& done) {
                return done.state == RecordedState::Recording && done.programme.stop + settings.after > plan[i].from;
            }));
            plan[i].conflict = overlapping + running >= settings.atOnce;
        }
    }
};

} // namespace

std::vector<PlannedRecording> RecordingPlanner::Plan(const RecordingBook& book, const std::vector<PlanChannel>& channels,
                                                     const ProgrammesOf& programmesOf, PlanTime now,
                                                     const PlanSettings& settings)
{
    Planning planning{book, settings, now, {}};
    for (const RecordingRule& rule : book.Rules()) {
        if (rule.kind == RuleKind::Once)
            planning.Add(rule, rule.channel, rule.channelName, rule.programme);
        else
            planning.AddSeries(rule, channels, programmesOf);
    }
    planning.MarkConflicts();
    return std::move(planning.plan);
}

bool RecordingPlanner::SameTitle(const QString& a, const QString& b)
{
    return a.simplified().compare(b.simplified(), Qt::CaseInsensitive) == 0;
}
