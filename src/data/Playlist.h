#pragma once
// A viewer's own playlist and its channels.

#include "CatchupOffer.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

// What an entry of a provider's account is; a playlist's entries are all channels.
enum class EntryKind : quint8 { Channel, Film, Series, Episode };

struct PlaylistChannel {
    QString name;      // title, else tvg-name, else the address's last path part
    QString address;   // absolute; without any |User-Agent=... suffix
    QString group;     // group-title or #EXTGRP; empty = directly under the playlist
    QString tvgId, logo, userAgent, referrer;
    CatchupOffer catchup;
    QString tvgName;           // only where it differs from name
    int guideShiftMinutes = 0; // tvg-shift of the entry, else of the playlist's header
    QString number;    // tvg-chno: the channel's number in the viewer's line-up, if given
    EntryKind kind = EntryKind::Channel;
    int series = -1;   // an account's episode: the entry of its series
    QString id;        // an account's entry: the panel's id of the stream, film or series
};

struct Playlist {
    QString name;          // the tree node's text; the viewer can rename it
    QString source;        // a local path or an http(s) address, as given
    QString location;      // where the last download came from after redirects; empty = source
    QDateTime lastRefresh; // UTC; invalid = never loaded
    QString lastError;     // empty when the last load went well
    // Not in Playlists.xml: the channels and guide addresses are read from the file or the
    // cached copy, and the playlist is unavailable while they could not be (lastError says
    // why).
    std::vector<PlaylistChannel> channels;
    QStringList guideAddresses; // from its header
    bool unavailable = false;
    QDateTime lastFailure; // UTC: when a load failed since the program started; invalid = none
    // A provider's account shown as a playlist: kept in Accounts.xml, never in Playlists.xml;
    // its node holds the live channels, films and series apart.
    bool account = false;
};
