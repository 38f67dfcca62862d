#pragma once
// Playlists.xml: the viewer's own playlists (name, source, where the last download came
// from when redirected, last refresh, last error), without their channels.

#include "Playlist.h"

#include <QString>

#include <vector>

enum class PlaylistsFileState {
    Missing,
    Damaged, // present, but not a playlist list this program wrote
    Read,
};

// Appends the file's playlists; a damaged file appends none.
PlaylistsFileState LoadPlaylists(const QString& path, std::vector<Playlist>& playlists);

// Writes atomically, readable by the owner alone; false, leaving any old file as it was,
// on failure.
bool SavePlaylists(const QString& path, const std::vector<Playlist>& playlists, QString* reason = nullptr);
