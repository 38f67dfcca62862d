#include "VideoOutput.h"

#include "LogCategories.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <array>

namespace {
constexpr const char* kOverride = "KORVANTA_VIDEO_OUTPUT";

// Renderer names of Mesa's and Windows' rasterizers that run on the processor.
constexpr std::array kSoftwareRenderers{"llvmpipe", "softpipe", "swrast", "software rasterizer"};

bool WithoutRealWindows()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal") ||
           platform == QLatin1String("vnc");
}

// The name of the OpenGL renderer a window would get; empty when none can be made current.
QByteArray RendererName()
{
    QOpenGLContext context;
    QOffscreenSurface surface;
    surface.create();
    if (!context.create() || !context.makeCurrent(&surface))
        return {};
    const auto* name = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
    QByteArray result(name != nullptr ? name : "");
    context.doneCurrent();
    return result;
}

bool IsSoftwareRenderer(const QByteArray& name)
{
    const QByteArray lower = name.toLower();
    for (const char* software : kSoftwareRenderers) {
        if (lower.contains(software))
            return true;
    }
    return false;
}
} // namespace

VideoOutput ChooseVideoOutput()
{
    // Shown, a QOpenGLWidget crashes on platforms without real windows, even where a
    // context can be made; those get a black surface.
    if (WithoutRealWindows())
        return VideoOutput::None;
    const QByteArray forced = qgetenv(kOverride);
    if (forced == "software")
        return VideoOutput::Software;
    QElapsedTimer probe;
    probe.start();
    const QByteArray renderer = RendererName();
    if (forced == "opengl" && !renderer.isEmpty())
        return VideoOutput::OpenGL;
    const bool software = renderer.isEmpty() || IsSoftwareRenderer(renderer);
    qCInfo(lcPlayer, "video through %s (OpenGL renderer: %s, asked in %lld ms)", software ? "software" : "OpenGL",
           renderer.isEmpty() ? "none" : renderer.constData(), static_cast<long long>(probe.elapsed()));
    return software ? VideoOutput::Software : VideoOutput::OpenGL;
}
