#pragma once
// The generated stream table, as the lookup sees it.

#include "StreamTable.h"

struct StreamSectionTable
{
    const StreamEntry* const* entries;
    std::uint32_t count;
};

// By section index 0..21.
extern const StreamSectionTable kStreamSections[kSectionCount];
