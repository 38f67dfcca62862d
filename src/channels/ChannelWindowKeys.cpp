// The channel window's keys: moving in the tree and the lists, the view keys.

#include "ChannelWindow.h"

#include "ActionTable.h"
#include "CommandId.h"
#include "ChannelTree.h"
#include "FavoritesList.h"
#include "MoveKeys.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QTreeWidget>

void ChannelWindow::keyPressEvent(QKeyEvent* event)
{
    // A key press rather than a shortcut: the main window's own Ctrl+F may also be in
    // reach here, and two shortcuts on one key would cancel each other.
    const int command = CommandOfKey(InChannelWindow, event->keyCombination());
    if (command == ID_FIND_CHANNEL) {
        OpenSearch();
        return;
    }
    if (command != 0 && ShownKeyOf(command).key() != Qt::Key_unknown) { // the main window's
        emit CommandChosen(command);
        return;
    }
    // Enter never ends the window: it plays the selection, or presses a focused button.
    if (command == ID_CHANNEL_PLAY) {
        if (auto* button = qobject_cast<QToolButton*>(focusWidget()))
            button->click();
        else
            OnCommand(ID_CHANNEL_PLAY);
        return;
    }
    QDialog::keyPressEvent(event);
}

bool ChannelWindow::eventFilter(QObject* watched, QEvent* event)
{
    const bool onList = watched == favoritesList->Widget();
    const bool onView = watched == tree->Widget() || onList;
    // The main window's shortcuts reach this tool window too: the keys that move through
    // a view (Right also opens a group) are the view's before they are a shortcut.
    if (event->type() == QEvent::ShortcutOverride && onView && IsMoveKey(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress && onView)
        return OnViewKey(onList, *static_cast<QKeyEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

bool ChannelWindow::OnViewKey(bool onFavorites, const QKeyEvent& key)
{
    switch (CommandOfKey(InChannelWindow, key.keyCombination())) {
    case ID_FAVORITES_UP:
    case ID_FAVORITES_DOWN:
    case ID_FAVORITES_REMOVE:
        if (!onFavorites)
            return false;
        OnCommand(CommandOfKey(InChannelWindow, key.keyCombination()));
        return true;
    case ID_FAVORITES_ADD:
        if (onFavorites)
            OnCommand(ID_FAVORITES_ADD);
        else
            AddToFavorites(tree->CurrentKey());
        return true;
    case ID_CHANNEL_MENU:
        if (onFavorites)
            return false;
        tree->ShowContextMenuAtCurrent();
        return true;
    case ID_CHANNEL_PLAY:
        // On a group, Enter opens or closes it as a double-click does.
        return !onFavorites && tree->ToggleCurrentGroup();
    default:
        return false;
    }
}
