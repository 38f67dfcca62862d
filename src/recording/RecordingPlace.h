#pragma once
// Where recordings go and what they are called: $XDG_VIDEOS_DIR/Korvanta/ (the system's
// videos folder, else ~/Videos), "<channel> <date> <time>.ts", with the channel's name
// made safe for any file system. A recording starts only while the disk has room beyond
// its reserve.

#include "DiskSpace.h"

#include <QDateTime>
#include <QString>

enum class RecordingRefusal {
    None,
    NoFolder, // the folder cannot be made
    DiskFull, // the disk is down to its reserve
};

struct RecordingTarget {
    QString path; // empty when refused
    RecordingRefusal refusal = RecordingRefusal::None;
};

class RecordingPlace
{
public:
    explicit RecordingPlace(const QString& folder = DefaultFolder(), FreeSpace freeSpace = AvailableBytes);

    static QString DefaultFolder();
    // name without what a file name may not hold: separators, the characters some systems
    // refuse, control characters, leading dots, trailing dots and blanks; never empty.
    static QString SafeName(const QString& name);

    const QString& Folder() const { return folder; }
    // A file of its own for a recording of channel begun at start (local time).
    RecordingTarget NewRecording(const QString& channel, const QDateTime& start) const;
    // A file of its own for a programme's recording: "<title> <date> <time> <channel>.ts".
    RecordingTarget NewProgrammeRecording(const QString& title, const QString& channel, const QDateTime& start) const;
    // Whether a recording may go on writing.
    bool HasRoom() const;

private:
    RecordingTarget NewFile(const QString& stem) const;

    QString folder;
    FreeSpace freeSpace;
};
