#pragma once
// A reminder of a programme to come: the channel it is on, its title, and when it runs.

#include "ChannelKey.h"

#include <QString>

#include <chrono>

using ScheduleTime = std::chrono::sys_seconds;

struct Reminder {
    ChannelKey channel;
    QString channelName;
    QString title;
    ScheduleTime start{};
    ScheduleTime stop{};

    // One programme has one reminder, whatever its texts say.
    bool SameProgramme(const Reminder& other) const { return channel == other.channel && start == other.start; }
};
