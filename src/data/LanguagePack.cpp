#include "LanguagePack.h"

#include "AccessTexts.h"
#include "BuiltinTexts.h"
#include "LanguageFolder.h"
#include "MessageBox.h"
#include "XmlFile.h"
#include "XmlValues.h"

#include <tinyxml.h>

#include <array>

namespace {

constexpr int kMaxEntryLength = 1999;

constexpr std::array<const char*, kLanguageGroupCount> kGroupElementNames = {
    "MainMenu", "ContexMenu", "ChannelsDialog", "LanguagesDialog", "AboutDialog",
    "DonateDialog", "Groups", "Countries", "Status", "Playlists", "StatusReasons",
    "Timeshift", "Access", "Locale", "Guidance", "Guide", "Catchup", "Files", "Readers",
    "Films", "Preferences", "Schedule", "Accounts", "Recordings", "GuideOrder", "Privacy",
};

XmlReadResult ReadPack(const QString& languageName, TiXmlDocument& document)
{
    const QString path = LanguageFilePath(languageName, QStringLiteral("Main.xml"));
    return path.isEmpty() ? XmlReadResult::NotOpened : ReadXmlFile(path, document);
}

} // namespace

bool LoadLanguagePack(QWidget* owner, QString& languageName, LanguageStrings& strings)
{
    TiXmlDocument document;
    // A pack that does not parse counts as missing: with no texts at all, every window
    // would stop at its first text with an error.
    if (ReadPack(languageName, document) != XmlReadResult::Parsed) {
        MessageBox(owner, QStringLiteral("Cannot open ") + languageName
                              + QStringLiteral(" language file, will be used English."),
                   QStringLiteral("Warning"), MB_OK | MB_ICONWARNING);
        languageName = QStringLiteral("English");
        document = TiXmlDocument();
        if (ReadPack(languageName, document) != XmlReadResult::Parsed)
            return false;
    }
    const TiXmlElement* root = document.RootElement();
    for (int group = 0; group < kLanguageGroupCount; ++group) {
        QStringList& list = strings[static_cast<LanguageGroup>(group)];
        const TiXmlElement* groupElement = root->FirstChildElement(kGroupElementNames[group]);
        for (auto* entry = FirstNodeAsElement(groupElement); entry; entry = entry->NextSiblingElement())
            list.append(ElementText(entry, kMaxEntryLength));
        CompleteWithBuiltinTexts(static_cast<LanguageGroup>(group), list);
    }
    return true;
}

QString LanguageOwnName(const QString& languageName)
{
    TiXmlDocument document;
    if (ReadPack(languageName, document) != XmlReadResult::Parsed || document.RootElement() == nullptr)
        return {};
    const TiXmlElement* group = document.RootElement()->FirstChildElement(kGroupElementNames[Locale]);
    const TiXmlElement* entry = FirstNodeAsElement(group);
    for (int index = 0; entry != nullptr && index < LocaleOwnName; ++index)
        entry = entry->NextSiblingElement();
    return entry != nullptr ? ElementText(entry, kMaxEntryLength).trimmed() : QString();
}
