#pragma once
// Entry indexes of the GuideOrder text group, in pack order: the guides dialog and the
// reminders' lead.

enum GuideOrderText : int {
    GuideOrderMenu = 0,            // Channels menu item
    GuideOrderCaption = 1,         // the dialog's caption
    GuideOrderColumnGuide = 2,     // column titles
    GuideOrderColumnChannels = 3,
    GuideOrderColumnImported = 4,
    GuideOrderColumnState = 5,
    GuideOrderUp = 6,              // buttons
    GuideOrderDown = 7,
    GuideOrderCorrection = 8,      // label of the selected guide's time correction
    GuideOrderRefresh = 9,         // label of its refresh interval
    GuideOrderAsPreferences = 10,  // the interval left to the preferences
    GuideOrderStateRead = 11,      // states
    GuideOrderStateOff = 12,
    GuideOrderStateReading = 13,
    GuideOrderStateNotRead = 14,
    GuideOrderNever = 15,          // no import yet
    GuideOrderClose = 16,
    GuideOrderRule = 17,           // the note on how the order counts
    GuideOrderReminderLead = 18,   // preferences, Guide page
    GuideOrderHours = 19,          // the spin boxes' unit, after a space
    GuideOrderRemindNext = 20,     // the description box's menu: %1 the next programme's title
    GuideOrderCancelNext = 21,     // likewise, where it has a reminder
};
