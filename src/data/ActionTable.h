#pragma once
// The program's actions in one table: each key binding's command, key, the places where the
// key works and the command's name, and the menus' rows. The menus, the main window's
// shortcuts, the keys of the picture and those of the channel and guide windows are all
// made from it.

#include "CommandId.h"
#include "LanguageStrings.h"
#include "Settings.h"

#include <QKeyCombination>

#include <span>

// Where a key works.
enum KeyPlace : unsigned {
    OnWindow = 1,        // the main window
    OnPicture = 2,       // the picture, which has the keyboard in full screen
    InChannelWindow = 4, // the channel window
    InGuideWindow = 8,   // the guide window, before its own keys
};

struct KeyBinding
{
    int command;
    QKeyCombination key;
    unsigned places;           // KeyPlace bits
    // On the picture the key acts whatever the modifiers held with it.
    bool anyModifiers = false;
    // Taken by the main window's key handler after its focused control had the chance:
    // Enter is the dialog's own key, never a shortcut.
    bool dialogKey = false;
};

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
    int command;                    // ID_SEPARATOR for a separator line
    LanguageGroup group = MainMenu; // where the text is
    int entry = 0;                  // its index in the group
    bool (*checked)(const Settings&) = nullptr; // nullptr: the item carries no check mark
};

std::span<const KeyBinding> KeyBindings();
std::span<const MenuRow> MenuRows();

// The command of key where it was pressed; 0 for none. On the picture a key bound with
// anyModifiers also acts with other modifiers, when no binding takes those exactly.
int CommandOfKey(KeyPlace place, QKeyCombination key);
// The key a menu shows after a command's text: its first binding in the main window;
// Key_unknown for none.
QKeyCombination ShownKeyOf(int command);
// What a command does, in the pack's words: its menu item's text without the dots that
// promise a dialog, or its own name where no menu has it.
QString CommandName(const LanguageStrings& texts, int command);
