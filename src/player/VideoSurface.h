#pragma once
// The picture in a native window of its own, embedded in the widget tree through a
// container: frames go straight to the screen. The window receives the input events over
// it itself and hands them on to the widget set as the input target. Used on X11.

#include "VideoRenderer.h"

#include <QOpenGLWindow>
#include <QPointer>

class VideoSurface : public QOpenGLWindow
{
public:
    explicit VideoSurface(mpv_handle* engine);
    ~VideoSurface() override;

    VideoRenderer& Renderer() { return renderer; }

    // The widget that receives this window's keys and mouse presses as its own.
    void SetInputTarget(QWidget* target) { inputTarget = target; }

protected:
    void initializeGL() override;
    void paintGL() override;
    bool event(QEvent* event) override;

private:
    bool Forward(QEvent* event);

    VideoRenderer renderer;
    QPointer<QWidget> inputTarget;
};
