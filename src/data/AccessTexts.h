#pragma once
// Entry indexes of the Access and Locale text groups, in pack order.

enum AccessText : int {
    AccessPlay = 0,        // the play button while stopped
    AccessStop = 1,        // the same button while playing
    AccessMute = 2,        // the sound button, a toggle
    AccessVolume = 3,
    AccessPlayPanel = 4,
    AccessVideo = 5,       // the picture while no channel was started
    AccessVideoOf = 6,     // %1 the channel
    AccessDescription = 7,
    AccessSearchResults = 8,
    AccessNoChannelFound = 9,
};

enum LocaleText : int {
    LocaleOwnName = 0, // the language in its own words, as the language list shows it
    LocaleCode = 1,    // for the toolkit's own texts, such as the names of keys
};
