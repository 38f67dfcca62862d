#pragma once
// The disk side of the timeshift buffer: a private folder in the viewer's cache where the
// engine keeps what it has read of the playing channel, and the bounds of that keeping.
// The engine's cache file only grows, so the player asks ByteBudget how far it may.
//
// Each running program keeps its files in a folder of its own, held by a lock file, so a
// start removes what programs that ended without cleaning up (killed, crashed) left,
// and nothing of one that still runs.

#include "DiskSpace.h"

#include <QLockFile>
#include <QString>

#include <chrono>
#include <memory>

class TimeshiftStore
{
public:
    // folder: where every program keeps its timeshift files, made private to the viewer.
    TimeshiftStore(const QString& folder, std::chrono::minutes window, qint64 diskCapBytes,
                   FreeSpace freeSpace = AvailableBytes);
    ~TimeshiftStore(); // this program's files go with it
    TimeshiftStore(const TimeshiftStore&) = delete;
    TimeshiftStore& operator=(const TimeshiftStore&) = delete;

    // $XDG_CACHE_HOME/Korvanta/timeshift
    static QString DefaultFolder();

    // False when the folder could not be made: the buffer then stays in memory.
    bool IsUsable() const { return lock != nullptr; }
    // Where the engine is to keep its cache files.
    const QString& SessionFolder() const { return sessionFolder; }
    // Removes the files of the channel that played (at a switch), and what dead programs left.
    void Clear() const;

    // How large the engine's cache file may grow, holding used bytes now: the cap, and
    // never into the disk's reserve.
    qint64 ByteBudget(qint64 used) const;
    qint64 DiskCap() const { return diskCapBytes; }
    // The viewer's new bounds: the cap counts at once, the window from the next channel.
    void SetBounds(std::chrono::minutes newWindow, qint64 newDiskCapBytes);
    std::chrono::minutes Window() const { return window; }

private:
    void RemoveLeftovers() const;

    QString folder;
    QString sessionFolder;
    std::chrono::minutes window;
    qint64 diskCapBytes;
    FreeSpace freeSpace;
    std::unique_ptr<QLockFile> lock;
};
