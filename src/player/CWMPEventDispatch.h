#pragma once
// The player's event sink: what the engine and the picture report reaches the main window
// as three notifications, Qt signals delivered at once on the user-interface thread, so
// that the window has acted before the report returns.

#include "PlayState.h"

#include <QObject>

#include <cstdint>

class CWMPEventDispatch : public QObject
{
    Q_OBJECT
public:
    void PlayStateChange(const PlayState& state);
    // The key code and shift state as 16-bit values (VirtualKey.h).
    void KeyDown(std::int16_t keyCode, std::int16_t shiftState);
    // The button, shift state and position are not passed on: a press is a press.
    void MouseDown(std::int16_t button, std::int16_t shiftState, std::int32_t x, std::int32_t y);

signals:
    void PlayStateChanged(const PlayState& state);
    void KeyPressed(quint16 keyCode, quint16 shiftState);
    void MousePressed();
};
