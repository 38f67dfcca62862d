#include "CLumenoApp.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    // The video surface moves between the main window and full screen; without shared
    // contexts its GL context would be lost on the way.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    CLumenoApp app(argc, argv);
    app.InitInstance();
    return 0;
}
