#pragma once
// Which programmes the rules record, when each recording begins and ends (its padding
// counted), and which would be one too many at once. A series rule picks every programme of
// its title on its channel (or on any), and, for new episodes only, none whose episode
// number or sub-title was recorded before or comes earlier in the plan.

#include "PlannedTypes.h"

#include <functional>
#include <vector>

class RecordingBook;

struct PlanSettings {
    static constexpr int kDefaultBeforeMinutes = 2;
    static constexpr int kDefaultAfterMinutes = 5;
    static constexpr int kDefaultAtOnce = 2;

    std::chrono::seconds before = std::chrono::minutes(kDefaultBeforeMinutes);
    std::chrono::seconds after = std::chrono::minutes(kDefaultAfterMinutes);
    int atOnce = kDefaultAtOnce;
};

struct PlanChannel {
    ChannelKey key;
    QString name;
};

// The programmes a channel runs at any time in [from, to), in order of start.
using ProgrammesOf = std::function<std::vector<ProgrammeFacts>(const ChannelKey&, PlanTime from, PlanTime to)>;

namespace RecordingPlanner {

// How far ahead a series rule is looked up.
constexpr std::chrono::hours kHorizon{24};

// The recordings to come and under way at now, by their padded start. channels are those
// a rule for any channel looks on.
std::vector<PlannedRecording> Plan(const RecordingBook& book, const std::vector<PlanChannel>& channels,
                                   const ProgrammesOf& programmesOf, PlanTime now, const PlanSettings& settings);

// Whether a series rule takes a programme of this title.
bool SameTitle(const QString& a, const QString& b);

} // namespace RecordingPlanner
