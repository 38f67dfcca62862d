#include "WindowGeometry.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

namespace {
QSize frameExtra(const QWidget* window)
{
    return window->frameGeometry().size() - window->geometry().size();
}

void apply(QWidget* window, const QRect& outer)
{
    const QSize client = outer.size() - frameExtra(window);
    window->resize(client.expandedTo(QSize(1, 1)));
    window->move(outer.topLeft());
}

// Re-applies the wanted rectangle once the window manager has given the window its frame
// (or, for an unframed window, once it is shown), then removes itself.
class FrameWatcher : public QObject
{
public:
    FrameWatcher(QWidget* window, const QRect& outer) : QObject(window), window(window), outer(outer)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window && window->isVisible()
            && (event->type() == QEvent::Move || event->type() == QEvent::Resize
                || event->type() == QEvent::Show)) {
            if (frameExtra(window) != QSize(0, 0) || !window->frameGeometry().isValid()) {
                window->removeEventFilter(this);
                apply(window, outer);
                deleteLater();
            }
        }
        return false;
    }

private:
    QPointer<QWidget> window;
    QRect outer;
};
} // namespace

void MoveWindowOuter(QWidget* window, const QRect& outer)
{
    if (window == nullptr)
        return;
    apply(window, outer);
    if (frameExtra(window) == QSize(0, 0) && !window->testAttribute(Qt::WA_DontShowOnScreen))
        new FrameWatcher(window, outer);
}

QRect GetWindowOuterRect(const QWidget* window)
{
    return window->frameGeometry();
}

QRect RectToSave(const QRect& given, const QRect& current)
{
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return QRect(given.topLeft(), current.size());
    return current;
}
