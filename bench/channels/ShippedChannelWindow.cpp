#include "ShippedChannelWindow.h"

#include "LanguagePack.h"

#include <QFile>

bool ShippedChannelWindow::Load()
{
    QString language = QStringLiteral("English");
    return LoadLanguagePack(nullptr, language, strings) && LoadChannelCatalogue(language, names, descriptions);
}

void ShippedChannelWindow::Create()
{
    favoriteList.Set(favorites);
    dlg.Create(&mainWindow);
    dlg.resize(220, 480);
    dlg.show();
}

double ResidentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}
