#pragma once
// Message boxes with the platform's style bits and results. Tests install a hook so that
// no modal box ever blocks a headless run; the hook sees exactly what would be shown.

#include <QString>

#include <functional>

class QWidget;

constexpr unsigned MB_OK = 0x00;
constexpr unsigned MB_YESNO = 0x04;
constexpr unsigned MB_TYPEMASK = 0x0F;
constexpr unsigned MB_ICONSTOP = 0x10;
constexpr unsigned MB_ICONERROR = MB_ICONSTOP;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr unsigned MB_ICONEXCLAMATION = MB_ICONWARNING;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_ICONMASK = 0xF0;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

using MessageBoxHook =
    std::function<int(QWidget* owner, const QString& text, const QString& caption, unsigned style)>;

// Replaces the real box; an empty hook restores it. Returns the previous hook.
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

int MessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned style);
