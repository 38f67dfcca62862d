#pragma once
// The viewer's favourites: one record per channel, in the viewer's order, kept in
// Favorites.xml byte for byte as that file has always been written.

#include "ChannelCatalogue.h"
#include "ChannelRequest.h"
#include "OwnStream.h"

#include <QObject>
#include <QString>

#include <vector>

struct Playlist;

struct Favorite
{
    QString name;
    ChannelId id = 0;   // a built-in channel; 0 for an own one
    quint32 icon = 0;   // the channel image list's index it is shown with
    OwnStream stream;   // an own channel's stream; empty for a built-in one

    bool operator==(const Favorite&) const = default;
};

class Favorites : public QObject
{
    Q_OBJECT
public:
    // Appends the file's favourites; false, with none added, when it cannot be read.
    bool Load(const QString& path);
    // Writes them atomically; false, with any old file as it was and reason saying why.
    bool Save(const QString& path, QString* reason = nullptr) const;

    void Set(std::vector<Favorite> all);
    const std::vector<Favorite>& All() const { return records; }
    int Count() const { return static_cast<int>(records.size()); }
    // The favourite at row; the invalid-argument error for a row that is not there.
    const Favorite& At(int row) const;

    // Appends favorite unless its channel is there already: the new row, else -1.
    int Add(const Favorite& favorite);
    void Remove(int row);
    // Swaps row with its neighbour step away; false at either end.
    bool Move(int row, int step);

    // The row holding the channel of request: preferred while it still does (favourites
    // that share a channel would otherwise always lead back to the first of them), else the
    // first that does, else preferred.
    int RowOf(const ChannelRequest& request, int preferred) const;
    // How many favourites play one of the playlist's channels.
    int CountFrom(const Playlist& playlist) const;

signals:
    void Changed();

private:
    bool Holds(int row, const ChannelRequest& request) const;

    std::vector<Favorite> records;
};
