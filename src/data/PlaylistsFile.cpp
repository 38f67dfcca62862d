#include "PlaylistsFile.h"

#include "XmlFile.h"
#include "XmlValues.h"

#include <QFileInfo>

#include <tinyxml.h>

#include <limits>

namespace {

constexpr int kMaxNameLength = 255;
constexpr int kMaxErrorLength = 1000;
// Addresses are kept whole: a cut one would name another playlist and another cached copy.
constexpr int kWhole = std::numeric_limits<int>::max();
constexpr const char* kRootName = "Playlists";

} // namespace

PlaylistsFileState LoadPlaylists(const QString& path, std::vector<Playlist>& playlists)
{
    if (!QFileInfo::exists(path))
        return PlaylistsFileState::Missing;
    TiXmlDocument document;
    if (ReadXmlFile(path, document) != XmlReadResult::Parsed || document.RootElement()->ValueStr() != kRootName)
        return PlaylistsFileState::Damaged;

    std::vector<Playlist> read;
    for (auto* entry = document.RootElement()->FirstChildElement(); entry; entry = entry->NextSiblingElement()) {
        Playlist playlist;
        playlist.name = TextAttribute(entry, "name", kMaxNameLength);
        playlist.source = TextAttribute(entry, "source", kWhole);
        playlist.location = TextAttribute(entry, "location", kWhole);
        playlist.lastRefresh = QDateTime::fromString(TextAttribute(entry, "lastRefresh", kMaxNameLength), Qt::ISODate);
        playlist.lastError = TextAttribute(entry, "lastError", kMaxErrorLength);
        if (playlist.source.isEmpty())
            return PlaylistsFileState::Damaged;
        read.push_back(std::move(playlist));
    }
    std::move(read.begin(), read.end(), std::back_inserter(playlists));
    return PlaylistsFileState::Read;
}

bool SavePlaylists(const QString& path, const std::vector<Playlist>& playlists, QString* reason)
{
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    auto* root = new TiXmlElement(kRootName);
    document.LinkEndChild(root);
    for (const Playlist& playlist : playlists) {
        if (playlist.account)
            continue; // Accounts.xml keeps those
        auto* entry = new TiXmlElement("Playlist");
        entry->SetAttribute("name", AttributeUtf8(playlist.name, kMaxNameLength).constData());
        entry->SetAttribute("source", AttributeUtf8(playlist.source, kWhole).constData());
        if (!playlist.location.isEmpty())
            entry->SetAttribute("location", AttributeUtf8(playlist.location, kWhole).constData());
        entry->SetAttribute("lastRefresh", playlist.lastRefresh.toUTC().toString(Qt::ISODate).toUtf8().constData());
        entry->SetAttribute("lastError", AttributeUtf8(playlist.lastError, kMaxErrorLength).constData());
        root->LinkEndChild(entry);
    }
    return WriteXmlFile(path, document, XmlFileReaders::OwnerOnly, reason); // the addresses may hold tokens
}
