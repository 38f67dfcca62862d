#pragma once
// What the recording planner keeps and tells: the viewer's rules, the programmes they pick,
// and what became of each recording.

#include "ChannelKey.h"

#include <QString>

#include <chrono>

using PlanTime = std::chrono::sys_seconds;

// A programme as the guide gave it.
struct ProgrammeFacts {
    QString title, subTitle, description, episode;
    PlanTime start{}, stop{};

    bool operator==(const ProgrammeFacts&) const = default;
};

enum class RuleKind { Once, Series };

struct RecordingRule {
    int id = 0;
    RuleKind kind = RuleKind::Once;
    ChannelKey channel;
    QString channelName;
    ProgrammeFacts programme; // Once: the programme; Series: the one it was made from
    bool anyChannel = false;  // Series: the title on every channel
    bool newOnly = false;     // Series: skip an episode recorded before

    bool operator==(const RecordingRule&) const = default;
};

// One programme the rules pick, with its padding.
struct PlannedRecording {
    int rule = 0;
    ChannelKey channel;
    QString channelName;
    ProgrammeFacts programme;
    PlanTime from{}, to{};
    bool conflict = false; // more would record at once than the viewer allows

    bool SameProgramme(const PlannedRecording& other) const
    {
        return channel == other.channel && programme.start == other.programme.start;
    }
};

enum class RecordedState { Recording, Finished, Partial, Failed };

enum class RecordedProblem {
    None,
    ChannelUnavailable,
    DiskFull,
    NotRunning, // Korvanta was not running for all of it, or at all
};

struct RecordedProgramme {
    int rule = 0;
    ChannelKey channel;
    QString channelName;
    ProgrammeFacts programme;
    QString path;
    RecordedState state = RecordedState::Recording;
    RecordedProblem problem = RecordedProblem::None;
    PlanTime began{}, ended{};
    qint64 bytes = 0;
};
