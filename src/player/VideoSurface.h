#pragma once
// The picture: libmpv's render API drawing straight into a native window's frame buffer.
// The window is embedded in the widget tree through a container; it receives the input
// events over it itself and hands them on to the widget set as the input target.

#include <QOpenGLWindow>
#include <QPointer>

#include <functional>

struct mpv_handle;
struct mpv_render_context;

class VideoSurface : public QOpenGLWindow
{
public:
    explicit VideoSurface(mpv_handle* engine);
    ~VideoSurface() override;

    // Frees the render context with the GL context current and forgets the engine. The
    // engine may be destroyed only after this.
    void Detach();

    // The widget that receives this window's keys and mouse presses as its own.
    void SetInputTarget(QWidget* target) { inputTarget = target; }

    // How many times the render API reported a new frame to draw.
    int FrameUpdates() const { return frameUpdates; }

    // Called once the render context exists, so that addresses may be loaded.
    std::function<void()> onReady;
    // Called from the destructor while the GL context can still be made current.
    std::function<void()> onDestroying;

protected:
    void initializeGL() override;
    void paintGL() override;
    bool event(QEvent* event) override;

private:
    void FreeRenderContext();
    bool Forward(QEvent* event);

    mpv_handle* engine;
    mpv_render_context* render = nullptr;
    int frameUpdates = 0;
    QPointer<QWidget> inputTarget;
};
