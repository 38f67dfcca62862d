#pragma once
// Top-level windows are placed and saved by their outer (frame) rectangle, as the platform
// does. The frame's size is known only once the window manager has framed the window, so
// the wanted outer rectangle is applied again when the frame first becomes known: starting
// and closing without touching anything then stores the same rectangle back.

#include <QRect>

class QWidget;

// Moves and sizes the window so that its frame covers outer (x, y, width, height).
void MoveWindowOuter(QWidget* window, const QRect& outer);

// The window's current outer rectangle in screen coordinates.
QRect GetWindowOuterRect(const QWidget* window);

// The outer rectangle to save for a window that was placed at given and is now at current.
// Where the compositor places windows (Wayland) a client never learns its position, so the
// given position is kept with the current size.
QRect RectToSave(const QRect& given, const QRect& current);
