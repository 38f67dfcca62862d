#pragma once
// Copies a channel's stream into one MPEG-TS file without decoding it, on a thread of its
// own, so that what plays in the window is untouched. A stream that breaks off is opened
// again, and what follows is written on after what came before, its times moved on so
// the file plays as one; what was copied reaches the file every half second, so that a
// crash leaves it playable up to then. It stops when asked, when the disk runs low (the
// file is closed properly all the same) or when the stream cannot be had again before its
// end.

#include "DiskSpace.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

enum class CopyOutcome {
    Stopped,     // asked to stop, with what could be had
    Unavailable, // the stream could not be opened, or not again
    DiskFull,
};

struct CopySource {
    QString address;
    QString userAgent;
    QString referrer;
    QString shown = {}; // the address as logs may tell it (a password hidden); empty: address
};

class StreamCopier : public QObject
{
    Q_OBJECT
public:
    // Below this the disk is running low: the copy stops.
    static constexpr qint64 kStopReserveBytes = kDiskReserveBytes / 2;

    StreamCopier(CopySource source, QString path, FreeSpace freeSpace = AvailableBytes);
    ~StreamCopier() override; // stops and waits for the thread

    void Start();
    // Ends the copy at the next packet; Ended follows.
    void Stop();

    const QString& Path() const { return path; }
    qint64 BytesWritten() const { return bytes.load(); }
    // Packets written in all; 0 until the stream answered.
    qint64 Packets() const { return packets.load(); }

signals:
    // On the owner's thread, once.
    void Ended(CopyOutcome outcome);

private:
    struct Copy;
    void Run();

    CopySource source;
    QString path;
    FreeSpace freeSpace;
    std::atomic<bool> stopping{false};
    std::atomic<qint64> bytes{0};
    std::atomic<qint64> packets{0};
    std::mutex mutex;
    std::condition_variable wake;
    std::thread worker;
};
