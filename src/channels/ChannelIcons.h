#pragma once
// The icons built into the program: the 33 channel-tree images (icon ids 101..133, in id
// order, so that id 101 + k has index k) and the channel window's own icons 129..135.

#include <QIcon>
#include <QList>

constexpr int kChannelIconCount = 33;

// The channel-tree images at indexes 0..32; an image that cannot be loaded stays empty.
QList<QIcon> LoadChannelImages();

// One of the channel window's icons (129 tab emblem, 130 star, 131 play, 132 add,
// 133 remove, 134 up, 135 down); empty for any other id.
QIcon LoadWindowIcon(int id);
