#include "TimeshiftStore.h"

#include "LogCategories.h"
#include "PrivateFiles.h"

#include <QDir>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QString kLockName = QStringLiteral("lock");

// Whether a running program holds the lock at path. Its owner keeps it locked with the
// kernel, which lets go the moment the owner dies: the process number the file names may
// meanwhile be another program's, even this one's, after a kill or a restart of the
// machine. Where the file system takes no such locks, the lock file's own test decides.
bool Held(const QString& path)
{
    const int file = open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return false; // none: its folder was left before it was made
    const int locked = flock(file, LOCK_EX | LOCK_NB);
    const int error = errno;
    close(file); // lets go of it again
    if (locked == 0)
        return false;
    if (error == EWOULDBLOCK)
        return true;
    QLockFile owner(path);
    owner.setStaleLockTime(0); // only a dead owner makes it stale, never its age
    if (!owner.tryLock(0))
        return true;
    owner.unlock();
    return false;
}
} // namespace

TimeshiftStore::TimeshiftStore(const QString& folder, std::chrono::minutes window, qint64 diskCapBytes,
                               FreeSpace freeSpace)
    : folder(folder), window(window), diskCapBytes(diskCapBytes), freeSpace(std::move(freeSpace))
{
    if (!MakePrivateFolder(folder)) {
        qCWarning(lcTimeshift) << "no pause or rewind: the folder" << folder << "cannot be made";
        return;
    }
    RemoveLeftovers();
    const QString session = QDir(folder).filePath(QUuid::createUuid().toString(QUuid::WithoutBraces));
    if (!MakePrivateFolder(session)) {
        qCWarning(lcTimeshift) << "no pause or rewind: the folder" << session << "cannot be made";
        return;
    }
    auto sessionLock = std::make_unique<QLockFile>(QDir(session).filePath(kLockName));
    sessionLock->setStaleLockTime(0); // only a dead owner makes it stale, never its age
    if (!sessionLock->tryLock(0)) {
        qCWarning(lcTimeshift) << "no pause or rewind: the folder" << session << "cannot be locked";
        QDir(session).removeRecursively();
        return;
    }
    sessionFolder = session;
    lock = std::move(sessionLock);
}

TimeshiftStore::~TimeshiftStore()
{
    if (!lock)
        return;
    lock->unlock();
    QDir(sessionFolder).removeRecursively();
}

QString TimeshiftStore::DefaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
           + QStringLiteral("/Korvanta/timeshift");
}

void TimeshiftStore::Clear() const
{
    if (!lock)
        return;
    RemoveLeftovers(); // of a program that was still ending when this one started
    const QDir session(sessionFolder);
    for (const QFileInfo& entry : session.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (entry.fileName() == kLockName)
            continue;
        if (entry.isDir())
            QDir(entry.filePath()).removeRecursively();
        else
            QFile::remove(entry.filePath());
    }
}

qint64 TimeshiftStore::ByteBudget(qint64 used) const
{
    const qint64 untilReserve = used + freeSpace(folder) - kDiskReserveBytes;
    return std::max<qint64>(0, std::min(diskCapBytes, untilReserve));
}

// Every entry but the folders of programs that still run; a folder whose lock no one holds
// belonged to one that ended without removing it.
void TimeshiftStore::RemoveLeftovers() const
{
    const QDir top(folder);
    for (const QFileInfo& entry : top.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (!entry.isDir() || entry.isSymLink()) {
            QFile::remove(entry.filePath());
            continue;
        }
        if (!Held(QDir(entry.filePath()).filePath(kLockName)))
            QDir(entry.filePath()).removeRecursively();
    }
}

void TimeshiftStore::SetBounds(std::chrono::minutes newWindow, qint64 newDiskCapBytes)
{
    window = newWindow;
    diskCapBytes = newDiskCapBytes;
}
