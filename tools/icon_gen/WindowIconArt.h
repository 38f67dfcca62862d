#pragma once
// The channel window's own icons with alpha: 129 tab emblem and 130 star (16 x 16), 131 play
// check mark, 132 plus, 133 cross, 134 arrow up and 135 arrow down (24 x 24).

#include <QImage>

QImage DrawWindowIcon(int id);
