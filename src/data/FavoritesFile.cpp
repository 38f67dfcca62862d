#include "FavoritesFile.h"

#include "StreamRules.h"
#include "XmlFile.h"
#include "XmlValues.h"

#include <tinyxml.h>

#include <algorithm>

namespace {

constexpr int kMaxNameLength = 255;
constexpr int kMaxStreamTextLength = 8192;

// Attributes of an own channel's favourite, after name, id and icon.
struct StreamAttribute
{
    const char* name;
    QString OwnStream::*field;
};
constexpr StreamAttribute kStreamAttributes[] = {
    {"address", &OwnStream::address}, {"agent", &OwnStream::userAgent}, {"referrer", &OwnStream::referrer},
    {"playlist", &OwnStream::playlist}, {"group", &OwnStream::group},
};

// Only an entry naming no built-in channel can be an own one: built-in ids keep their
// meaning whatever else an entry carries.
OwnStream ReadStream(const TiXmlElement* entry, quint32 id)
{
    OwnStream stream;
    if (id != 0)
        return stream;
    for (const auto& attribute : kStreamAttributes)
        stream.*attribute.field = TextAttribute(entry, attribute.name, kMaxStreamTextLength);
    stream.address = WithLowerCaseScheme(stream.address); // the engine's protocols are lower case
    return stream.IsEmpty() ? OwnStream() : stream;
}

void WriteStream(TiXmlElement* channel, const OwnStream& stream)
{
    for (const auto& attribute : kStreamAttributes) {
        const QString& value = stream.*attribute.field;
        if (!value.isEmpty())
            channel->SetAttribute(attribute.name, AttributeUtf8(value, kMaxStreamTextLength).constData());
    }
}

} // namespace

bool LoadFavorites(const QString& path, QStringList& names, QList<quint32>& ids, QList<quint32>& icons,
                   QList<OwnStream>* streams)
{
    TiXmlDocument document;
    if (ReadXmlFile(path, document) != XmlReadResult::Parsed)
        return false;

    // Neither the root's nor the entries' names are compared.
    for (auto* entry = FirstNodeAsElement(document.RootElement()); entry; entry = entry->NextSiblingElement()) {
        names.append(TextAttribute(entry, "name", kMaxNameLength));
        ids.append(static_cast<quint32>(IntegerAttribute(entry, "id")));
        icons.append(static_cast<quint32>(IntegerAttribute(entry, "icon")));
        if (streams != nullptr)
            streams->append(ReadStream(entry, ids.last()));
    }
    return true;
}

bool SaveFavorites(const QString& path, const QStringList& names, const QList<quint32>& ids,
                   const QList<quint32>& icons, const QList<OwnStream>& streams, QString* reason)
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
        if (i < streams.size() && ids[i] == 0)
            WriteStream(channel, streams[i]);
        root->LinkEndChild(channel);
    }
    return WriteXmlFile(path, document, XmlFileReaders::AsBefore, reason);
}
