#pragma once
// The last good copy of every downloaded playlist, in the viewer's cache folder
// ($XDG_CACHE_HOME/Korvanta), so that a start without network shows the same channels.

#include <QByteArray>
#include <QString>

QString PlaylistCachePath(const QString& source);

// Atomically, in a folder and a file only the viewer may read; false, keeping the old
// copy, on failure.
bool WriteCachedPlaylist(const QString& source, const QByteArray& body);

void RemoveCachedPlaylist(const QString& source);
