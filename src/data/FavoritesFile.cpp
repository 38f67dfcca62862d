#include "FavoritesFile.h"

#include "XmlFile.h"
#include "XmlValues.h"

#include <tinyxml.h>

#include <algorithm>

namespace {

constexpr int kMaxNameLength = 255;

} // namespace

bool LoadFavorites(const QString& path, QStringList& names, QList<quint32>& ids, QList<quint32>& icons)
{
    TiXmlDocument document;
    if (ReadXmlFile(path, document) != XmlReadResult::Parsed)
        return false;

    // Neither the root's nor the entries' names are compared.
    for (auto* entry = FirstNodeAsElement(document.RootElement()); entry; entry = entry->NextSiblingElement()) {
        names.append(TextAttribute(entry, "name", kMaxNameLength));
        ids.append(static_cast<quint32>(IntegerAttribute(entry, "id")));
        icons.append(static_cast<quint32>(IntegerAttribute(entry, "icon")));
    }
    return true;
}

bool SaveFavorites(const QString& path, const QStringList& names, const QList<quint32>& ids,
                   const QList<quint32>& icons)
{
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    auto* root = new TiXmlElement("Favorites");
    document.LinkEndChild(root);

    // The lists are parallel; should they ever differ, only complete entries are written.
    const qsizetype count = std::min({names.size(), ids.size(), icons.size()});
    for (qsizetype i = 0; i < count; ++i) {
        auto* channel = new TiXmlElement("Channel");
        channel->SetAttribute("name", AttributeUtf8(names[i], kMaxNameLength).constData());
        channel->SetAttribute("id", static_cast<int>(ids[i]));
        channel->SetAttribute("icon", static_cast<int>(icons[i]));
        root->LinkEndChild(channel);
    }
    return WriteXmlFile(path, document);
}
