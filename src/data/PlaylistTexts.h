#pragma once
// Entry indexes of the Playlists text group, in pack order.

enum PlaylistText : int {
    PlaylistCaption = 0,
    PlaylistLoadFailed = 1,    // %1 the playlist; the reason follows on the next line
    PlaylistLinesSkipped = 2,  // %1 the playlist, %2 the number of lines; plural forms
    PlaylistCannotOpen = 3,
    PlaylistEmpty = 4,
    PlaylistIsWebPage = 5,
    PlaylistNotText = 6,
    PlaylistNoChannels = 7,
    PlaylistTooLarge = 8,
    PlaylistLineTooLong = 9,   // %1 the line number
    PlaylistTooManyEntries = 10, // %1 the line number
    PlaylistHttpError = 11,    // %1 the status code
    PlaylistTimedOut = 12,
    PlaylistDownloadFailed = 13, // %1 the network's own description
    PlaylistUnsupportedSource = 14,
    PlaylistAddMenu = 15,
    PlaylistFindMenu = 16,
    PlaylistSearchPlaceholder = 17,
    PlaylistRenameMenu = 18,
    PlaylistRefreshMenu = 19,
    PlaylistRemoveMenu = 20,
    PlaylistAddCaption = 21,
    PlaylistFileLabel = 22,
    PlaylistBrowse = 23,
    PlaylistAddressLabel = 24,
    PlaylistOk = 25,
    PlaylistCancel = 26,
    PlaylistFileFilter = 27,
    PlaylistGroupLine = 28,
    PlaylistSourceLine = 29,
    PlaylistServerLine = 30,
    PlaylistRenamePrompt = 31,
    PlaylistUnavailableNode = 32, // %1 the playlist
    PlaylistCopyUnreadable = 33,
    PlaylistSourceTooLong = 34,
    PlaylistNotRegularFile = 35,
    PlaylistReadTimedOut = 36,
    PlaylistDamagedDownload = 37,
    PlaylistRefusedLine = 38, // %1 the line number, %2 why it was refused
    PlaylistLineHasNul = 39,  // then one per M3uRefusal, in its order
    PlaylistLineIsMarkup = 40,
    PlaylistLineWithoutAddress = 41,
    PlaylistLineUnclosedQuote = 42,
    PlaylistLineLocalFile = 43,
    PlaylistLineAddressNotAllowed = 44,
    PlaylistLineUnsafeHeader = 45,
};
