#pragma once
// Entry indexes of the Recordings text group, in pack order.

enum RecordingsText : int {
    RecRecordMenu = 0,           // guide window menu item
    RecCancelMenu = 1,           // of a programme with a recording set
    RecSeriesMenu = 2,           // guide window menu item
    RecSeriesCancelMenu = 3,     // of a programme a series rule records
    RecSeriesCaption = 4,        // the series box's caption
    RecSeriesQuestion = 5,       // %1 title, %2 channel
    RecSeriesAnyChannel = 6,     // check box
    RecSeriesNewOnly = 7,        // check box
    RecWindowMenu = 8,           // Channels menu item
    RecWindowCaption = 9,        // the recordings window's title
    RecUpcoming = 10,            // the window's sections
    RecInProgress = 11,
    RecFinished = 12,
    RecFailed = 13,
    RecColumnTime = 14,          // the window's columns
    RecColumnChannel = 15,
    RecColumnTitle = 16,
    RecColumnDetails = 17,
    RecSeriesRule = 18,          // upcoming from a series rule: %1 its title
    RecOnce = 19,                // upcoming from a single programme's rule
    RecElapsed = 20,             // in progress: %1 time recorded, %2 size
    RecLengthSize = 21,          // finished: %1 length, %2 size
    RecChannelUnavailable = 22,  // reasons
    RecDiskFull = 23,
    RecNotRunning = 24,
    RecPartial = 25,             // %1 reason
    RecFailedReason = 26,        // %1 reason
    RecConflict = 27,            // %1 how many at once
    RecDelete = 28,              // buttons
    RecShowInFolder = 29,
    RecPlay = 30,
    RecDeleteRuleQuestion = 31,  // %1 title
    RecDeleteFileQuestion = 32,  // %1 title
    RecConflictQuestion = 33,    // %1 title, %2 the others' titles, %3 how many at once
    RecStarted = 34,             // status line: %1 title, %2 channel
    RecRefused = 35,             // status line: %1 title, %2 reason
    RecKeepQuestion = 36,        // closing the window while recording
    RecNoTray = 37,              // closing without a tray
    RecShow = 38,                // the tray's menu
    RecQuit = 39,
    RecBeforeMinutes = 40,       // preferences
    RecAfterMinutes = 41,
    RecAtOnce = 42,
    RecScheduled = 43,           // status line: %1 title, %2 channel, %3 day and time
    RecTrayTip = 44,
    RecDeleteFailed = 45,        // %1 file
    RecCancelled = 46,           // status line: %1 title
    RecRecordNext = 47,          // the description box's menu: %1 the next programme's title
    RecCancelNext = 48,          // likewise, where it is to be recorded
    RecSeriesNext = 49,          // likewise, its series
    RecSeriesCancelNext = 50,    // likewise, where a series rule records it
};
