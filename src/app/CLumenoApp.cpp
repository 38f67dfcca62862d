#include "CLumenoApp.h"

#include "AppDataFolder.h"
#include "CLumenoDlg.h"
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

void CLumenoApp::InitInstance()
{
    const QString callerDirectory = qEnvironmentVariable("KORVANTA_CALLER_DIR", QDir::currentPath());
    const QStringList sources = PlaylistArguments(arguments().mid(1), callerDirectory);
    SingleInstance instance(SingleInstance::NameFor(GetAppDataFolder()));
    if (instance.HandOver(sources))
        return;
    instance.Listen();

    CLumenoDlg dlg;
    dlg.AddPlaylists(sources);
    connect(&instance, &SingleInstance::Received, &dlg, &CLumenoDlg::AddPlaylists);
    // Ending the session or a plain kill closes the program as the user would, so the
    // settings and favourites are saved. Leaving every event loop also ends a message box
    // or dialog that is open at that moment, which would otherwise hold the program.
    InstallTerminationHandler([&dlg] {
        dlg.EndDialog(IDCANCEL);
        QCoreApplication::exit(0);
    });
    dlg.DoModal();
}
