// Main.xml of a language pack: any bytes load (a pack that does not parse counts as
// loaded with empty groups) and never crash the reader.

#include "FuzzFolder.h"
#include "LanguagePack.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    WriteFuzzInput(QStringLiteral("Languages/Fuzz/Main.xml"), data, size);
    QString name = QStringLiteral("Fuzz");
    LanguageStrings strings;
    RequireInvariant(LoadLanguagePack(nullptr, name, strings), "a pack that opens loads");
    RequireInvariant(name == QLatin1String("Fuzz"), "an opened pack keeps its name");
    return 0;
}
