#pragma once
// Writes images into the icon file format: 32-bit colour with alpha plus the 1-bit mask.

#include <QImage>
#include <QList>
#include <QString>

// Each image at most 256 x 256. False when the file cannot be written.
bool WriteIconFile(const QString& path, const QList<QImage>& images);
