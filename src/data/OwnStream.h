#pragma once
// What it takes to play a channel of the viewer's own playlists. A favourite of such a
// channel keeps it, so that the favourite still plays once its playlist is gone.

#include <QString>

struct OwnStream
{
    QString address;
    QString userAgent;
    QString referrer;
    QString playlist; // the name of the playlist it came from
    QString group;

    bool IsEmpty() const { return address.isEmpty(); }
    bool operator==(const OwnStream&) const = default;
};
