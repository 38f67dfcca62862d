#pragma once
// A channel window over hand-made texts and a catalogue whose names and descriptions
// spell out their section and position ("N13.4", "D13.4"), owned by a stand-in main window
// that records the channels it is asked to start.

#include "ChannelDirectory.h"
#include "ChannelTree.h"
#include "CommandId.h"
#include "ChannelWindow.h"
#include "Favorites.h"
#include "MainWindowStub.h"
#include "Zapper.h"
#include "MessageBoxRecorder.h"

#include <QPlainTextEdit>
#include <QTabBar>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

// Channels per section in the built-in stream table, by section index.
extern const std::array<int, kSectionCount> kTableCounts;

LanguageStrings MakeStrings(const QString& tag);
ChannelLists MakeCatalogue(const QString& prefix);

// The favourites as Favorites.xml lists them, field by field.
struct FavoriteFields
{
    QStringList names;
    QList<quint32> ids;
    QList<quint32> icons;
    QList<OwnStream> streams;
};

class ChannelWindowTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates and shows the window over the current texts, catalogue and favourites; its
    // starts and its zaps are recorded, and the add button adds the channel started last.
    void CreateWindow();

    QTreeWidget* Tree() const;
    QTreeWidget* List() const;
    QTabBar* Tabs() const;
    QPlainTextEdit* Description() const;
    QToolButton* Button(int command) const;

    QTreeWidgetItem* TreeItem(ChannelId id) const;
    void AddFavorite(const QString& name, ChannelId id, quint32 icon);
    void StartFromTree(ChannelId id);
    // The favourites as the window keeps them, and the channel it asked to start last.
    FavoriteFields Saved() const;
    ChannelRequest Started() const { return mainWindow->Last(); }

    MessageBoxRecorder boxes;
    LanguageStrings strings;
    ChannelLists names;
    ChannelLists descriptions;
    std::vector<Playlist> playlists;
    std::vector<Favorite> favorites; // handed to the window when it is created
    Favorites favoriteList;
    ChannelDirectory directory{strings, names, descriptions, playlists};
    Zapper zapper{directory, favoriteList};
    std::unique_ptr<MainWindowStub> mainWindow;
    std::unique_ptr<ChannelWindow> dlg;
};
