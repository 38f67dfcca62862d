// Settings.xml as start-up reads it. Whatever was read, saving it and reading that back
// must give the same file again: nothing read may be unwritable or change on the way.

#include "FuzzFolder.h"
#include "SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Settings settings;
    if (!LoadSettings(WriteFuzzInput(QStringLiteral("Settings.xml"), data, size), settings))
        return 0;
    RequireInvariant(SaveSettings(FuzzFilePath(QStringLiteral("First.xml")), settings), "the settings read save");
    Settings again;
    RequireInvariant(LoadSettings(FuzzFilePath(QStringLiteral("First.xml")), again), "a saved file reads");
    RequireInvariant(SaveSettings(FuzzFilePath(QStringLiteral("Second.xml")), again), "the settings save again");
    RequireInvariant(ReadFuzzFile(QStringLiteral("First.xml")) == ReadFuzzFile(QStringLiteral("Second.xml")),
                     "a saved file reads back as it was written");
    return 0;
}
