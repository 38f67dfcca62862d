#pragma once
// Favorites.xml: the user's favourite channels as three parallel lists.

#include <QList>
#include <QString>
#include <QStringList>

// Appends the favourites of the file to the three lists; false, with the lists untouched,
// when the file cannot be opened or parsed.
bool LoadFavorites(const QString& path, QStringList& names, QList<quint32>& ids, QList<quint32>& icons);

// Writes the three parallel lists atomically; false, leaving any old file as it was, on
// failure.
bool SaveFavorites(const QString& path, const QStringList& names, const QList<quint32>& ids,
                   const QList<quint32>& icons);
