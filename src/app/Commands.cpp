#include "Commands.h"

#include "CPanelMenu.h"
#include "GuidanceTexts.h"
#include "LanguageEntries.h"
#include "WinApp.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QScopeGuard>
#include <QShortcut>

#include <algorithm>

Commands::Commands(const LanguageStrings& texts, const Settings& settings) : texts(texts), settings(settings)
{
}

Commands::~Commands() = default;

void Commands::On(int command, Handler handler)
{
    handlers[command] = std::move(handler);
}

void Commands::Run(int command)
{
    CatchInvalidArgument([&] {
        const auto handler = handlers.find(command);
        if (handler != handlers.end())
            handler->second();
        else if (others)
            others(command);
    });
}

bool Commands::Key(KeyPlace place, QKeyCombination key)
{
    const int pressed = key.key();
    altAlone = pressed == Qt::Key_Alt;
    if (altAlone)
        return place == OnPicture; // the picture's Alt goes no further
    if ((key.keyboardModifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (pressed >= Qt::Key_0 && pressed <= Qt::Key_9) {
            numberEntry.AddDigit(pressed - Qt::Key_0);
            return true;
        }
        if ((pressed == Qt::Key_Return || pressed == Qt::Key_Enter) && numberEntry.Finish())
            return true;
        if (pressed == Qt::Key_Escape && (numberEntry.Cancel() || (escape && escape())))
            return true;
    }
    const int command = CommandOfKey(place, key);
    if (command == 0)
        return false;
    Run(command);
    return true;
}

bool Commands::KeyReleased(QKeyCombination key, bool autoRepeat)
{
    if (key.key() != Qt::Key_Alt || !altAlone || autoRepeat)
        return false;
    altAlone = false;
    Run(ID_MENU_BAR);
    return true;
}

void Commands::InstallShortcuts(QWidget* window)
{
    if (!shortcuts.empty())
        return;
    for (const KeyBinding& binding : KeyBindings()) {
        if ((binding.places & OnWindow) == 0 || binding.dialogKey)
            continue;
        auto* shortcut = new QShortcut(QKeySequence(binding.key), window);
        shortcut->setContext(Qt::WindowShortcut); // not while the channel window has the focus
        shortcut->setAutoRepeat(true);
        const int command = binding.command;
        connect(shortcut, &QShortcut::activated, this, [this, command] { Run(command); });
        shortcuts.push_back(shortcut);
    }
}

void Commands::BuildMenus(QWidget* owner, CPanelMenu& bar)
{
    for (auto& menu : menus)
        menu = std::make_unique<QMenu>(owner);
    for (int popup = 0; popup < kMenuBarMenuCount; ++popup)
        bar.AddItem(texts.Text(MainMenu, MainMenuTitleChannels + popup), menus[static_cast<std::size_t>(popup)].get());
    if (settings.hideMenu)
        bar.hide();
    for (const MenuRow& row : MenuRows())
        AppendItem(row);
}

void Commands::RebuildMenus(QWidget* owner, CPanelMenu& bar)
{
    for (auto& menu : menus)
        menu.reset();
    bar.RemoveAllItems();
    BuildMenus(owner, bar);
    bar.update();
}

void Commands::AppendItem(const MenuRow& row)
{
    QMenu* menu = menus[static_cast<std::size_t>(row.popup)].get();
    if (row.command == ID_SEPARATOR) {
        menu->addSeparator();
        return;
    }
    QString text = texts.Text(row.group, row.entry);
    const QKeyCombination key = ShownKeyOf(row.command);
    if (key.key() != Qt::Key_unknown) // the key's name in the current language
        text += QLatin1Char('\t') + QKeySequence(key).toString(QKeySequence::NativeText);
    QAction* action = menu->addAction(text);
    action->setData(row.command);
    if (row.checked != nullptr) {
        action->setCheckable(true);
        action->setChecked(row.checked(settings));
    }
}

void Commands::SetCheck(int command, bool checked)
{
    for (const auto& menu : menus) {
        if (!menu)
            continue;
        for (QAction* action : menu->actions()) {
            if (action->data().toInt() == command) {
                action->setCheckable(true);
                action->setChecked(checked);
            }
        }
    }
}

void Commands::ShowContextMenu(const QPoint& at)
{
    QMenu* popup = Menu(MenuContext);
    if (popup == nullptr)
        return;
    const std::vector<std::unique_ptr<QMenu>> extra = extraMenus ? extraMenus() : std::vector<std::unique_ptr<QMenu>>();
    const QList<QAction*> rows = popup->actions();
    const auto mute = std::find_if(rows.begin(), rows.end(), [](const QAction* row) { return row->data().toInt() == ID_MUTE; });
    QAction* before = mute != rows.end() ? rows.value(int(mute - rows.begin()) + 1) : nullptr;
    std::vector<QAction*> added;
    for (const auto& menu : extra)
        added.push_back(popup->insertMenu(before, menu.get()));
    const auto removeExtra = qScopeGuard([&] {
        for (QAction* row : added)
            popup->removeAction(row);
    });
    if (QAction* chosen = popup->exec(at))
        Run(chosen->data().toInt());
}

void Commands::NumberNotFound(int number)
{
    numberEntry.ShowBriefly(texts[Guidance].value(GuidanceNoSuchNumber).arg(number));
}
