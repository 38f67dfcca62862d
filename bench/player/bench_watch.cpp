// The player host as the main window holds it, in a window of a given size: plays an
// address until it is ended, or stays at rest without one; with --record, another address
// is recorded in the background meanwhile, as a scheduled recording is. bench_cpu.py
// measures it.
//   bench_watch WIDTH HEIGHT [URL] [--record URL]

#include "CWMPWindow.h"
#include "SharedHeap.h"
#include "StreamCopier.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    ShareWorkerHeaps(); // as the program's main does
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
    QStringList rest = app.arguments().mid(3);
    QTemporaryDir folder;
    std::unique_ptr<StreamCopier> recording;
    if (const qsizetype record = rest.indexOf(QStringLiteral("--record")); record >= 0 && record + 1 < rest.size()) {
        recording = std::make_unique<StreamCopier>(CopySource{rest[record + 1], {}, {}},
                                                   folder.filePath(QStringLiteral("recording.ts")));
        recording->Start();
        rest.remove(record, 2);
    }
    if (!rest.isEmpty() && !rest[0].isEmpty())
        player.PlayURL(RequestFor(rest[0]));
    return app.exec();
}
