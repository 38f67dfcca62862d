#pragma once
// Reads a file that has to be a regular file, without ever waiting on something else in
// its place: a FIFO, a device or a folder is refused before anything is read from it, so
// a read blocks at most as long as the file system takes.

#include <QByteArray>
#include <QString>

enum class FileReadError {
    None,
    CannotOpen,  // missing, no permission, a loop of links
    NotRegular,  // a folder, a FIFO, a device, a socket
    TooLarge,    // more than the caller's limit
    ReadFailed,  // an error while reading
    TimedOut,    // given up by a caller that reads in the background (PlaylistFileRead)
};

struct FileReadResult {
    QByteArray bytes; // empty unless error is None
    FileReadError error = FileReadError::None;
};

FileReadResult ReadRegularFile(const QString& path, qint64 maxBytes);
