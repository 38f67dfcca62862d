#include "VideoSurface.h"

#include <mpv/render_gl.h>

#include <QOpenGLContext>

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

VideoSurface::VideoSurface(mpv_handle* engine, QWidget* parent)
    : QOpenGLWidget(parent), engine(engine)
{
    // Each swap is reported so libmpv can pace its frames.
    connect(this, &QOpenGLWidget::frameSwapped, this, [this] {
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
    disconnect(contextWatch); // the base class destroys the context after we are gone
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

void VideoSurface::initializeGL()
{
    if (engine == nullptr || render != nullptr)
        return;
    // A context lost to reparenting takes libmpv's GL objects with it.
    disconnect(contextWatch);
    contextWatch = connect(context(), &QOpenGLContext::aboutToBeDestroyed, this,
                           &VideoSurface::FreeRenderContext);
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
    const qreal ratio = devicePixelRatioF();
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
