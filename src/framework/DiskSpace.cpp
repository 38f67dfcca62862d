#include "DiskSpace.h"

#include <QStorageInfo>

#include <algorithm>

qint64 AvailableBytes(const QString& folder)
{
    const QStorageInfo disk(folder);
    return disk.isValid() ? std::max<qint64>(0, disk.bytesAvailable()) : 0;
}
