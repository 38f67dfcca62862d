#pragma once
// Favorites.xml: the user's favourite channels as three parallel lists.

#include "OwnStream.h"

#include <QList>
#include <QString>
#include <QStringList>

// Appends the favourites of the file to the three lists; false, with the lists untouched,
// when the file cannot be opened or parsed. With streams, also appends to it each
// favourite's own stream, empty for a built-in channel.
bool LoadFavorites(const QString& path, QStringList& names, QList<quint32>& ids, QList<quint32>& icons,
                   QList<OwnStream>* streams = nullptr);

// Writes the three parallel lists atomically; false, leaving any old file as it was, on
// failure (reason, when given, says why). A favourite whose entry in streams is not empty is an own channel: its stream
// follows the three original attributes, so readers that know only those still see id 0,
// no built-in channel.
bool SaveFavorites(const QString& path, const QStringList& names, const QList<quint32>& ids,
                   const QList<quint32>& icons, const QList<OwnStream>& streams = {}, QString* reason = nullptr);
