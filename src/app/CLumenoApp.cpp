#include "CLumenoApp.h"

#include "AppDataFolder.h"
#include "App.h"
#include "MessageBox.h"
#include "SingleInstance.h"
#include "TerminationSignals.h"

#include <QCoreApplication>
#include <QDir>

CLumenoApp::CLumenoApp(int& argc, char** argv) : CWinApp(argc, argv)
{
    // The name only: a display name would be appended to every window title on X11.
    setApplicationName(QStringLiteral("Korvanta"));
    setDesktopFileName(QStringLiteral("org.korvanta.Korvanta"));
}

int CLumenoApp::InitInstance()
{
    const QString callerDirectory = qEnvironmentVariable("KORVANTA_CALLER_DIR", QDir::currentPath());
    const QStringList sources = PlaylistArguments(arguments().mid(1), callerDirectory);
    SingleInstance instance(SingleInstance::NameFor(GetAppDataFolder()));
    if (instance.HandOver(sources))
        return 0;
    instance.Listen();

    App app;
    app.AddPlaylists(sources);
    connect(&instance, &SingleInstance::Received, &app, &App::AddPlaylists);
    // Ending the session or a plain kill closes the program as the user would, so the
    // settings and favourites are saved. Leaving every event loop also ends a message box
    // or dialog that is open at that moment, which would otherwise hold the program.
    InstallTerminationHandler([&app] {
        app.End(true);
        QCoreApplication::exit(0);
    });
    return app.Run();
}
