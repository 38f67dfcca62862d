#pragma once
// What the tree, the search, zapping and the guide window ask of a channel or a node: is it
// hidden, is it locked, and are the locks open this run. The places are indexed by the
// playlist's name, so a question costs a lookup or two, and nothing when nothing is marked.

#include "ChannelKey.h"
#include "Playlist.h"
#include "PrivacyMarks.h"

#include <QHash>
#include <QString>

#include <vector>

class PrivacyCheck
{
public:
    enum Mark : unsigned { kNone = 0, kHidden = 1, kLocked = 2 };

    explicit PrivacyCheck(const std::vector<Playlist>& playlists) : playlists(playlists) {}

    void SetMarks(const PrivacyMarks& marks);
    void SetUnlocked(bool open) { unlocked = open; }
    bool Unlocked() const { return unlocked; }
    void SetShowHidden(bool show) { showHidden = show; }
    bool ShowHidden() const { return showHidden; }

    // The marks of a place itself, and those it has with what holds it.
    unsigned OwnMarks(const PrivacyPlace& place) const;
    unsigned MarksOf(const PrivacyPlace& place) const;
    // The place of a channel, own or built-in; empty for no channel.
    PrivacyPlace PlaceOf(const ChannelKey& key) const;

    // A channel the lists leave out: hidden, or locked while the locks are shut.
    bool Leaves(const ChannelKey& key) const;
    // Locked, and the locks are shut: it asks for the PIN before it plays.
    bool Shut(const ChannelKey& key) const;
    bool Any() const { return !byPlaylist.isEmpty() || AnyBuiltin(); }
    bool AnyBuiltin() const { return !sections.isEmpty() || !builtinChannels.isEmpty(); }

private:
    struct PlaylistMarks
    {
        unsigned own = kNone;
        QHash<QString, unsigned> groups;
        QHash<QString, QHash<QString, unsigned>> channels; // by group, then by name
    };

    unsigned MarksOfChannel(const ChannelKey& key) const;
    unsigned BuiltinMarks(const PrivacyPlace& place, bool withHolders) const;

    const std::vector<Playlist>& playlists;
    QHash<QString, PlaylistMarks> byPlaylist;
    QHash<int, unsigned> sections; // the countries' node among them
    QHash<ChannelId, unsigned> builtinChannels;
    bool unlocked = false;
    bool showHidden = false;
};
