// Channels.xml of a language pack: names and descriptions stay parallel in every section.

#include "ChannelCatalogue.h"
#include "FuzzFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    WriteFuzzInput(QStringLiteral("Languages/Fuzz/Channels.xml"), data, size);
    ChannelLists names;
    ChannelLists descriptions;
    // One that does not parse is refused (and English, which the fuzz folder lacks, is taken).
    LoadChannelCatalogue(QStringLiteral("Fuzz"), names, descriptions);
    for (int section = 0; section < kSectionCount; ++section)
        RequireInvariant(names[section].size() == descriptions[section].size(), "names and descriptions are parallel");
    return 0;
}
