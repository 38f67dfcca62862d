#pragma once
// What a drop on either window offers as playlists: local .m3u and .m3u8 files, and http
// and https addresses, given as links or as lines of text; and what else it holds, so that
// the viewer hears why that was not added.

#include <QStringList>

class QMimeData;

struct DroppedSources
{
    QStringList playlists; // paths and addresses in the order given
    QStringList refused;   // everything else, named as the viewer knows it
};

DroppedSources DroppedPlaylists(const QMimeData& data);

// Whether a drag is let in: links or text, which the drop then sorts.
bool MayHoldPlaylists(const QMimeData& data);
