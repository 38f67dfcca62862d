#pragma once
// Entry indexes of the Guidance text group, in pack order.

enum GuidanceText : int {
    GuidanceEmptyHint = 0,       // %1 the menu path to Add playlist
    GuidanceRemoveQuestion = 1,  // %1 the playlist
    GuidanceFavoritesKept = 2,   // plural forms, %1 the number of favourites
    GuidanceRefreshFailed = 3,   // %1 the playlist, %2 why
    GuidanceCopyInUse = 4,       // %3 the date of the copy: it follows GuidanceRefreshFailed
    GuidanceLastRefreshGood = 5, // %1 when
    GuidanceLastRefreshBad = 6,  // %1 when, %2 why
    GuidanceNoSuchNumber = 7,    // %1 the channel number typed
    GuidanceConnectionRefused = 8, // then why a download failed, by network error
    GuidanceHostNotFound = 9,
    GuidanceSecureConnectionFailed = 10,
    GuidanceConnectionClosed = 11,
    GuidanceNetworkUnreachable = 12,
    GuidanceNotAPlaylist = 13, // %1 what was dropped
};
