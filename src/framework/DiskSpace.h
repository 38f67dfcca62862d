#pragma once
// Free space on the disk that holds a folder, for what the program writes in bulk
// (the timeshift buffer, recordings): neither may fill the viewer's disk.

#include <QString>

#include <functional>

// Never written into: the last gigabyte of the disk stays free.
constexpr qint64 kDiskReserveBytes = qint64(1024) * 1024 * 1024;

// Free bytes on the disk holding folder (0 when it cannot be told).
qint64 AvailableBytes(const QString& folder);

// How the free space is told; tests hand in their own disk.
using FreeSpace = std::function<qint64(const QString& folder)>;
