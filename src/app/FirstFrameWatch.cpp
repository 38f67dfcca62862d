#include "FirstFrameWatch.h"

#include <QCoreApplication>
#include <QTimer>
#include <QTimerEvent>
#include <QWindow>

#include <utility>

void FirstFrameWatch::Watch(const QList<QWidget*>& widgets, std::function<void()> onShown)
{
    if (started)
        return;
    started = true;
    for (QWidget* widget : widgets)
        pending.append(widget);
    shown = std::move(onShown);
    // The windows of widgets not shown yet do not exist yet: the application's filter sees
    // their first exposure all the same.
    QCoreApplication::instance()->installEventFilter(this);
    deadline.start(kDeadlineMs, this);
}

bool FirstFrameWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Expose) {
        const auto* window = qobject_cast<QWindow*>(watched);
        pending.removeIf([window](const QPointer<QWidget>& widget) {
            return widget == nullptr || (window != nullptr && widget->windowHandle() == window && window->isExposed());
        });
        // The frame is painted while this event is handled: tell only after it.
        if (pending.isEmpty())
            QTimer::singleShot(0, this, &FirstFrameWatch::Finish);
    }
    return QObject::eventFilter(watched, event);
}

void FirstFrameWatch::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == deadline.timerId())
        Finish();
}

void FirstFrameWatch::Finish()
{
    QCoreApplication::instance()->removeEventFilter(this);
    deadline.stop();
    if (const auto tell = std::exchange(shown, nullptr))
        tell();
}
