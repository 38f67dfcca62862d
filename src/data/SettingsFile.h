#pragma once
// Settings.xml: the nine settings items, read by position and written in a fixed order.

#include "Settings.h"

#include <QString>

// Fills settings from the file; false, with settings untouched, when the file cannot be
// opened or parsed. Items missing from a parsed file, and a language item without a
// name, keep their current values.
bool LoadSettings(const QString& path, Settings& settings);

// Writes the whole file atomically; false, leaving any old file as it was, on failure
// (reason, when given, says why).
bool SaveSettings(const QString& path, const Settings& settings, QString* reason = nullptr);
