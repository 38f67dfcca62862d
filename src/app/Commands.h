#pragma once
// What each command does, and the ways to it: the menu bar's four menus and the context
// menu, the main window's shortcuts, the picture's keys and the digits of a channel number,
// all made from one table of actions. The wiring tells it what each command does.

#include "ActionTable.h"
#include "ChannelNumberEntry.h"
#include "LanguageStrings.h"

#include <QKeyCombination>
#include <QObject>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class CPanelMenu;
class QMenu;
class QShortcut;
class QWidget;
struct Settings;

class Commands : public QObject
{
    Q_OBJECT
public:
    using Handler = std::function<void()>;
    using ExtraMenus = std::function<std::vector<std::unique_ptr<QMenu>>()>;

    Commands(const LanguageStrings& texts, const Settings& settings);
    ~Commands() override;

    // What command does.
    void On(int command, Handler handler);
    // What the commands without a handler of their own do (the tracks' items).
    void OnOthers(std::function<void(int)> handler) { others = std::move(handler); }
    bool Handles(int command) const { return handlers.count(command) > 0; }
    // Carries command out; a missing text ends only it.
    void Run(int command);

    // A key pressed where: the menu bar's keys, a channel number's digits, then the table.
    // True when it was used.
    bool Key(KeyPlace place, QKeyCombination key);
    // Alt pressed and released with nothing between opens the menu bar.
    bool KeyReleased(QKeyCombination key, bool autoRepeat);
    // The shortcuts of window, which work while it is active.
    void InstallShortcuts(QWidget* window);
    const std::vector<QShortcut*>& Shortcuts() const { return shortcuts; }

    // Builds the menus, owned by owner, and the bar's items; stops with the invalid-argument
    // error at the first missing text, keeping what it built.
    void BuildMenus(QWidget* owner, CPanelMenu& bar);
    // The same in the texts now loaded.
    void RebuildMenus(QWidget* owner, CPanelMenu& bar);
    QMenu* Menu(int popup) const { return menus[static_cast<std::size_t>(popup)].get(); }
    void SetCheck(int command, bool checked);
    // The context menu at a point, with the menus extra gives for this opening alone after
    // Mute; the chosen command is run.
    void ShowContextMenu(const QPoint& at);
    void SetExtraMenus(ExtraMenus extra) { extraMenus = std::move(extra); }
    // What Escape cancels besides a number being typed (true when it cancelled something).
    void SetEscape(std::function<bool()> cancel) { escape = std::move(cancel); }

    // How long the digits of a channel number wait for the next.
    void SetNumberDelay(int milliseconds) { numberEntry.SetPause(milliseconds); }
    // No channel has number: said for a moment where the number was shown.
    void NumberNotFound(int number);

signals:
    void NumberChosen(int number);
    void NumberShown(const QString& text);

private:
    void AppendItem(const MenuRow& row);

    const LanguageStrings& texts;
    const Settings& settings;
    std::map<int, Handler> handlers;
    std::function<void(int)> others;
    std::array<std::unique_ptr<QMenu>, kPopupCount> menus;
    std::vector<QShortcut*> shortcuts;
    ExtraMenus extraMenus;
    std::function<bool()> escape;
    bool altAlone = false; // Alt is down and no other key was pressed since
    ChannelNumberEntry numberEntry{[this](int number) { emit NumberChosen(number); },
                                   [this](const QString& text) { emit NumberShown(text); }};
};
