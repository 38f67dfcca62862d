#include "ChannelCatalogue.h"

#include "LanguageFolder.h"
#include "XmlFile.h"
#include "XmlValues.h"

#include <tinyxml.h>

const std::array<const char*, kSectionCount> kSectionElementNames = {
    "Music", "Games", "Movies", "News", "Entertainment", "Lifestyle", "Shopping", "Kids",
    "Sport", "Other", "USA", "Russia", "Germany", "France", "UK", "Italy", "Spain",
    "Canada", "Japan", "India", "Netherlands", "Argentina",
};

namespace {

constexpr int kMaxNameLength = 999;
constexpr int kMaxDescriptionLength = 4999;

XmlReadResult ReadCatalogue(const QString& languageName, TiXmlDocument& document)
{
    const QString path = LanguageFilePath(languageName, QStringLiteral("Channels.xml"));
    return path.isEmpty() ? XmlReadResult::NotOpened : ReadXmlFile(path, document);
}

} // namespace

bool LoadChannelCatalogue(const QString& languageName, ChannelLists& names, ChannelLists& descriptions)
{
    TiXmlDocument document;
    // A catalogue that does not parse counts as missing: without names the channel tree
    // would stop at its first channel.
    if (ReadCatalogue(languageName, document) != XmlReadResult::Parsed) {
        document = TiXmlDocument();
        if (ReadCatalogue(QStringLiteral("English"), document) != XmlReadResult::Parsed)
            return false;
    }

    const TiXmlElement* root = document.RootElement();
    for (int section = 0; section < kSectionCount; ++section) {
        const TiXmlElement* sectionElement = root->FirstChildElement(kSectionElementNames[section]);
        for (auto* channel = FirstNodeAsElement(sectionElement); channel; channel = channel->NextSiblingElement()) {
            names[section].append(TextAttribute(channel, "name", kMaxNameLength));
            descriptions[section].append(TextAttribute(channel, "description", kMaxDescriptionLength));
        }
    }
    return true;
}
