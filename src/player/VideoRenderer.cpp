#include "VideoRenderer.h"

#include "VideoCaption.h"

#include <mpv/render_gl.h>

#include <QObject>
#include <QOpenGLContext>
#include <QPaintDevice>
#include <QPainter>

#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

namespace {
// libmpv's converters take their fast paths with lines and rows at this alignment.
constexpr int kSoftwareAlignment = 64;
// QImage::Format_RGB32 as it lies in memory: a 32-bit 0xffRRGGBB in the machine's order.
constexpr const char* kSoftwareFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "bgr0" : "0rgb";

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

VideoRenderer::VideoRenderer(mpv_handle* engine, QObject* owner, std::function<void()> repaint)
    : VideoRenderer(engine, owner, std::move(repaint), [] {}, [] {})
{
    software = true;
}

void VideoRenderer::Create()
{
    if (engine == nullptr || render != nullptr)
        return;
    mpv_opengl_init_params gl{GetProcAddress, nullptr};
    mpv_render_param openGl[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_param inMemory[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_param* params = software ? inMemory : openGl;
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
    const int width = static_cast<int>(device.width() * ratio);
    const int height = static_cast<int>(device.height() * ratio);
    // The card covers the whole picture: no frame of a channel that ended shows under it.
    const bool picture = caption == nullptr || !caption->HidesPicture();
    if (picture && !software)
        Render(frameBuffer, width, height);
    if (picture && software)
        RenderImage(width, height, ratio);
    const bool captioned = caption != nullptr && !caption->IsEmpty();
    if (!software && !captioned)
        return;
    QPainter painter(&device);
    if (software && picture && render != nullptr)
        painter.drawImage(QPoint(0, 0), frame);
    else if (software && picture)
        painter.fillRect(QRect(0, 0, device.width(), device.height()), Qt::black);
    if (captioned)
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

void VideoRenderer::RenderImage(int width, int height, qreal ratio)
{
    if (render == nullptr || width <= 0 || height <= 0)
        return;
    if (frame.width() != width || frame.height() != height) {
        const qsizetype stride = (qsizetype(width) * 4 + kSoftwareAlignment - 1) / kSoftwareAlignment * kSoftwareAlignment;
        void* pixels = std::aligned_alloc(kSoftwareAlignment, size_t(stride) * size_t(height));
        if (pixels == nullptr)
            return;
        frame = QImage(static_cast<uchar*>(pixels), width, height, stride, QImage::Format_RGB32,
                       [](void* memory) { std::free(memory); }, pixels);
    }
    frame.setDevicePixelRatio(ratio); // drawn pixel for pixel
    int size[2] = {width, height};
    size_t stride = size_t(frame.bytesPerLine());
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, size},
        {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>(kSoftwareFormat)},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride},
        {MPV_RENDER_PARAM_SW_POINTER, frame.bits()},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(render, params);
}

void VideoRenderer::ReportSwap()
{
    if (render != nullptr)
        mpv_render_context_report_swap(render);
    if (onShown)
        onShown();
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
    onShown = nullptr;
    onDestroying = nullptr;
    caption = nullptr;
    Free();
    engine = nullptr;
}
