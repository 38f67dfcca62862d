#pragma once
// The viewer's channels as the programme guide matches them: a built-in channel by its
// name, an own one by its tvg-id, tvg-name and name with its playlist's time shift. The
// key is what the viewer's own choice of guide channel is kept under.

#include "ChannelCatalogue.h"
#include "ChannelKey.h"
#include "GuideMatcher.h"
#include "Playlist.h"

#include <vector>

// names: the catalogue's channel names, by section.
GuideViewerChannel GuideChannelOf(const ChannelKey& key, const ChannelLists& names,
                                  const std::vector<Playlist>& playlists);

// The own channel of the playlist named playlist with address (and name, unless empty);
// an empty key for none. Lists repeat addresses, so a name tells them apart.
ChannelKey FindOwnChannel(const std::vector<Playlist>& playlists, const QString& playlist, const QString& address,
                          const QString& name = {});

// Every built-in channel, then every channel of every playlist.
std::vector<ChannelKey> AllChannelKeys(const ChannelLists& names, const std::vector<Playlist>& playlists);
