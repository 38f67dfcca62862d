#pragma once

#include "WinApp.h"

// The application object: runs the program's parts with the main window modally; the
// program lives exactly as long as that window.
class CLumenoApp : public CWinApp
{
    Q_OBJECT
public:
    CLumenoApp(int& argc, char** argv);

    // Runs the main window and returns its exit status when it has closed, or 0 at once after
    // handing the playlist arguments to the instance already running.
    int InitInstance();
};
