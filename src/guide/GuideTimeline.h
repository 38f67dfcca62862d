#pragma once
// One channel's programmes as several guides give them: at any moment the programme of the
// first guide, in the guides' order, that has one then.

#include "GuideTypes.h"

#include <vector>

// byGuide: each guide's programmes in order of start, the first guide first. A later
// guide's programme is cut to the first stretch of its time the earlier guides leave free,
// and dropped when they leave none. In order of start.
std::vector<GuideProgramme> MergeGuideProgrammes(std::vector<std::vector<GuideProgramme>> byGuide);
