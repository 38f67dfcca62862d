#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempDir::TempDir() = default;

TempDir::~TempDir()
{
    if (configHome) {
        qputenv("XDG_CONFIG_HOME", previousConfigHome);
        qputenv("XDG_DATA_HOME", previousDataHome);
    }
}

void TempDir::WriteFile(const QString& relativePath, const QByteArray& bytes) const
{
    const QString path = FilePath(relativePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QByteArray TempDir::ReadFile(const QString& relativePath) const
{
    QFile file(FilePath(relativePath));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TempDir::UseAsConfigHome()
{
    if (!configHome) {
        previousConfigHome = qgetenv("XDG_CONFIG_HOME");
        previousDataHome = qgetenv("XDG_DATA_HOME");
    }
    configHome = true;
    // The viewer's data (the films' places) is kept apart from the real one's too.
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    qputenv("XDG_DATA_HOME", dir.path().toUtf8());
}
