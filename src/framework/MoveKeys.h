#pragma once
// The keys that move through a view or along a slider, pressed alone (or on the keypad).

#include <QKeyEvent>

inline bool IsMoveKey(const QKeyEvent& key)
{
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    switch (key.key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}
