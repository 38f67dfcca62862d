#pragma once
// Colours the skin's parts share with the main window's status line.

#include <QColor>

inline const QColor kSkinTextColour(134, 156, 203);
