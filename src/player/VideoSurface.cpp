#include "VideoSurface.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QPlatformSurfaceEvent>
#include <QWidget>

#include <memory>

VideoSurface::VideoSurface(mpv_handle* engine)
    : QOpenGLWindow(QOpenGLWindow::NoPartialUpdate),
      renderer(
          engine, this, [this] { update(); }, [this] { makeCurrent(); }, [this] { doneCurrent(); })
{
    connect(this, &QOpenGLWindow::frameSwapped, this, [this] { renderer.ReportSwap(); });
}

VideoSurface::~VideoSurface()
{
    if (renderer.onDestroying)
        renderer.onDestroying();
    renderer.Detach();
}

bool VideoSurface::event(QEvent* event)
{
    // The base class drops its GL context with the native window; libmpv's GL objects go
    // first, while the context can still be made current. A new window makes them again.
    if (event->type() == QEvent::PlatformSurface &&
        static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
            QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed)
        renderer.Free();
    if (Forward(event))
        return true;
    return QOpenGLWindow::event(event);
}

// A native child window gets the pointer, keyboard and drops itself; the widgets around it
// see the events as if the picture were one of them. A right press also asks for the
// context menu, as a widget's press would.
bool VideoSurface::Forward(QEvent* event)
{
    if (inputTarget == nullptr)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop:
        break;
    default:
        return false;
    }
    std::unique_ptr<QEvent> copy(event->clone());
    QPointer<QWidget> target = inputTarget;
    QCoreApplication::sendEvent(target, copy.get());
    // The drag's source learns from this window's own event whether the drop is welcome.
    if (auto* drop = dynamic_cast<QDropEvent*>(event)) {
        drop->setDropAction(static_cast<QDropEvent*>(copy.get())->dropAction());
        drop->setAccepted(copy->isAccepted());
    }
    if (target == nullptr || event->type() != QEvent::MouseButtonPress)
        return true;
    const auto* mouse = static_cast<const QMouseEvent*>(event);
    if (mouse->button() == Qt::RightButton) {
        QContextMenuEvent menu(QContextMenuEvent::Mouse, mouse->position().toPoint(),
                               mouse->globalPosition().toPoint(), mouse->modifiers());
        QCoreApplication::sendEvent(target, &menu);
    }
    return true;
}

void VideoSurface::initializeGL()
{
    renderer.Create();
}

void VideoSurface::paintGL()
{
    renderer.Draw(*this, defaultFramebufferObject(), devicePixelRatio());
}
