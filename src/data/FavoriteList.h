#pragma once
// The viewer's favourites, as Favorites.xml holds them: parallel lists of names, channel
// ids and icon indexes, and for a channel of the viewer's own playlists its stream (empty
// for a built-in channel).

#include "OwnStream.h"

#include <QList>
#include <QStringList>

struct FavoriteList
{
    QStringList names;
    QList<quint32> ids;
    QList<quint32> icons;
    QList<OwnStream> streams;
};
