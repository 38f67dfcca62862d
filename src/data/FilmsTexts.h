#pragma once
// Entry indexes of the Films text group, in pack order.

enum FilmsText : int {
    FilmsPosition = 0,    // the position bar's name for a screen reader
    FilmsResumed = 1,     // %1 where the film goes on
    FilmsNextEpisode = 2, // %1 seconds until the next episode starts
    FilmsContinueTab = 3,
    FilmsProgress = 4,    // %1 where it got, %2 its length
    FilmsSeason = 5,      // %1 the season's number
    FilmsWatched = 6,
    FilmsForget = 7,
    FilmsLength = 8,      // %1 the film's length
    FilmsGroup = 9,       // %1 its group
    FilmsPlaylist = 10,   // %1 its playlist
};
