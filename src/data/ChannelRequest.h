#pragma once
// One channel the viewer asked for, as it travels whole from where it was picked to the
// player: everything it takes to play it (again, after a stop), and where it came from.

#include "CatchupOffer.h"
#include "ChannelCatalogue.h"

#include <QString>

// HTTP headers an address needs. They go with that address alone (and its re-opens), so
// they never reach the next one.
struct StreamHeaders
{
    QString userAgent;
    QString referrer;

    bool operator==(const StreamHeaders&) const = default;
};

// The list a channel was picked from, for the previous and next channel.
struct ChannelOrigin
{
    enum class List { None, TreeGroup, Favourites, SearchResults };

    List list = List::None;
    QString name;      // the group's label or the favourites tab's; empty for search results
    int position = -1; // the channel's place in that list

    bool operator==(const ChannelOrigin&) const = default;
};

struct ChannelRequest
{
    QString address;
    QString name;
    StreamHeaders headers;
    ChannelOrigin origin;
    ChannelId id = 0;  // a built-in channel; 0 for one of the viewer's own playlists
    QString playlist;  // an own channel: the name of its playlist
    QString group;     // an own channel: its group in that playlist
    int icon = 0;      // the channel image list's index of the node it was found under
    CatchupOffer catchup;   // an own channel: what its provider's archive keeps of it
    QString archiveAddress; // played from that archive: the address asked; empty while live
    qint64 archiveStart = 0; // and the moment it plays from, in seconds since 1970 (UTC)

    bool IsEmpty() const { return address.isEmpty(); }
    bool FromArchive() const { return !archiveAddress.isEmpty(); }
    // What the engine is given: the archive's address, else the channel's own.
    const QString& PlayedAddress() const { return FromArchive() ? archiveAddress : address; }
    // The same channel at its live edge.
    ChannelRequest Live() const
    {
        ChannelRequest live = *this;
        live.archiveAddress.clear();
        live.archiveStart = 0;
        return live;
    }
    bool IsOwn() const { return id == 0; }
    bool operator==(const ChannelRequest&) const = default;
};

// A request for an address alone, or with its headers, from nowhere in particular.
inline ChannelRequest RequestFor(const QString& address, const StreamHeaders& headers = {})
{
    ChannelRequest request;
    request.address = address;
    request.headers = headers;
    return request;
}
