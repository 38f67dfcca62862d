#pragma once
// Entry indexes of the Readers text group, in pack order: what the playlist and guide
// readers tell of lists and guides as they are published.

enum ReaderText : int {
    ReadersNowOpenLine = 0,     // %1 title, %2 start: a programme on now of no known end
    ReadersOutsideDays = 1,     // %1 %2 the first and last day of the guide, %3 %4 those kept
    ReadersDayFormat = 2,       // a day of the kept ones, as QLocale::toString reads a format
    ReadersDayYearFormat = 3,   // the same with its year
    ReadersLinesRefused = 4,    // %1 the playlist, %2 the number of lines; plural forms
    ReadersLinesSkipped = 5,    // the same, some refused and some not readable
    ReadersLineNotAnAddress = 6, // why a line was skipped, after the Playlists group's reasons
    ReadersGuideImported = 7,   // %1 the guide: headline of a note on a guide that was read
    ReadersUnknownZones = 8,    // %1 programmes whose zone was not known; plural forms
    ReadersPage = 9,            // %1 %2 the places of the first and last channel on a page of a long list
};
