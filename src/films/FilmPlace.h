#pragma once
// Where the viewer got to in one film or episode, and what it takes to play it again from
// the list of films to continue.

#include "ChannelRequest.h"

#include <QString>

struct FilmPlace
{
    QString key;       // the entry: its address without credentials, and its playlist
    ChannelRequest request; // address, name, headers, playlist and group, to play it again
    QString poster;    // the entry's logo address; may be empty
    double position = 0; // seconds from the start
    double length = 0;   // seconds; 0 while unknown
    bool watched = false; // seen to its end: no place kept, a mark in its row
    qint64 updated = 0;   // seconds since 1970 (UTC), for "newest first"

    bool operator==(const FilmPlace&) const = default;
};

// The key a film's place is kept under: the same entry in another playlist is another film,
// and a provider's new token in the address changes nothing.
QString FilmKeyOf(const ChannelRequest& request);
