#pragma once
// Two versions of every data file the program saves, written through the program's own
// save functions, for the tests that interrupt or starve those saves.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>

// The data files, by name inside the config folder.
const QStringList& SavedFileNames();

// Saves version 0 or 1 of every data file into folder; false when any save failed.
bool SaveVersion(const QString& folder, int version);

// The bytes of every data file of folder, by name (empty for a missing file).
std::map<QString, QByteArray> ReadSavedFiles(const QString& folder);
