#pragma once
// The search's entries for the viewer's own channels, made a slice per turn of the event
// loop, so that 200,000 channels never hold the window for long. The playlists are read as
// they are at each slice; whoever changes them starts the feed again.

#include "ChannelKey.h"
#include "Playlist.h"
#include "SearchResultModel.h"
#include "TurnSlicer.h"

#include <QHash>
#include <QObject>

#include <functional>
#include <vector>

class PrivacyCheck;

class SearchNameFeed : public QObject
{
    Q_OBJECT

public:
    using Done = std::function<void(SearchEntries, std::vector<ChannelKey>)>;

    explicit SearchNameFeed(const std::vector<Playlist>& playlists, QObject* parent = nullptr);

    // Appends every own channel to entries and keys, in the playlists' order, and hands them
    // to done, at once when the lists are short; what was under way is dropped.
    void Start(SearchEntries entries, std::vector<ChannelKey> keys, Done done);
    bool IsBusy() const { return slicer.IsBusy(); }
    // The channels it leaves out: hidden, or locked while the locks are shut.
    void SetPrivacy(const PrivacyCheck* check) { privacy = check; }

private:
    bool AddNext(); // false when every channel is in

    const std::vector<Playlist>& playlists;
    SearchEntries entries;
    std::vector<ChannelKey> keys;
    std::size_t playlist = 0; // the next channel's place
    std::size_t entry = 0;
    QHash<QString, QString> groupDetails; // one shared text per group of the playlist
    TurnSlicer slicer;
    const PrivacyCheck* privacy = nullptr;
};
