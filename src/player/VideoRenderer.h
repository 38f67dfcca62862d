#pragma once
// libmpv's render API, on an OpenGL surface or into an image drawn by the toolkit: the part
// the picture's homes share, a native child window and widgets of the main window.

#include <QImage>
#include <QtGlobal>

#include <functional>

class QObject;
class QPaintDevice;
class VideoCaption;

struct mpv_handle;
struct mpv_render_context;

class VideoRenderer
{
public:
    // owner: the surface, which repaints when told; makeCurrent and doneCurrent bind and
    // release its GL context.
    VideoRenderer(mpv_handle* engine, QObject* owner, std::function<void()> repaint,
                  std::function<void()> makeCurrent, std::function<void()> doneCurrent);
    // Into an image, without OpenGL.
    VideoRenderer(mpv_handle* engine, QObject* owner, std::function<void()> repaint);

    // With the owner's context current: makes the render context, then calls onReady.
    void Create();
    // Draws the newest frame into device (into its frame buffer object with OpenGL), or the
    // caption's card in its place, and the caption over it; ratio: device pixels per pixel.
    void Draw(QPaintDevice& device, unsigned int frameBuffer, qreal ratio);
    // What is drawn on the picture besides the engine's frames; it outlives this renderer.
    void SetCaption(const VideoCaption* shown) { caption = shown; }
    // Asks the owner to draw again.
    void Repaint() { repaint(); }
    // Tells libmpv a frame reached the screen, so it can pace the next ones, then onShown.
    void ReportSwap();
    // Frees the render context with the owner's GL context current; Create makes a new one.
    void Free();
    // Frees the render context and forgets the engine, callbacks and caption. The engine may be
    // destroyed only after this.
    void Detach();

    // How many times the render API reported a new frame to draw.
    int FrameUpdates() const { return frameUpdates; }

    // Called once the render context exists, so that addresses may be loaded.
    std::function<void()> onReady;
    // Called each time a drawing has reached the screen.
    std::function<void()> onShown;
    // Called by the owner's destructor while the GL context can still be made current.
    std::function<void()> onDestroying;

private:
    void Render(unsigned int frameBuffer, int width, int height);
    void RenderImage(int width, int height, qreal ratio);

    mpv_handle* engine;
    QObject* owner; // outlives this: the renderer is its member
    std::function<void()> repaint;
    std::function<void()> makeCurrent;
    std::function<void()> doneCurrent;
    bool software = false;
    QImage frame; // the software renderer's target, kept across frames of one size
    mpv_render_context* render = nullptr;
    const VideoCaption* caption = nullptr;
    int frameUpdates = 0;
};
