#pragma once
// An account's catalogue as the playlist the tree, the player and the guide already know:
// live channels, then films, then series, each in the panel's order of categories. Stream
// addresses hold the password hidden (AccountAddress).

#include "AccountTypes.h"
#include "Playlist.h"

#include <QString>

#include <vector>

namespace AccountPlaylist {
// The playlist's source: names the account in the tree without its password.
QString SourceOf(const AccountRecord& account);
Playlist Build(const AccountRecord& account, const AccountCatalogue& catalogue);
// The panel's id of an entry: kept with it, or else the name of its stream's file.
QString IdOf(const PlaylistChannel& entry);
// A series' episodes as entries to follow the playlist's others, once the panel told them;
// none when the series has them already.
std::vector<PlaylistChannel> EpisodesOf(const Playlist& playlist, int seriesEntry, const AccountRecord& account,
                                        const std::vector<SeriesEpisode>& episodes);
} // namespace AccountPlaylist
