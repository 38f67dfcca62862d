#pragma once
// Everything about a channel of either kind, by its key: the request that plays it, its
// name, stream, description, logo and guide channel. It reads the texts, the catalogue and
// the playlists its owner keeps (and reloads) for as long as it lives; it has no widgets.

#include "CatchupAddress.h"
#include "ChannelCatalogue.h"
#include "ChannelKey.h"
#include "ChannelRequest.h"
#include "GuideMatcher.h"
#include "GuideTypes.h"
#include "LanguageStrings.h"
#include "OwnStream.h"
#include "Playlist.h"

#include <QHash>
#include <QString>

#include <functional>
#include <vector>

class GuideLibrary;

class ChannelDirectory
{
public:
    ChannelDirectory(const LanguageStrings& texts, const ChannelLists& names, const ChannelLists& descriptions,
                     const std::vector<Playlist>& playlists);

    // Where now and next, guide icons and archived programmes come from; none without it.
    void SetGuideLibrary(const GuideLibrary* library) { guides = library; }

    const std::vector<Playlist>& Playlists() const { return playlists; }
    // What an account adds to its node (entry -1) and entries; where a part is not set, its
    // entries are shown as any own channel's.
    struct AccountViews
    {
        std::function<QString(const Playlist&, int entry)> describe; // the description box's text
        std::function<QString(const Playlist&, int entry)> poster;   // a film's or series' poster address
        std::function<GuideNowNext(const Playlist&, int entry)> onAir; // while the guide has nothing
    };
    void SetAccountViews(AccountViews views) { accountViews = std::move(views); }
    QString AccountDescription(int playlist, int entry) const;
    const ChannelLists& Names() const { return names; }

    // The request that plays key from origin; empty when it names no channel (any more).
    ChannelRequest RequestOf(const ChannelKey& key, const ChannelOrigin& origin) const;
    // A built-in channel with the name and icon it is shown with; empty when id names no
    // channel of the stream table.
    ChannelRequest BuiltinRequest(ChannelId id, const QString& name, int icon, const ChannelOrigin& origin) const;
    // An own channel's stream, found again in its playlist for the archive it offers.
    ChannelRequest OwnRequest(const OwnStream& stream, const QString& name, int icon,
                              const ChannelOrigin& origin) const;
    static OwnStream OwnStreamOf(const ChannelRequest& request);
    // key over span from its provider's archive where it keeps that stretch, else live.
    ChannelRequest ArchiveRequest(const ChannelKey& key, const ArchiveSpan& span) const;
    // The programme on now of a channel whose archive holds its beginning; no span otherwise.
    ArchiveSpan ArchivedProgrammeOnNow(const ChannelKey& key) const;

    // The channel a request plays, found again among the playlists for an own one.
    ChannelKey KeyOf(const ChannelRequest& request) const;
    // A favourite's own channel, found again only when the playlists changed under the key
    // last found.
    ChannelKey KeyOfStream(const OwnStream& stream) const;
    const PlaylistChannel* OwnChannel(const ChannelKey& key) const;
    OwnStream StreamOf(const ChannelKey& key) const;
    QString NameOf(const ChannelKey& key) const;
    // Where number is in keys: a channel's own number wins over a place that happens to be
    // the same; -1 when nothing has it.
    int NumberedPosition(const std::vector<ChannelKey>& keys, int number) const;

    QString DescriptionOf(const ChannelKey& key) const;
    QString DescriptionOf(ChannelId id) const;
    QString DescriptionOf(const OwnStream& stream) const;
    // Why an unavailable playlist cannot be read; else when it was last loaded and how.
    QString RefreshText(const Playlist& playlist) const;
    // The guide's now and next lines for the description box; for an account's channel the
    // guide knows nothing of, its panel's; or nothing.
    QString OnAirText(const ChannelKey& key) const;
    // The guide's next programme on the channel, if it knows one.
    std::optional<GuideProgramme> NextProgrammeOf(const ChannelKey& key) const;

    // The logo address of a channel: its playlist's, else its guide channel's icon; empty
    // for a built-in channel, which keeps its own icon.
    QString LogoAddressOf(const ChannelKey& key) const;
    // A film's or series' poster: its account's where the details gave one, else its logo.
    QString PosterAddressOf(const ChannelKey& key) const;
    GuideViewerChannel GuideChannelOf(const ChannelKey& key) const;

private:
    const QString& PlaylistText(int index) const;

    const LanguageStrings& texts;
    const ChannelLists& names;
    const ChannelLists& descriptions;
    const std::vector<Playlist>& playlists;
    const GuideLibrary* guides = nullptr;
    // Favourites' channels, by playlist and address, as last found among the playlists.
    mutable QHash<QString, ChannelKey> streamKeys;
    AccountViews accountViews;
};
