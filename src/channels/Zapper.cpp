#include "Zapper.h"

#include "ChannelDirectory.h"
#include "Favorites.h"

#include <utility>

namespace {
// Favourites keep their name as typed; a longer one is cut, as its row shows it.
constexpr int kMaxFavoriteNameLength = 1023;
} // namespace

Zapper::Zapper(const ChannelDirectory& directory, const Favorites& favorites)
    : directory(directory), favorites(favorites)
{
}

void Zapper::Remember(const ChannelOrigin& started, std::vector<ChannelKey> keys)
{
    origin = started;
    if (origin.list != ChannelOrigin::List::Favourites)
        list = std::move(keys);
}

bool Zapper::CanZap() const
{
    if (origin.list == ChannelOrigin::List::Favourites)
        return favorites.Count() > 0;
    return origin.list != ChannelOrigin::List::None && !list.empty();
}

void Zapper::Zap(int step, const ChannelRequest& current)
{
    if (!CanZap())
        return;
    if (origin.list == ChannelOrigin::List::Favourites) {
        StartFavorite(Wrap(favorites.RowOf(current, origin.position), step, favorites.Count()));
        return;
    }
    const int count = static_cast<int>(list.size());
    int position = origin.position;
    for (int tried = 0; tried < count; ++tried) {
        position = Wrap(position, step, count);
        if (!left || !left(list[static_cast<std::size_t>(position)])) {
            StartAt(position);
            return;
        }
    }
}

bool Zapper::PlayNumber(int number)
{
    if (origin.list == ChannelOrigin::List::Favourites) {
        if (number < 1 || number > favorites.Count())
            return false;
        StartFavorite(number - 1);
        return true;
    }
    if (CanZap()) {
        const int position = directory.NumberedPosition(list, number);
        if (position < 0)
            return false;
        StartAt(position);
        return true;
    }
    SelectedGroup group = selectedGroup ? selectedGroup() : SelectedGroup();
    const int position = directory.NumberedPosition(group.keys, number);
    if (position < 0)
        return false;
    Remember({ChannelOrigin::List::TreeGroup, group.name, position}, std::move(group.keys));
    StartAt(position);
    return true;
}

ChannelRequest Zapper::FavoriteRequest(int row) const
{
    const Favorite& favorite = favorites.At(row);
    const ChannelOrigin from{ChannelOrigin::List::Favourites, origin.name, row};
    const QString name = favorite.name.left(kMaxFavoriteNameLength);
    const int icon = static_cast<int>(favorite.icon);
    if (!favorite.stream.IsEmpty())
        return directory.OwnRequest(favorite.stream, name, icon, from);
    return directory.BuiltinRequest(favorite.id, name, icon, from);
}

int Zapper::Wrap(int index, int step, int count)
{
    if (count <= 0)
        return 0;
    const int moved = (index + step) % count;
    return moved < 0 ? moved + count : moved;
}

void Zapper::StartFavorite(int row)
{
    emit FavoriteReached(row);
    origin.position = row;
    const ChannelRequest request = FavoriteRequest(row);
    if (!request.IsEmpty())
        emit ChannelChosen(request);
}

void Zapper::StartAt(int position)
{
    origin.position = position;
    const ChannelKey key = list[static_cast<std::size_t>(position)];
    // The highlighted result follows, while the results still hold the channel.
    if (origin.list == ChannelOrigin::List::SearchResults)
        emit ResultReached(key);
    const ChannelRequest request = directory.RequestOf(key, origin);
    if (!request.IsEmpty())
        emit ChannelChosen(request);
}
