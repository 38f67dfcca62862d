#include "GuideChoicesFile.h"

#include "XmlFile.h"
#include "XmlValues.h"

#include <tinyxml.h>

namespace {
constexpr int kMaxLength = 4096;
constexpr const char* kRootName = "GuideChoices";
} // namespace

GuideChoices LoadGuideChoices(const QString& path)
{
    TiXmlDocument document;
    GuideChoices choices;
    if (ReadXmlFile(path, document) != XmlReadResult::Parsed || document.RootElement()->ValueStr() != kRootName)
        return choices;
    for (auto* entry = document.RootElement()->FirstChildElement("Choice"); entry;
         entry = entry->NextSiblingElement("Choice")) {
        const QString channel = TextAttribute(entry, "channel", kMaxLength);
        GuideChoice choice{TextAttribute(entry, "guide", kMaxLength), TextAttribute(entry, "id", kMaxLength)};
        if (!channel.isEmpty() && !choice.source.isEmpty())
            choices[channel] = std::move(choice);
    }
    return choices;
}

bool SaveGuideChoices(const QString& path, const GuideChoices& choices)
{
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    auto* root = new TiXmlElement(kRootName);
    document.LinkEndChild(root);
    for (const auto& [channel, choice] : choices) {
        auto* entry = new TiXmlElement("Choice");
        entry->SetAttribute("channel", AttributeUtf8(channel, kMaxLength).constData());
        entry->SetAttribute("guide", AttributeUtf8(choice.source, kMaxLength).constData());
        entry->SetAttribute("id", AttributeUtf8(choice.id, kMaxLength).constData());
        root->LinkEndChild(entry);
    }
    return WriteXmlFile(path, document);
}
