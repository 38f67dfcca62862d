#pragma once
// GuideChoices.xml in the config folder: the guide channel the viewer chose for each of
// their channels ("Choose guide channel…"). Kept beside the viewer's other files rather
// than in the guide's store, which is a cache and may be cleared.

#include "GuideMatcher.h"

#include <QString>

// Empty when the file is missing or damaged.
GuideChoices LoadGuideChoices(const QString& path);

// Writes atomically; false, leaving any old file as it was, on failure.
bool SaveGuideChoices(const QString& path, const GuideChoices& choices);
