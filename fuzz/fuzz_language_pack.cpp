// Main.xml of a language pack: any bytes load or are refused with a warning (then English
// is taken, which the fuzz folder lacks), and never crash the reader.

#include "FuzzFolder.h"
#include "LanguagePack.h"
#include "MessageBox.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    WriteFuzzInput(QStringLiteral("Languages/Fuzz/Main.xml"), data, size);
    int warnings = 0;
    SetMessageBoxHook([&warnings](QWidget*, const QString&, const QString&, unsigned) {
        ++warnings;
        return IDOK;
    });
    QString name = QStringLiteral("Fuzz");
    LanguageStrings strings;
    const bool loaded = LoadLanguagePack(nullptr, name, strings);
    SetMessageBoxHook({});
    RequireInvariant(loaded == (warnings == 0), "a pack loads unless the viewer is warned");
    RequireInvariant(name == (loaded ? QLatin1String("Fuzz") : QLatin1String("English")),
                     "a refused pack falls back to English, an opened one keeps its name");
    return 0;
}
