#pragma once
// A channel window over the shipped English texts and catalogue, as the benchmarks measure
// it. Run from the staged data folder.

#include "ChannelDirectory.h"
#include "ChannelTree.h"
#include "ChannelWindow.h"
#include "Favorites.h"
#include "Zapper.h"

#include <QWidget>

#include <vector>

struct ShippedChannelWindow
{
    // Loads the texts and the catalogue; false when they cannot be read.
    bool Load();
    // Builds and shows the window, 220 x 480, with the favourites.
    void Create();

    LanguageStrings strings;
    ChannelLists names;
    ChannelLists descriptions;
    std::vector<Favorite> favorites;
    std::vector<Playlist> playlists;
    QWidget mainWindow;
    ChannelDirectory directory{strings, names, descriptions, playlists};
    Favorites favoriteList;
    Zapper zapper{directory, favoriteList};
    ChannelWindow dlg{strings, directory, favoriteList, zapper};
};

// Resident memory of this process, in MiB.
double ResidentMiB();
