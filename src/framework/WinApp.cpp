#include "WinApp.h"

#include "InvalidArgument.h"
#include "MessageBox.h"

CWinApp::CWinApp(int& argc, char** argv) : QApplication(argc, argv) {}

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
