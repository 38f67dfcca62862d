#pragma once
// GuideOrder.xml in the config folder: the viewer's order of all their guides (their own
// and those their playlists name), and what they set for each, an attribute only where it
// differs from the default. Written only once the viewer arranges their guides, so that
// Guides.xml keeps its bytes.

#include "GuideTypes.h"

#include <QString>

#include <map>
#include <vector>

struct GuideArrangement {
    std::vector<QString> sources; // first first
    std::map<QString, GuideSetting> settings; // those not at their defaults
    bool operator==(const GuideArrangement&) const = default;
};

// Empty when the file is missing or damaged; values out of bounds are left at their default.
GuideArrangement LoadGuideOrder(const QString& path);

// Writes atomically; false, leaving any old file as it was, on failure.
bool SaveGuideOrder(const QString& path, const GuideArrangement& order, QString* reason = nullptr);
