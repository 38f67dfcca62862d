#pragma once
// The 33 channel-tree icons, 16 x 16 with alpha: a channel, ten genres, the countries,
// further channels, eight spares and twelve flags, by icon id 101..133.

#include <QImage>

QImage DrawChannelIcon(int id);
