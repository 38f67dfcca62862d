#pragma once
// What a drop on either window offers as playlists: local .m3u and .m3u8 files, and http
// and https addresses, given as links or as lines of text.

#include <QStringList>

class QMimeData;

// Paths and addresses in the order given; empty when the drop holds none.
QStringList DroppedPlaylists(const QMimeData& data);
