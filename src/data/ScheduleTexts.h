#pragma once
// Entry indexes of the Schedule text group, in pack order.

enum ScheduleText : int {
    ScheduleRemindMe = 0,            // menu item; also the guide window's R
    ScheduleCancelReminder = 1,      // menu item of a programme with a reminder
    ScheduleReminderSet = 2,         // status line: %1 title, %2 channel, %3 day and time
    ScheduleReminderCancelled = 3,   // status line: %1 title
    ScheduleNotificationSummary = 4, // %1 title, %2 start time
    ScheduleNotificationBody = 5,    // %1 channel
    ScheduleWatch = 6,               // the notification's action
    ScheduleStartsSoon = 7,          // status line and box without notifications: %1 title, %2 time, %3 channel
    ScheduleCaption = 8,             // the box's caption
};
