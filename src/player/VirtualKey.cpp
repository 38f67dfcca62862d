#include "VirtualKey.h"

#include <utility>

namespace {
constexpr std::pair<int, std::int16_t> kKeys[] = {
    {Qt::Key_Backspace, 8},  {Qt::Key_Tab, 9},       {Qt::Key_Backtab, 9},
    {Qt::Key_Clear, 12},     {Qt::Key_Return, VK_RETURN}, {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, 16},     {Qt::Key_Control, 17},  {Qt::Key_Alt, 18},
    {Qt::Key_Pause, 19},     {Qt::Key_CapsLock, 20}, {Qt::Key_Escape, 27},
    {Qt::Key_Space, VK_SPACE},     {Qt::Key_PageUp, VK_PAGE_UP}, {Qt::Key_PageDown, VK_PAGE_DOWN},
    {Qt::Key_End, 35},       {Qt::Key_Home, 36},     {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},        {Qt::Key_Right, 39},    {Qt::Key_Down, 40},
    {Qt::Key_Print, 44},     {Qt::Key_Insert, 45},   {Qt::Key_Delete, 46},
    {Qt::Key_Menu, 93},      {Qt::Key_NumLock, 144}, {Qt::Key_ScrollLock, 145},
    {Qt::Key_Semicolon, 186}, {Qt::Key_Equal, 187},  {Qt::Key_Plus, 187},
    {Qt::Key_Comma, 188},    {Qt::Key_Minus, 189},   {Qt::Key_Period, 190},
    {Qt::Key_Slash, 191},    {Qt::Key_QuoteLeft, 192}, {Qt::Key_BracketLeft, 219},
    {Qt::Key_Backslash, 220}, {Qt::Key_BracketRight, 221}, {Qt::Key_Apostrophe, 222},
    {Qt::Key_VolumeMute, 173}, {Qt::Key_VolumeDown, 174}, {Qt::Key_VolumeUp, 175},
    {Qt::Key_MediaNext, 176}, {Qt::Key_MediaPrevious, 177}, {Qt::Key_MediaStop, 178},
    {Qt::Key_MediaPlay, 179}, {Qt::Key_MediaTogglePlayPause, 179},
};
} // namespace

std::int16_t VirtualKeyFromQt(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return static_cast<std::int16_t>(qtKey); // same codes as ASCII upper case and digits
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return static_cast<std::int16_t>(112 + (qtKey - Qt::Key_F1));
    for (const auto& [qt, vk] : kKeys) {
        if (qt == qtKey)
            return vk;
    }
    return 0;
}

std::int16_t ShiftStateFromQt(Qt::KeyboardModifiers modifiers)
{
    std::int16_t state = 0;
    if (modifiers & Qt::ShiftModifier)
        state |= SHIFT_STATE_SHIFT;
    if (modifiers & Qt::ControlModifier)
        state |= SHIFT_STATE_CTRL;
    if (modifiers & Qt::AltModifier)
        state |= SHIFT_STATE_ALT;
    return state;
}
