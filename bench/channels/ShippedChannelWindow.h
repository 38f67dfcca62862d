#pragma once
// A channel window over the shipped English texts and catalogue, with the references it
// edits, as the benchmarks measure it. Run from the staged data folder.

#include "CChannelDlg.h"

#include <QWidget>

#include <vector>

struct ShippedChannelWindow
{
    // Loads the texts and the catalogue; false when they cannot be read.
    bool Load();
    // Builds and shows the window, 220 x 480, with the own playlists when withPlaylists.
    void Create(bool withPlaylists);

    LanguageStrings strings;
    ChannelLists names;
    ChannelLists descriptions;
    QString streamAddress;
    QString channelName;
    QStringList favoriteNames;
    QList<quint32> favoriteIds;
    QList<quint32> favoriteIcons;
    QList<OwnStream> favoriteStreams;
    OwnStream startedStream;
    std::vector<Playlist> playlists;
    QWidget mainWindow;
    CChannelDlg dlg;
};

// Resident memory of this process, in MiB.
double ResidentMiB();
