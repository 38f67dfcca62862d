#include "GuidesFile.h"

#include "XmlFile.h"
#include "XmlValues.h"

#include <tinyxml.h>

namespace {
constexpr int kMaxNameLength = 255;
constexpr int kMaxSourceLength = 4096;
constexpr const char* kRootName = "Guides";
} // namespace

std::vector<std::pair<QString, QString>> LoadGuides(const QString& path)
{
    TiXmlDocument document;
    std::vector<std::pair<QString, QString>> guides;
    if (ReadXmlFile(path, document) != XmlReadResult::Parsed || document.RootElement()->ValueStr() != kRootName)
        return guides;
    for (auto* entry = document.RootElement()->FirstChildElement("Guide"); entry;
         entry = entry->NextSiblingElement("Guide")) {
        QString source = TextAttribute(entry, "source", kMaxSourceLength);
        if (!source.isEmpty())
            guides.emplace_back(TextAttribute(entry, "name", kMaxNameLength), std::move(source));
    }
    return guides;
}

bool SaveGuides(const QString& path, const std::vector<std::pair<QString, QString>>& guides, QString* reason)
{
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    auto* root = new TiXmlElement(kRootName);
    document.LinkEndChild(root);
    for (const auto& [name, source] : guides) {
        auto* entry = new TiXmlElement("Guide");
        entry->SetAttribute("name", AttributeUtf8(name, kMaxNameLength).constData());
        entry->SetAttribute("source", AttributeUtf8(source, kMaxSourceLength).constData());
        root->LinkEndChild(entry);
    }
    return WriteXmlFile(path, document, XmlFileReaders::OwnerOnly, reason); // addresses may hold tokens
}
