#pragma once
// The picture: libmpv's render API drawing into a QOpenGLWidget's frame buffer.

#include <QOpenGLWidget>

#include <functional>

struct mpv_handle;
struct mpv_render_context;

class VideoSurface : public QOpenGLWidget
{
public:
    VideoSurface(mpv_handle* engine, QWidget* parent);
    ~VideoSurface() override;

    // Frees the render context with the GL context current and forgets the engine. The
    // engine may be destroyed only after this.
    void Detach();

    // How many times the render API reported a new frame to draw.
    int FrameUpdates() const { return frameUpdates; }

    // Called once the render context exists, so that addresses may be loaded.
    std::function<void()> onReady;
    // Called from the destructor while the GL context can still be made current.
    std::function<void()> onDestroying;

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    void FreeRenderContext();

    mpv_handle* engine;
    mpv_render_context* render = nullptr;
    int frameUpdates = 0;
    QMetaObject::Connection contextWatch;
};
