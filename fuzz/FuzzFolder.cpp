#include "FuzzFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {
const QTemporaryDir& Folder()
{
    static const QTemporaryDir folder;
    static const bool entered = QDir::setCurrent(folder.path());
    if (!folder.isValid() || !entered) {
        std::fprintf(stderr, "fuzz: cannot make a working folder\n");
        std::abort();
    }
    return folder;
}
} // namespace

QString FuzzFilePath(const QString& relativePath)
{
    return Folder().filePath(relativePath);
}

QString WriteFuzzInput(const QString& relativePath, const std::uint8_t* data, std::size_t size)
{
    const QString path = FuzzFilePath(relativePath);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) == static_cast<qint64>(size);
    RequireInvariant(written, "the input could not be written");
    return path;
}

QByteArray ReadFuzzFile(const QString& relativePath)
{
    QFile file(FuzzFilePath(relativePath));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void RequireInvariant(bool holds, const char* what)
{
    if (holds)
        return;
    std::fprintf(stderr, "fuzz: broken invariant: %s\n", what);
    std::abort();
}
