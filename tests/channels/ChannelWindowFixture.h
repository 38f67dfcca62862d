#pragma once
// A channel window over hand-made texts and a catalogue whose names and descriptions
// spell out their section and position ("N13.4", "D13.4"), owned by a stand-in main window.

#include "CChannelDlg.h"
#include "MainWindowStub.h"
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

class ChannelWindowTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates and shows the window over the current texts, catalogue and favourites.
    void CreateWindow();

    QTreeWidget* Tree() const;
    QTreeWidget* List() const;
    QTabBar* Tabs() const;
    QPlainTextEdit* Description() const;
    QToolButton* Button(int command) const;

    QTreeWidgetItem* TreeItem(ChannelId id) const;
    void AddFavorite(const QString& name, ChannelId id, quint32 icon);
    void StartFromTree(ChannelId id);
    // The favourites as the window holds them, and the channel it asked to start last.
    const FavoriteList& Saved() const { return dlg->Favorites(); }
    ChannelRequest Started() const { return mainWindow->Last(); }

    MessageBoxRecorder boxes;
    LanguageStrings strings;
    ChannelLists names;
    ChannelLists descriptions;
    std::vector<Playlist> playlists;
    FavoriteList favorites; // handed to the window when it is created
    std::unique_ptr<MainWindowStub> mainWindow;
    std::unique_ptr<CChannelDlg> dlg;
};
