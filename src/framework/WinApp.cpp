#include "WinApp.h"

#include "AccessibleParts.h"
#include "InvalidArgument.h"
#include "MessageBox.h"

namespace {
// Qt picks its platform inside the application object, so this reads the same sources
// first: the -platform argument, QT_QPA_PLATFORM, then the session type.
bool WaylandExpected(int argc, char** argv)
{
    QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    for (int i = 1; i + 1 < argc; ++i)
        if (qstrcmp(argv[i], "-platform") == 0)
            platform = argv[i + 1];
    if (platform.isEmpty())
        return qgetenv("XDG_SESSION_TYPE") == "wayland" && qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
    return platform.startsWith("wayland");
}

// On Wayland the picture is a GL widget that moves between the main window and full
// screen; without contexts shared across windows its context, and libmpv's video output
// with it, would be lost on the way. Elsewhere the sharing only costs start-up time.
int& ShareContextsOnWayland(int& argc, char** argv)
{
    if (WaylandExpected(argc, argv))
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    return argc;
}
} // namespace

CWinApp::CWinApp(int& argc, char** argv) : QApplication(ShareContextsOnWayland(argc, argv), argv)
{
    AccessibleParts::InstallFactory();
}

bool CWinApp::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const CInvalidArgException&) {
        ReportInvalidArgument();
        return true;
    }
}

void CWinApp::ReportInvalidArgument()
{
    MessageBox(QApplication::activeWindow(), QString::fromLatin1(CInvalidArgException().what()),
               QApplication::applicationName(), MB_OK | MB_ICONEXCLAMATION);
}
