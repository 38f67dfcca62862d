#pragma once
// Command identifiers of the menus, the keys and the channel window's buttons.

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
    ID_SHORTCUTS = 117,
    ID_PREFERENCES = 118,
    ID_FIND_CHANNEL = 120,
    ID_ADD_PLAYLIST = 121,
    // The channel window's buttons and list keys.
    ID_CHANNEL_PLAY = 125,
    ID_FAVORITES_ADD = 126,
    ID_FAVORITES_REMOVE = 127,
    ID_FAVORITES_UP = 128,
    ID_FAVORITES_DOWN = 129,
    ID_CHANNEL_MENU = 135,
    ID_PAUSE = 130,
    ID_BACK_TO_LIVE = 131,
    ID_RECORD = 132,
    ID_RECORD_BUFFER = 133,
    ID_GUIDE = 140,
    ID_ADD_GUIDE = 141,
    ID_REFRESH_GUIDE = 142,
    ID_LEAVE_FULL_SCREEN = 150,
    ID_MENU_BAR = 151,
    ID_PREVIOUS_CHANNEL = 152,
    ID_NEXT_CHANNEL = 153,
    ID_RESUME = 154,
    ID_STEP_BACK = 155,
    ID_STEP_FORWARD = 156,
    ID_MINUTE_BACK = 157,
    ID_MINUTE_FORWARD = 158,
    // The context menu's track items: the track's number added to the first.
    ID_AUDIO_TRACK_FIRST = 40000,
    ID_SUBTITLE_TRACK_FIRST = 41000, // itself: no subtitles
    ID_TRACK_LAST = 41999,
};
