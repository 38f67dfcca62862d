#pragma once
// Command identifiers of the menus, the accelerators and the dialog keys.

enum CommandId : int {
    ID_SEPARATOR = 0, // a menu row that is a separator, not a command
    ID_CHANNELS = 104,
    ID_PLAY_PAUSE = 105,
    ID_MUTE = 106,
    ID_FULL_SCREEN = 107,
    ID_ORIGINAL_SIZE = 108,
    ID_FIT_TO_WINDOW = 109,
    ID_HIDE_MENU = 111,
    ID_HIDE_CONTROL = 112,
    ID_ALWAYS_ON_TOP = 113,
    ID_LANGUAGE = 114,
    ID_ABOUT = 115,
    ID_DONATE = 116,
    ID_FIND_CHANNEL = 120,
    ID_ADD_PLAYLIST = 121,
    ID_PAUSE = 130,
    ID_BACK_TO_LIVE = 131,
    ID_RECORD = 132,
    ID_RECORD_BUFFER = 133,
    ID_ACCEL_RESUME = 32800,
    ID_ACCEL_STEP_BACK = 32801,
    ID_ACCEL_STEP_FORWARD = 32802,
    ID_ACCEL_MINUTE_BACK = 32803,
    ID_ACCEL_MINUTE_FORWARD = 32804,
    // The context menu's track items: the track's number added to the first.
    ID_AUDIO_TRACK_FIRST = 40000,
    ID_SUBTITLE_TRACK_FIRST = 41000, // itself: no subtitles
    ID_TRACK_LAST = 41999,
    ID_GUIDE = 140,
    ID_ADD_GUIDE = 141,
    ID_REFRESH_GUIDE = 142,
    ID_ACCEL_PLAY_PAUSE = 32772,
    ID_ACCEL_MUTE = 32773,
    ID_ACCEL_HIDE_CONTROL = 32775,
    ID_ACCEL_HIDE_MENU = 32776,
    ID_ACCEL_ALWAYS_ON_TOP = 32778,
    ID_ACCEL_PREVIOUS_CHANNEL = 32790,
    ID_ACCEL_NEXT_CHANNEL = 32791,
    ID_HELP = 57670,
};
