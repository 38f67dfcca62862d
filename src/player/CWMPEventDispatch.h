#pragma once
// The player's event sink: what the engine and the picture report reaches the main window
// as its notifications, Qt signals delivered at once on the user-interface thread, so
// that the window has acted before the report returns.

#include "PlayState.h"

#include <QKeyCombination>
#include <QObject>


class CWMPEventDispatch : public QObject
{
    Q_OBJECT
public:
    void PlayStateChange(const PlayState& state);
    // A key pressed while the picture has the keyboard, as in full screen.
    void KeyDown(QKeyCombination key);
    // A press is a press: which button and where do not matter.
    void MouseDown();
    // The pointer moved over the picture (what a film shows in full screen follows it).
    void MouseMove();

signals:
    void PlayStateChanged(const PlayState& state);
    void KeyPressed(QKeyCombination key);
    void MousePressed();
    void MouseMoved();
};
