#pragma once
// Entries of the Preferences group, in pack order: the list of keys, and the preferences
// dialog with its pages and what it says of a value it refuses.

enum PreferencesText : int {
    PrefShortcutsMenu = 0,   // the Help menu's item and the list's title
    PrefColumnKey = 1,
    PrefColumnAction = 2,
    PrefPlaceWindow = 3,     // where the keys of a part of the list work
    PrefPlacePicture = 4,
    PrefPlaceChannels = 5,
    PrefDigits = 6,          // what 0-9 do
    PrefLeaveFullScreen = 7, // the commands that no menu names
    PrefMenuBar = 8,
    PrefPreviousChannel = 9,
    PrefNextChannel = 10,
    PrefResume = 11,
    PrefStepBack = 12,
    PrefStepForward = 13,
    PrefMinuteBack = 14,
    PrefMinuteForward = 15,
    PrefChannelMenu = 16,
    PrefPreferencesMenu = 17, // the View menu's item
    PrefTitle = 18,
    PrefOK = 19,
    PrefCancel = 20,
    PrefPagePlayback = 21,
    PrefPageTimeshift = 22,
    PrefPageRecording = 23,
    PrefPageGuide = 24,
    PrefPageLogos = 25,
    PrefHardwareDecoding = 26,
    PrefDecodingOff = 27,
    PrefDecodingAuto = 28,
    PrefNumberDelay = 29,
    PrefTimeshiftMinutes = 30,
    PrefTimeshiftCap = 31,
    PrefRecordingFolder = 32,
    PrefBrowse = 33,
    PrefGuideRefresh = 34,
    PrefLogoCache = 35,
    PrefEmptyCache = 36,
    PrefOutOfRange = 37,     // %1 %2 the lowest and highest value allowed
    PrefFolderNotWritable = 38,
    PrefCapOverDisk = 39,    // %1 the GiB the disk has free
    PrefCacheEmptied = 40,
    PrefFilmStart = 41,      // Home on a film
    PrefPageNetwork = 42,
    PrefUserAgent = 43,
    PrefTimeout = 44,
    PrefUnsafeHeader = 45,
    PrefPlaylistTimedOut = 46, // %1 the seconds a download of a playlist waits
};
