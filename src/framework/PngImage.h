#pragma once
// Pictures the program ships, read as the PNGs they are: a reader left to guess a file's
// format loads every image plug-in of the toolkit first, a cost the start-up would pay.

#include <QImage>
#include <QString>

// A null image where the file is missing or not a PNG.
QImage ReadPngImage(const QString& path);
