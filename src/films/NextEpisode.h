#pragma once
// The episode that follows another in its playlist: the same series in the same group, the
// next season and episode its name tells of, wherever the list has put it.

#include "Playlist.h"

#include <vector>

// The entry of the next episode after entry; -1 when entry is no episode or the last one.
int NextEpisodeOf(const std::vector<PlaylistChannel>& channels, int entry);
