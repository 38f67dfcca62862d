#include "CLumenoApp.h"

#include "CLumenoDlg.h"
#include "MessageBox.h"
#include "TerminationSignals.h"

CLumenoApp::CLumenoApp(int& argc, char** argv) : CWinApp(argc, argv)
{
    // The name only: a display name would be appended to every window title on X11.
    setApplicationName(QStringLiteral("Korvanta"));
    setDesktopFileName(QStringLiteral("org.korvanta.Korvanta"));
}

void CLumenoApp::InitInstance()
{
    CLumenoDlg dlg;
    // Ending the session or a plain kill closes the program as the user would, so the
    // settings and favourites are saved.
    InstallTerminationHandler([&dlg] { dlg.EndDialog(IDCANCEL); });
    dlg.DoModal();
}
