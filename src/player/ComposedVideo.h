#pragma once
// The picture as a widget composed with the main window. Used on Wayland, where a native
// child window becomes a subsurface that compositors do not reliably show.

#include "VideoRenderer.h"

#include <QOpenGLWidget>

class ComposedVideo : public QOpenGLWidget
{
public:
    ComposedVideo(mpv_handle* engine, QWidget* parent);
    ~ComposedVideo() override;

    VideoRenderer& Renderer() { return renderer; }

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    VideoRenderer renderer;
    QMetaObject::Connection contextWatch;
};
