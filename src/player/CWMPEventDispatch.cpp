#include "CWMPEventDispatch.h"

void CWMPEventDispatch::PlayStateChange(const PlayState& state)
{
    emit PlayStateChanged(state);
}

void CWMPEventDispatch::KeyDown(std::int16_t keyCode, std::int16_t shiftState)
{
    emit KeyPressed(static_cast<quint16>(keyCode), static_cast<quint16>(shiftState));
}

void CWMPEventDispatch::MouseDown(std::int16_t, std::int16_t, std::int32_t, std::int32_t)
{
    emit MousePressed();
}
