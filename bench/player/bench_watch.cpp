// The player host as the main window holds it, in a window of a given size: plays an
// address until it is ended, or stays at rest without one. bench_cpu.py measures it.
//   bench_watch WIDTH HEIGHT [URL]

#include "CWMPWindow.h"

#include <QApplication>
#include <QWidget>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_watch WIDTH HEIGHT [URL]\n");
        return 2;
    }
    QWidget window;
    window.resize(atoi(argv[1]), atoi(argv[2]));
    CWMPWindow player;
    if (!player.Create(&window)) {
        std::fprintf(stderr, "libmpv could not be created\n");
        return 1;
    }
    player.VideoWidget()->setGeometry(window.rect());
    window.show();
    if (argc > 3)
        player.PlayURL(RequestFor(QString::fromLocal8Bit(argv[3])));
    return app.exec();
}
