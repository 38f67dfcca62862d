#include "SavedVersions.h"

#include "FavoritesFile.h"
#include "PlaylistsFile.h"
#include "SettingsFile.h"

#include <QDir>
#include <QFile>

namespace {
// Large enough that a save takes a while, so that kills land inside it.
constexpr int kFavoriteCounts[] = {1500, 2500};
constexpr int kPlaylistCounts[] = {300, 200};
} // namespace

const QStringList& SavedFileNames()
{
    static const QStringList names{QStringLiteral("Settings.xml"), QStringLiteral("Favorites.xml"),
                                   QStringLiteral("Playlists.xml")};
    return names;
}

bool SaveVersion(const QString& folder, int version)
{
    const QDir dir(folder);
    Settings settings;
    settings.volume = version == 0 ? 100 : 37;
    settings.languageName = version == 0 ? QStringLiteral("English") : QStringLiteral("Deutsch");
    QStringList names;
    QList<quint32> ids;
    for (int i = 0; i < kFavoriteCounts[version]; ++i) {
        names << QStringLiteral("Channel %1 of version %2").arg(i).arg(version);
        ids << static_cast<quint32>(i + 1);
    }
    std::vector<Playlist> playlists(kPlaylistCounts[version]);
    for (std::size_t i = 0; i < playlists.size(); ++i) {
        playlists[i].name = QStringLiteral("List %1 of version %2").arg(i).arg(version);
        playlists[i].source = QStringLiteral("http://127.0.0.1/%1.m3u").arg(i);
    }
    const bool settingsSaved = SaveSettings(dir.filePath(QStringLiteral("Settings.xml")), settings);
    const bool favoritesSaved = SaveFavorites(dir.filePath(QStringLiteral("Favorites.xml")), names, ids, ids);
    const bool playlistsSaved = SavePlaylists(dir.filePath(QStringLiteral("Playlists.xml")), playlists);
    return settingsSaved && favoritesSaved && playlistsSaved;
}

std::map<QString, QByteArray> ReadSavedFiles(const QString& folder)
{
    std::map<QString, QByteArray> files;
    for (const QString& name : SavedFileNames()) {
        QFile file(QDir(folder).filePath(name));
        files[name] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    return files;
}
