#pragma once
// A viewer's own playlist and its channels.

#include "CatchupOffer.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

struct PlaylistChannel {
    QString name;      // title, else tvg-name, else the address's last path part
    QString address;   // absolute; without any |User-Agent=... suffix
    QString group;     // group-title or #EXTGRP; empty = directly under the playlist
    QString tvgId, logo, userAgent, referrer;
    CatchupOffer catchup;
    QString tvgName;           // only where it differs from name
    int guideShiftMinutes = 0; // tvg-shift of the entry, else of the playlist's header
    QString number;    // tvg-chno: the channel's number in the viewer's line-up, if given
};

struct Playlist {
    QString name;          // the tree node's text; the viewer can rename it
    QString source;        // a local path or an http(s) address, as given
    QDateTime lastRefresh; // UTC; invalid = never loaded
    QString lastError;     // empty when the last load went well
    std::vector<PlaylistChannel> channels; // not in Playlists.xml: read from the file or cache
    QStringList guideAddresses;            // from its header, read with the channels
};
