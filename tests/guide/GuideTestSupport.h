#pragma once
// Shared by the guide tests and the killed-import helper: a synchronous import.

#include "GuideImport.h"

// Imports the guide file at path as source into the store at databasePath.
GuideImportResult ImportGuide(const QString& databasePath, const QString& source, const QString& path,
                              const GuideMatcher& matcher, qint64 now,
                              const std::function<void(int)>& progress = {});
