#include "CLumenoApp.h"

#include "CLumenoDlg.h"
#include "MessageBox.h"
#include "TerminationSignals.h"

CLumenoApp::CLumenoApp(int& argc, char** argv) : CWinApp(argc, argv)
{
    setApplicationName(QStringLiteral("Korvanta"));
    setApplicationDisplayName(QStringLiteral("Korvanta"));
    setDesktopFileName(QStringLiteral("korvanta"));
}

void CLumenoApp::InitInstance()
{
    CLumenoDlg dlg;
    // Ending the session or a plain kill closes the program as the user would, so the
    // settings and favourites are saved.
    InstallTerminationHandler([&dlg] { dlg.EndDialog(IDCANCEL); });
    dlg.DoModal();
}
