#include "CWMPEventDispatch.h"

void CWMPEventDispatch::PlayStateChange(const PlayState& state)
{
    emit PlayStateChanged(state);
}

void CWMPEventDispatch::KeyDown(QKeyCombination key)
{
    emit KeyPressed(key);
}

void CWMPEventDispatch::MouseDown()
{
    emit MousePressed();
}

void CWMPEventDispatch::MouseMove()
{
    emit MouseMoved();
}
