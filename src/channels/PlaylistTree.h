#pragma once
// The viewer's own playlists in the channel tree: one top-level node per playlist after
// the fixed groups, its group-title groups under it (channels without a group directly
// under the playlist node), channels in file order. A node's children are made when it
// is first expanded, so a playlist of 100,000 channels costs one node until opened. A long
// list of channels of no group is shown a thousand at a time under nodes of their own
// ("Channels 1–1,000"), each made when opened: the tree never holds more rows than a
// viewer opened, and opening one never holds the window. The episodes of a series in a
// group gather under the series' title and their season ("Season 1"), in order.
// A playlist being loaded shows how far it got; one being added has a node of its own
// after them until it is in or given up. What the viewer hid is left out (or greyed while
// hidden places are shown); a locked node opens only once the locks are.

#include "ChannelKey.h"
#include "GuideRow.h"
#include "Playlist.h"
#include "PrivacyMarks.h"

#include <QIcon>
#include <QList>
#include <QLocale>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <map>
#include <vector>

class PlaylistLibrary;
class PrivacyCheck;
class QTreeWidget;
class QTreeWidgetItem;

class PlaylistTree : public QObject
{
public:
    // Item data roles of the nodes made here (the fixed tree leaves them unset).
    static constexpr int PlaylistRole = Qt::UserRole + 2; // playlist index
    static constexpr int EntryRole = Qt::UserRole + 3;    // channel index, on channels
    static constexpr int GroupRole = Qt::UserRole + 4;    // group index, on group nodes
    static constexpr int SourceRole = Qt::UserRole + 5;   // the playlist's source, on its node
    static constexpr int PageRole = Qt::UserRole + 8;     // the page of channels of no group, on its node
    static constexpr int SeriesRole = Qt::UserRole + 9;   // true on a series' node and its seasons'
    static constexpr int SectionRole = Qt::UserRole + 10; // an account's live, films or series part, on its nodes
    static constexpr int SeriesEntryRole = Qt::UserRole + 11; // an account's series: its entry, on its node
    static constexpr int kSectionCount = 3;

    // Playlist and group nodes show the further-channels image, channels the channel image.
    // Loads are followed in library, when there is one.
    PlaylistTree(QTreeWidget* tree, const QList<QIcon>& channelImages, PlaylistLibrary* library = nullptr);

    // What the nodes are named: an unavailable playlist by unavailable (%1 its name), one
    // being loaded by progress (%1 its name, %2 the percent), a page of channels by page
    // (%1 and %2 its first and last channel's place), a series' season by season (%1 its
    // number).
    struct Names
    {
        QString unavailable;
        QString progress;
        QString page;
        QString season;
        QStringList sections; // an account's three parts: live channels, films, series
    };

    // An account's series node was opened before the panel told its episodes.
    void SetSeriesOpened(std::function<void(int playlist, int entry)> opened) { seriesOpened = std::move(opened); }

    // Appends the nodes of playlists, each named with its channel count in locale's digits;
    // then a node for each playlist being added. The playlists are read again whenever a
    // node is filled.
    void Append(const std::vector<Playlist>* playlists, const Names& names, const QLocale& locale = QLocale::c());

    // What is hidden and locked; openLocks asks for the PIN, true once the locks are open.
    void SetPrivacy(const PrivacyCheck* check, std::function<bool()> openLocks);
    // The marks changed: hidden nodes go (or grey), shown ones are drawn as others, locked
    // ones close. Made again only when hidden places are to be shown.
    void ApplyPrivacy();
    // What a playlist's node, a group's node or a channel is kept by; an empty playlist
    // name for any other item.
    PrivacyPlace PlaceOf(const QTreeWidgetItem* item) const;

    // Where the viewer was among the playlists' nodes: the open ones and the selected one,
    // each by its playlist's source and the texts below it, so that they outlive the nodes.
    struct Place
    {
        QStringList sources; // of the nodes there were
        QList<QStringList> open;
        QStringList current;
    };
    Place Save() const;
    // Opens and selects again what the place names, where it still is.
    void Restore(const Place& place);
    QTreeWidgetItem* NodeOf(const QString& source) const;

    // The channels of a playlist's node (those of no group) or of one of its groups, made in
    // the tree or not; empty for any other item.
    std::vector<ChannelKey> ChannelsOf(const QTreeWidgetItem* item);
    // Every playlist's groups as the guide window lists them, opened in the tree or not.
    void AddGuideLists(GuideListing& listing);

    // The own channel an item stands for; an empty key for anything else.
    static ChannelKey KeyOf(const QTreeWidgetItem* item);
    static int PlaylistOf(const QTreeWidgetItem* item);
    static bool IsPlaylistNode(const QTreeWidgetItem* item);
    // The entry of an account's series an item stands for; -1 for anything else.
    static int SeriesEntryOf(const QTreeWidgetItem* item);
    // The source of a playlist's node or of one being added; empty for anything else.
    static QString SourceOf(const QTreeWidgetItem* item);
    bool IsLoading(const QString& source) const;

private:
    static constexpr int kNone = -1; // no group, no entry
    struct Groups
    {
        std::vector<QString> titles;
        std::vector<std::vector<int>> members; // channel indices, by group
        std::vector<int> loose;                // channels without a group
        // An account's: the part each group belongs to, the loose entries by part and the
        // episodes by their series' entry.
        std::vector<int> sectionOf;
        std::array<std::vector<int>, kSectionCount> sectionLoose;
        std::map<int, std::vector<int>> episodes;
    };

    void Fill(QTreeWidgetItem* node);
    void AddSections(QTreeWidgetItem* node, int playlist);
    void AddSection(QTreeWidgetItem* node, int playlist, int section);
    void AddSeasons(QTreeWidgetItem* node, int playlist, int series);
    bool IsAccount(int playlist) const;
    // The pages of a long list of channels of no group, else the channels themselves.
    void AddLoose(QTreeWidgetItem* node, int playlist, const std::vector<int>& loose);
    // Only the node's text changes while its playlist loads; an added one's node comes and
    // goes with its load.
    void ShowProgress(const QString& source);
    void AppendAdding(const QString& source);
    QString TextOf(int playlist) const;
    QString WithProgress(const QString& name, const QString& source) const;
    const Groups& GroupsOf(int playlist);
    QTreeWidgetItem* MakeNode(const QString& text, int playlist);
    QStringList PathOf(const QTreeWidgetItem* item) const;
    QTreeWidgetItem* ItemAt(const QStringList& path) const;
    void SaveOpen(const QTreeWidgetItem* item, QList<QStringList>& open) const;
    void AddChannels(QTreeWidgetItem* parent, int playlist, const std::vector<int>& entries, std::size_t from = 0,
                     std::size_t count = SIZE_MAX);
    // A group's channels: its series' nodes first, then the channels that are no episodes.
    void AddGroup(QTreeWidgetItem* parent, int playlist, const std::vector<int>& entries);
    QTreeWidgetItem* MakeChannel(int playlist, int entry) const;
    QTreeWidgetItem* MakeSeriesNode(const QString& text, int playlist);
    unsigned MarksOf(const QTreeWidgetItem* item) const;
    bool Shows(unsigned marks) const;
    // entries without the hidden channels, unless those are shown.
    std::vector<int> ShownEntries(int playlist, const std::vector<int>& entries) const;
    // False when the node is locked and the viewer did not open the locks.
    bool MayOpen(QTreeWidgetItem* node);
    void SetGreyed(QTreeWidgetItem* item, bool greyed) const;

    QTreeWidget* tree;
    PlaylistLibrary* library;
    Names names;
    QLocale locale;
    QIcon nodeIcon;
    QIcon channelIcon;
    const std::vector<Playlist>* playlists = nullptr;
    std::vector<Groups> groups; // by playlist, made on first use
    std::vector<bool> grouped;
    const PrivacyCheck* privacy = nullptr;
    std::function<bool()> openLocks;
    std::function<void(int, int)> seriesOpened;

};
