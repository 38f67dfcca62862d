#include "VideoSurface.h"

#include <mpv/render_gl.h>

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QOpenGLContext>
#include <QPlatformSurfaceEvent>
#include <QWidget>

#include <memory>

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace {
void* GetProcAddress(void*, const char* name)
{
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context != nullptr ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}

// Making the render context probes every hardware-decoding interop, and a library the
// machine does not have (CUDA on most) prints a line straight to standard error. A probe
// that found nothing is no error, so standard error is muted for the call; a real failure
// is still reported through the result.
int CreateRenderContextQuietly(mpv_render_context** render, mpv_handle* engine, mpv_render_param* params)
{
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved >= 0 && null >= 0)
        dup2(null, STDERR_FILENO);
    const int result = mpv_render_context_create(render, engine, params);
    std::fflush(stderr);
    if (saved >= 0) {
        dup2(saved, STDERR_FILENO);
        close(saved);
    }
    if (null >= 0)
        close(null);
    return result;
}
} // namespace

VideoSurface::VideoSurface(mpv_handle* engine)
    : QOpenGLWindow(QOpenGLWindow::NoPartialUpdate), engine(engine)
{
    // Each swap is reported so libmpv can pace its frames.
    connect(this, &QOpenGLWindow::frameSwapped, this, [this] {
        if (render != nullptr)
            mpv_render_context_report_swap(render);
    });
}

VideoSurface::~VideoSurface()
{
    if (onDestroying)
        onDestroying();
    Detach();
}

void VideoSurface::Detach()
{
    onReady = nullptr;
    onDestroying = nullptr;
    FreeRenderContext();
    engine = nullptr;
}

void VideoSurface::FreeRenderContext()
{
    if (render == nullptr)
        return;
    makeCurrent();
    mpv_render_context_free(render);
    render = nullptr;
    doneCurrent();
}

bool VideoSurface::event(QEvent* event)
{
    // The base class drops its GL context with the native window; libmpv's GL objects go
    // first, while the context can still be made current. A new window makes them again.
    if (event->type() == QEvent::PlatformSurface &&
        static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
            QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed)
        FreeRenderContext();
    if (Forward(event))
        return true;
    return QOpenGLWindow::event(event);
}

// A native child window gets the pointer and keyboard itself; the widgets around it see
// the events as if the picture were one of them. A right press also asks for the context
// menu, as a widget's press would.
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
        break;
    default:
        return false;
    }
    std::unique_ptr<QEvent> copy(event->clone());
    QPointer<QWidget> target = inputTarget;
    QCoreApplication::sendEvent(target, copy.get());
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
    if (engine == nullptr || render != nullptr)
        return;
    mpv_opengl_init_params gl{GetProcAddress, nullptr};
    int advanced = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
        {MPV_RENDER_PARAM_ADVANCED_CONTROL, &advanced},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (CreateRenderContextQuietly(&render, engine, params) < 0) {
        render = nullptr;
        return;
    }
    mpv_render_context_set_update_callback(
        render,
        [](void* self) {
            auto* surface = static_cast<VideoSurface*>(self);
            const auto draw = [surface] {
                ++surface->frameUpdates;
                surface->update();
            };
            QMetaObject::invokeMethod(surface, draw, Qt::QueuedConnection);
        },
        this);
    if (onReady)
        onReady();
}

void VideoSurface::paintGL()
{
    if (render == nullptr)
        return;
    const qreal ratio = devicePixelRatio();
    mpv_opengl_fbo fbo{static_cast<int>(defaultFramebufferObject()),
                       static_cast<int>(width() * ratio), static_cast<int>(height() * ratio), 0};
    int flipY = 1; // GL's origin is bottom left; without this the picture is upside down
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(render, params);
}
