// Channels.xml of a language pack: names and descriptions stay parallel in every section.

#include "ChannelCatalogue.h"
#include "FuzzFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    WriteFuzzInput(QStringLiteral("Languages/Fuzz/Channels.xml"), data, size);
    ChannelLists names;
    ChannelLists descriptions;
    RequireInvariant(LoadChannelCatalogue(QStringLiteral("Fuzz"), names, descriptions), "a catalogue that opens loads");
    for (int section = 0; section < kSectionCount; ++section)
        RequireInvariant(names[section].size() == descriptions[section].size(), "names and descriptions are parallel");
    return 0;
}
