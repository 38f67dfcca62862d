#include "PlaylistDrops.h"

#include "DroppedPlaylists.h"

#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

PlaylistDrops::PlaylistDrops(QWidget* window) : QObject(window)
{
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool PlaylistDrops::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::DragEnter) {
        auto* enter = static_cast<QDragEnterEvent*>(event);
        if (MayHoldPlaylists(*enter->mimeData()))
            enter->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const DroppedSources dropped = DroppedPlaylists(*drop->mimeData());
        drop->acceptProposedAction();
        emit Dropped(dropped.playlists, dropped.refused);
        return true;
    }
    return QObject::eventFilter(watched, event);
}
