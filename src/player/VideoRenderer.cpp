#include "VideoRenderer.h"

#include "VideoCaption.h"

#include <mpv/render_gl.h>

#include <QObject>
#include <QOpenGLContext>
#include <QPaintDevice>
#include <QPainter>

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

VideoRenderer::VideoRenderer(mpv_handle* engine, QObject* owner, std::function<void()> repaint,
                             std::function<void()> makeCurrent, std::function<void()> doneCurrent)
    : engine(engine), owner(owner), repaint(std::move(repaint)), makeCurrent(std::move(makeCurrent)),
      doneCurrent(std::move(doneCurrent))
{
}

void VideoRenderer::Create()
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
    // Called on libmpv's thread: the repaint is queued to the owner's.
    mpv_render_context_set_update_callback(
        render,
        [](void* self) {
            auto* renderer = static_cast<VideoRenderer*>(self);
            const auto draw = [renderer] {
                ++renderer->frameUpdates;
                renderer->repaint();
            };
            QMetaObject::invokeMethod(renderer->owner, draw, Qt::QueuedConnection);
        },
        this);
    if (onReady)
        onReady();
}

void VideoRenderer::Draw(QPaintDevice& device, unsigned int frameBuffer, qreal ratio)
{
    // The card covers the whole picture: no frame of a channel that ended shows under it.
    if (caption == nullptr || !caption->HidesPicture())
        Render(frameBuffer, static_cast<int>(device.width() * ratio), static_cast<int>(device.height() * ratio));
    if (caption == nullptr || caption->IsEmpty())
        return;
    QPainter painter(&device);
    caption->Paint(painter, QRect(0, 0, device.width(), device.height()));
}

void VideoRenderer::Render(unsigned int frameBuffer, int width, int height)
{
    if (render == nullptr)
        return;
    mpv_opengl_fbo fbo{static_cast<int>(frameBuffer), width, height, 0};
    int flipY = 1; // GL's origin is bottom left; without this the picture is upside down
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(render, params);
}

void VideoRenderer::ReportSwap()
{
    if (render != nullptr)
        mpv_render_context_report_swap(render);
}

void VideoRenderer::Free()
{
    if (render == nullptr)
        return;
    makeCurrent();
    mpv_render_context_free(render);
    render = nullptr;
    doneCurrent();
}

void VideoRenderer::Detach()
{
    onReady = nullptr;
    onDestroying = nullptr;
    caption = nullptr;
    Free();
    engine = nullptr;
}
