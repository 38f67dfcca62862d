#include "AppDataFolder.h"

#include <QDir>
#include <QtGlobal>

QString GetAppDataFolder()
{
#ifdef Q_OS_WIN
    return qEnvironmentVariable("APPDATA");
#else
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::homePath() + QStringLiteral("/.config");
#endif
}
