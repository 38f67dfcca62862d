// Writes the channel window's icons as PNG files into the folder given (default: the
// current folder): channel_101.png .. channel_133.png and window_129.png .. window_135.png.

#include "ChannelIconArt.h"
#include "WindowIconArt.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        QTextStream(stderr) << "cannot create " << out.path() << "\n";
        return 1;
    }
    bool ok = true;
    for (int id = 101; id <= 133; ++id)
        ok &= DrawChannelIcon(id).save(out.filePath(QStringLiteral("channel_%1.png").arg(id)));
    for (int id = 129; id <= 135; ++id)
        ok &= DrawWindowIcon(id).save(out.filePath(QStringLiteral("window_%1.png").arg(id)));
    return ok ? 0 : 1;
}
