#pragma once
// The menu bar's four menus and the context menu, row by row in display order. Both are
// built from this one table, the way the accelerators are from theirs.

#include "CommandId.h"
#include "LanguageStrings.h"
#include "Settings.h"

#include <QKeyCombination>

#include <span>

enum MenuPopup : int {
    MenuChannels,
    MenuPlayback,
    MenuOptions,
    MenuHelp,
    MenuContext,
};
constexpr int kMenuBarMenuCount = MenuContext; // the popups before the context menu drop from the bar
constexpr int kPopupCount = MenuContext + 1;

struct MenuRow
{
    MenuPopup popup;
    int command;                          // ID_SEPARATOR for a separator line
    LanguageGroup group = MainMenu;       // where the text is
    int entry = 0;                        // its index in the group
    QKeyCombination shortcut = Qt::Key_unknown; // its name is shown after a tab; Key_unknown: none
    bool (*checked)(const Settings&) = nullptr; // nullptr: the item carries no check mark
};

std::span<const MenuRow> MenuRows();
