#pragma once
// Key reports use the platform's virtual-key codes and the player's shift bits, so the
// main window's key handling reads them the same on every system.

#include <Qt>

#include <cstdint>

constexpr std::int16_t SHIFT_STATE_SHIFT = 1;
constexpr std::int16_t SHIFT_STATE_CTRL = 2;
constexpr std::int16_t SHIFT_STATE_ALT = 4;

// The virtual-key codes the main window acts on.
constexpr std::int16_t VK_RETURN = 13;
constexpr std::int16_t VK_SPACE = 32;
constexpr std::int16_t VK_PAGE_UP = 33;
constexpr std::int16_t VK_PAGE_DOWN = 34;
constexpr std::int16_t VK_M = 'M';
constexpr std::int16_t VK_MENU = 18; // Alt
constexpr std::int16_t VK_F10 = 121;
constexpr std::int16_t VK_ESCAPE = 27;

// The virtual-key code of a Qt key; 0 for keys the platform has no code for.
std::int16_t VirtualKeyFromQt(int qtKey);

std::int16_t ShiftStateFromQt(Qt::KeyboardModifiers modifiers);
