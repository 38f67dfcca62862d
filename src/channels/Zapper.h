#pragma once
// Where the current channel was started from, and which channel is the previous or next of
// that list: a tree group or the search results (their channels kept here), or the
// favourites (followed by row, as the viewer orders them). Both ends wrap around.

#include "ChannelKey.h"
#include "ChannelRequest.h"

#include <QObject>

#include <functional>
#include <vector>

class ChannelDirectory;
class Favorites;

// A tree group the viewer has selected, for a number typed before any channel was started.
struct SelectedGroup
{
    QString name;
    std::vector<ChannelKey> keys;
};

// A channel the viewer chose from a list (a tree group, the search results), with the list.
struct ListChoice
{
    ChannelRequest request;
    std::vector<ChannelKey> list;
};

class Zapper : public QObject
{
    Q_OBJECT
public:
    Zapper(const ChannelDirectory& directory, const Favorites& favorites);

    // The selected group of the channel tree, asked when a number is typed.
    void SetSelectedGroup(std::function<SelectedGroup()> selected) { selectedGroup = std::move(selected); }
    // The channels a zap passes over (hidden, or locked while the locks are shut).
    void SetLeaves(std::function<bool(const ChannelKey&)> leaves) { left = std::move(leaves); }

    // A channel was started from a tree group or the search results (keys, the list, with
    // the channel at request.origin.position), or from the favourites' row origin.position.
    void Remember(const ChannelOrigin& origin, std::vector<ChannelKey> keys = {});
    const ChannelOrigin& Origin() const { return origin; }

    bool CanZap() const;
    // Starts the channel step places from current along its list.
    void Zap(int step, const ChannelRequest& current);
    // Starts the channel of that number in the list the current one came from, else in the
    // selected group: its tvg-chno, else its place counted from 1. False when none has it.
    bool PlayNumber(int number);

    // The request of the favourite at row, as that list starts it.
    ChannelRequest FavoriteRequest(int row) const;

    // index moved by step within count places, wrapping at both ends.
    static int Wrap(int index, int step, int count);

signals:
    void ChannelChosen(const ChannelRequest& request);
    // The lists' highlights follow the zap: the favourites' row, or a search result's channel.
    void FavoriteReached(int row);
    void ResultReached(const ChannelKey& key);

private:
    void StartFavorite(int row);
    void StartAt(int position);

    const ChannelDirectory& directory;
    const Favorites& favorites;
    std::function<SelectedGroup()> selectedGroup;
    std::function<bool(const ChannelKey&)> left;
    ChannelOrigin origin;
    std::vector<ChannelKey> list; // a tree group's or the search results' channels
};
