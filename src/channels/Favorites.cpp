#include "Favorites.h"

#include "ChannelDirectory.h"
#include "FavoritesFile.h"
#include "InvalidArgument.h"
#include "Playlist.h"

#include <QSet>

#include <algorithm>
#include <utility>

bool Favorites::Load(const QString& path)
{
    QStringList names;
    QList<quint32> ids;
    QList<quint32> icons;
    QList<OwnStream> streams;
    if (!LoadFavorites(path, names, ids, icons, &streams))
        return false;
    for (qsizetype i = 0; i < names.size(); ++i)
        records.push_back({names[i], ids[i], icons[i], streams.value(i)});
    emit Changed();
    return true;
}

bool Favorites::Save(const QString& path, QString* reason) const
{
    QStringList names;
    QList<quint32> ids;
    QList<quint32> icons;
    QList<OwnStream> streams;
    for (const Favorite& favorite : records) {
        names.append(favorite.name);
        ids.append(favorite.id);
        icons.append(favorite.icon);
        streams.append(favorite.stream);
    }
    return SaveFavorites(path, names, ids, icons, streams, reason);
}

void Favorites::Set(std::vector<Favorite> all)
{
    records = std::move(all);
    emit Changed();
}

const Favorite& Favorites::At(int row) const
{
    if (row < 0 || row >= Count())
        throw CInvalidArgException();
    return records[static_cast<std::size_t>(row)];
}

int Favorites::Add(const Favorite& favorite)
{
    const bool own = !favorite.stream.IsEmpty();
    // Own channels all have id 0: they are told apart by their address.
    const bool known = std::any_of(records.begin(), records.end(), [&](const Favorite& f) {
        return own ? f.stream.address == favorite.stream.address : f.id == favorite.id;
    });
    if (known || (!own && favorite.id == 0))
        return -1;
    records.push_back(favorite);
    emit Changed();
    return Count() - 1;
}

void Favorites::Remove(int row)
{
    At(row);
    records.erase(records.begin() + row);
    emit Changed();
}

bool Favorites::Move(int row, int step)
{
    const int to = row + step;
    if (row < 0 || row >= Count() || to < 0 || to >= Count())
        return false;
    std::swap(records[static_cast<std::size_t>(row)], records[static_cast<std::size_t>(to)]);
    emit Changed();
    return true;
}

bool Favorites::Holds(int row, const ChannelRequest& request) const
{
    const OwnStream stream = ChannelDirectory::OwnStreamOf(request);
    const Favorite& favorite = records[static_cast<std::size_t>(row)];
    return stream.IsEmpty() ? favorite.id == request.id : favorite.stream == stream;
}

int Favorites::RowOf(const ChannelRequest& request, int preferred) const
{
    if (preferred >= 0 && preferred < Count() && Holds(preferred, request))
        return preferred;
    for (int row = 0; row < Count(); ++row) {
        if (Holds(row, request))
            return row;
    }
    return preferred;
}

int Favorites::CountFrom(const Playlist& playlist) const
{
    QSet<QString> addresses;
    for (const PlaylistChannel& channel : playlist.channels)
        addresses.insert(channel.address);
    return static_cast<int>(std::count_if(records.begin(), records.end(), [&](const Favorite& favorite) {
        return addresses.contains(favorite.stream.address);
    }));
}
