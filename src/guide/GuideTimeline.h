#pragma once
// One channel's programmes as several guides give them: at any moment the programme of the
// first guide, in the guides' order, that has one then; a later guide fills only the
// pauses of an hour or more the earlier ones leave.

#include "GuideTypes.h"

#include <vector>

// byGuide: each guide's programmes in order of start, the first guide first. A later
// guide's programme is kept once for each stretch of its time within such a pause of the
// earlier guides, starting and ending with that stretch; any other is dropped. In order
// of start.
std::vector<GuideProgramme> MergeGuideProgrammes(const std::vector<std::vector<GuideProgramme>>& byGuide);
