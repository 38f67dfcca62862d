#pragma once
// The picture as a widget the toolkit paints: libmpv converts each frame into an image on
// the processor, which costs far less than the shaders of a software OpenGL rasterizer. Used
// where no graphics card renders OpenGL, on X11 and Wayland alike.

#include "VideoRenderer.h"

#include <QWidget>

class SoftwareVideo : public QWidget
{
public:
    SoftwareVideo(mpv_handle* engine, QWidget* parent);
    ~SoftwareVideo() override;

    VideoRenderer& Renderer() { return renderer; }

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    VideoRenderer renderer;
};
