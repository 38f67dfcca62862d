#pragma once
// Entry indexes of the Timeshift text group, in pack order.

enum TimeshiftText : int {
    TimeshiftPauseMenu = 0,
    TimeshiftBackToLiveMenu = 1,
    TimeshiftPaused = 2,         // the status line while paused, before how far behind live
    TimeshiftRecordMenu = 3,     // also the caption of recording messages
    TimeshiftRecordBufferMenu = 4,
    TimeshiftRecordingMark = 5,  // the status line while recording, before its length
    TimeshiftDiskFullAtStart = 6, // %1 the recordings' folder
    TimeshiftDiskFullStopped = 7, // %1 the recordings' folder
    TimeshiftNoFolder = 8,       // %1 the recordings' folder
    TimeshiftAudioMenu = 9,
    TimeshiftSubtitlesMenu = 10,
    TimeshiftSubtitlesOff = 11,
    TimeshiftUnnamedTrack = 12,  // %1 the track's number
    TimeshiftFromStartMenu = 13,
};
