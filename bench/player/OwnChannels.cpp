#include "OwnChannels.h"

#include <QDir>
#include <QFile>
#include <QTreeWidget>

#include <cstdio>

namespace {
constexpr int kReadWaitMs = 10000;
}

const QStringList OwnChannels::kNames = {QStringLiteral("Own A"), QStringLiteral("Own B")};

void OwnChannels::UseFolders(const QTemporaryDir& home)
{
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_CACHE_HOME", home.filePath(QStringLiteral("cache")).toUtf8());
}

bool OwnChannels::Start()
{
    QDir::setCurrent(QStringLiteral(KORVANTA_DATA_DIR));
    const QString listPath = home.filePath(QStringLiteral("own.m3u"));
    if (!server.Start() || !WritePlaylist(listPath)) {
        std::fprintf(stderr, "the stream zoo did not start\n");
        return false;
    }
    if (!app.Start()) {
        std::fprintf(stderr, "the program did not start\n");
        return false;
    }
    app.Window().show();
    // The playlists are read once both windows are on screen; one added before would be
    // replaced by what the file holds.
    if (!WaitFor([this] { return app.AreWindowsShown(); }, kReadWaitMs)) {
        std::fprintf(stderr, "the windows were not shown\n");
        return false;
    }
    app.OwnPlaylists().Add(listPath);
    if (!WaitFor([this] { return !app.OwnPlaylists().Playlists().empty(); }, kReadWaitMs)) {
        std::fprintf(stderr, "the playlist was not read\n");
        return false;
    }
    tree = app.Channels().findChild<QTreeWidget*>(QStringLiteral("channelTree"));
    node = tree->topLevelItem(tree->topLevelItemCount() - 1);
    node->setExpanded(true);
    return true;
}

QTreeWidgetItem* OwnChannels::Channel(int index) const
{
    return node->child(index);
}

bool OwnChannels::WritePlaylist(const QString& path) const
{
    QFile list(path);
    if (!list.open(QIODevice::WriteOnly))
        return false;
    for (int k = 0; k < kNames.size(); ++k) {
        list.write(QStringLiteral("#EXTINF:-1,%1\n%2\n")
                       .arg(kNames[k], server.Url(QStringLiteral("/live.m3u8?%1").arg(k)))
                       .toUtf8());
    }
    return true;
}
