#include "NextReminder.h"

#include "ChannelDirectory.h"
#include "GuideOrderTexts.h"
#include "RecordingsTexts.h"

#include <QContextMenuEvent>
#include <QDateTime>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>

#include <memory>

NextReminder::NextReminder(QPlainTextEdit* box, const LanguageStrings& texts, const ChannelDirectory& directory)
    : QObject(box), box(box), viewport(box->viewport()), texts(texts), directory(directory)
{
    box->installEventFilter(this);
    box->viewport()->installEventFilter(this); // the mouse's context menu is asked for there
}

std::optional<GuideProgramme> NextReminder::Next() const
{
    if (described.id == 0 && !described.IsOwn())
        return std::nullopt;
    std::optional<GuideProgramme> next = directory.NextProgrammeOf(described);
    if (next && next->start <= QDateTime::currentSecsSinceEpoch())
        return std::nullopt;
    return next;
}

void NextReminder::Toggle(const GuideProgramme& programme)
{
    emit RemindProgramme(described, directory.NameOf(described), programme);
}

void NextReminder::ShowMenu(const QPoint& globalPos)
{
    std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
    QAction* remind = nullptr;
    QAction* once = nullptr;
    QAction* series = nullptr;
    const std::optional<GuideProgramme> next = Next();
    if (next) {
        menu->addSeparator();
        const int text = reminded(described, next->start) ? GuideOrderCancelNext : GuideOrderRemindNext;
        remind = menu->addAction(texts.Text(GuideOrder, text).arg(next->title));
        const GuideRecording now = recording(described, *next);
        once = menu->addAction(texts.Text(Recordings, now == GuideRecording::Once ? RecCancelNext : RecRecordNext).arg(next->title));
        series = menu->addAction(
            texts.Text(Recordings, now == GuideRecording::Series ? RecSeriesCancelNext : RecSeriesNext).arg(next->title));
    }
    QAction* chosen = menu->exec(globalPos);
    if (chosen == nullptr || !next)
        return;
    if (chosen == remind)
        Toggle(*next);
    else if (chosen == once || chosen == series)
        emit RecordProgramme(described, directory.NameOf(described), *next, chosen == series);
}

bool NextReminder::eventFilter(QObject* watched, QEvent* event)
{
    // Compared, not asked: the box may be half gone when its last events come.
    if (watched != box && watched != viewport)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::ContextMenu) {
        ShowMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_R && key->modifiers() == Qt::NoModifier) {
            if (const std::optional<GuideProgramme> next = Next())
                Toggle(*next);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
