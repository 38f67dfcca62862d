// The baseline: the least a Qt widget program does to put a window on screen.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Baseline"));
    window.resize(550, 471);
    window.show();
    return app.exec();
}
