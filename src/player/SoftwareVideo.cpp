#include "SoftwareVideo.h"

SoftwareVideo::SoftwareVideo(mpv_handle* engine, QWidget* parent)
    : QWidget(parent), renderer(engine, this, [this] { update(); })
{
    // Every pixel is painted each time: nothing under the picture needs drawing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

SoftwareVideo::~SoftwareVideo()
{
    if (renderer.onDestroying)
        renderer.onDestroying();
    renderer.Detach();
}

void SoftwareVideo::showEvent(QShowEvent*)
{
    renderer.Create(); // once: as a GL surface's context, when first shown
}

void SoftwareVideo::paintEvent(QPaintEvent*)
{
    renderer.Draw(*this, 0, devicePixelRatioF());
    renderer.ReportSwap();
}
