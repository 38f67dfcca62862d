#include "ComposedVideo.h"

#include <QOpenGLContext>

ComposedVideo::ComposedVideo(mpv_handle* engine, QWidget* parent)
    : QOpenGLWidget(parent),
      renderer(
          engine, this, [this] { update(); }, [this] { makeCurrent(); }, [this] { doneCurrent(); })
{
    connect(this, &QOpenGLWidget::frameSwapped, this, [this] { renderer.ReportSwap(); });
}

ComposedVideo::~ComposedVideo()
{
    if (renderer.onDestroying)
        renderer.onDestroying();
    disconnect(contextWatch); // the base class destroys the context after we are gone
    renderer.Detach();
}

void ComposedVideo::initializeGL()
{
    // Where contexts are not shared across windows, moving to full screen replaces the
    // context, and the old one takes libmpv's GL objects with it.
    disconnect(contextWatch);
    contextWatch = connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] { renderer.Free(); });
    renderer.Create();
}

void ComposedVideo::paintGL()
{
    renderer.Draw(*this, defaultFramebufferObject(), devicePixelRatioF());
}
