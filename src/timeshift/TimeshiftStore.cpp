#include "TimeshiftStore.h"

#include "LogCategories.h"
#include "PrivateFiles.h"

#include <QDir>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>

namespace {

const QString kLockName = QStringLiteral("lock");
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

// Every entry but the folders of programs that still run; a folder whose lock can be
// taken belonged to one that ended without removing it.
void TimeshiftStore::RemoveLeftovers() const
{
    const QDir top(folder);
    for (const QFileInfo& entry : top.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (!entry.isDir() || entry.isSymLink()) {
            QFile::remove(entry.filePath());
            continue;
        }
        QLockFile owner(QDir(entry.filePath()).filePath(kLockName));
        owner.setStaleLockTime(0);
        if (!QFileInfo::exists(owner.fileName()) || owner.tryLock(0)) {
            owner.unlock();
            QDir(entry.filePath()).removeRecursively();
        }
    }
}

void TimeshiftStore::SetBounds(std::chrono::minutes newWindow, qint64 newDiskCapBytes)
{
    window = newWindow;
    diskCapBytes = newDiskCapBytes;
}
