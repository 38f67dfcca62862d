#include "PrivateFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t kPrivateFolderMode = S_IRWXU;
constexpr mode_t kOthersAccess = S_IRWXG | S_IRWXO;
constexpr mode_t kModeBits = 07777;

bool IsOwnFolder(const QByteArray& path, struct stat& info)
{
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid();
}

} // namespace

bool IsPrivateFolder(const QString& path)
{
    struct stat info{};
    return IsOwnFolder(QFile::encodeName(path), info) && (info.st_mode & kOthersAccess) == 0;
}

bool MakePrivateFolder(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Made with its mode, so that it is never open to others, not even for a moment.
    if (::mkdir(native.constData(), kPrivateFolderMode) != 0 && errno != EEXIST)
        return false;
    struct stat info{};
    if (!IsOwnFolder(native, info))
        return false;
    return (info.st_mode & kModeBits) == kPrivateFolderMode || ::chmod(native.constData(), kPrivateFolderMode) == 0;
}
