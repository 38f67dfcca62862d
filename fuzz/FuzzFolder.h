#pragma once
// The fuzz targets' private folder: made on first use, the working directory of the run
// (so language files are found under Languages/ as the program finds them), removed at exit.
// Since the working directory changes, corpus folders are given to a target as absolute paths.

#include <QString>

#include <cstddef>
#include <cstdint>

// Writes the input to a file at relativePath inside the folder and returns its full path.
QString WriteFuzzInput(const QString& relativePath, const std::uint8_t* data, std::size_t size);

// Full path of a file inside the folder.
QString FuzzFilePath(const QString& relativePath);

// Reads a whole file of the folder.
QByteArray ReadFuzzFile(const QString& relativePath);

// Stops the run with a finding when an invariant does not hold.
void RequireInvariant(bool holds, const char* what);
