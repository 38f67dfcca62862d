#pragma once
// The channel tree of the channel window: the fixed groups of the built-in channels, the
// viewer's playlists after them and the guides' node last; what the selected item stands
// for, the context menu of its items and the lists the guide window offers.

#include "ChannelKey.h"
#include "ChannelRequest.h"
#include "GuideRow.h"
#include "LanguageStrings.h"
#include "PrivacyMarks.h"
#include "Zapper.h"

#include <QIcon>
#include <QList>
#include <QObject>

#include <functional>

#include <vector>

class ChannelDirectory;
class Favorites;
class GuideLibrary;
class GuideTree;
class LogoCache;
class PlaylistLibrary;
class PlaylistTree;
class PrivacyCheck;
class QMenu;
class QAction;
class QTreeWidget;
class QTreeWidgetItem;
struct ArchiveSpan;

class ChannelTree : public QObject
{
    Q_OBJECT
public:
    // Loads are followed in playlists and the guides shown, where there are those.
    ChannelTree(QWidget* window, const LanguageStrings& texts, const ChannelDirectory& directory,
                const Favorites& favorites, PlaylistLibrary* playlists, GuideLibrary* guides);

    QTreeWidget* Widget() const { return tree; }
    const QList<QIcon>& Images() const { return images; }
    void ShowLogos(LogoCache& logos);
    // A channel's mark after its name (a film watched), empty for none.
    void ShowMarks(std::function<QString(const ChannelKey&)> markOf);

    // Builds the fixed tree into the empty tree, then the playlists' and guides' nodes;
    // stops with the invalid-argument error at the first missing label or name, keeping
    // what it built.
    void Fill();
    // The same in new texts, with redrawing and notifications off.
    void FillAgain();
    // The playlists changed: their nodes are made again, keeping what the viewer opened and
    // selected. Playlists new to the tree: opened and highlighted when the viewer added
    // them, left as they come when the stored list is read at start.
    enum class NewPlaylists { Open, Leave };
    void RefillPlaylists(NewPlaylists newOnes);
    // What is hidden and locked; openLocks asks for the PIN, true once the locks are open.
    void SetPrivacy(const PrivacyCheck* check, std::function<bool()> openLocks);
    // The marks changed: the playlists' nodes follow, made again only when hidden places
    // are shown or hidden again.
    void ApplyPrivacy();

    ChannelKey CurrentKey() const;
    bool IsChannel(const QTreeWidgetItem* item) const;
    // What the description box shows for an item that stands for no channel (a playlist's
    // or a guide's node); nothing for the rest.
    QString NodeDescription(const QTreeWidgetItem* item, bool& onGuide) const;
    // The poster of a series' node; empty for any other item.
    QString NodePoster(const QTreeWidgetItem* item) const;
    // The selected channel with its group; an empty request when none is selected.
    ListChoice Choice() const;
    // The selected group's channels, or the selected channel's group's; a playlist's group
    // reads its channels on the way.
    SelectedGroup Selected();
    // A group opens or closes as a double-click does; false on a channel.
    bool ToggleCurrentGroup();

    // Every group as the guide window lists it, the one current was started from open at it.
    GuideListing GuideLists(const ChannelRequest& current) const;

    void ShowContextMenu(const QPoint& at);
    void ShowContextMenuAtCurrent();

signals:
    void CurrentChanged(QTreeWidgetItem* item);
    void Activated();
    void FavoriteRequested(const ChannelKey& key);
    void ChannelChosen(const ChannelRequest& request);
    void AddPlaylistRequested();
    void AddAccountRequested();
    // An account's series was opened before its episodes were known.
    void SeriesOpened(const QString& source, int entry);
    void AddGuideRequested();
    void RenamePlaylistRequested(int playlist, const QString& name);
    void RefreshPlaylistRequested(int playlist);
    void RemovePlaylistRequested(int playlist);
    void PrivacyRequested(PrivacyChange change, const PrivacyPlace& place);

private:
    std::vector<ChannelKey> ChannelsUnder(const QTreeWidgetItem* parent) const;
    bool ShowAt(GuideListing& listing, const ChannelKey& key, const QString& group) const;
    bool ShowList(GuideListing& listing, const QTreeWidgetItem* group) const;
    // section: the built-in one the node stands for; 0 for none.
    QTreeWidgetItem* MakeGroupNode(QTreeWidgetItem* parent, const QString& text, int image, int section);
    void InsertChannelItem(ChannelId id, const QString& text, QTreeWidgetItem* parent);
    void FillFixed();
    int FixedTopLevelCount() const;
    PrivacyPlace FixedPlaceOf(const QTreeWidgetItem* item) const;
    void ShapeFixed();
    void RefillFixed();
    void FixedNodeOpened(QTreeWidgetItem* item);
    void AppendPlaylists();
    void OpenNew(const QStringList& known);
    void ShowChannelMenu(QTreeWidgetItem* item, const QPoint& globalAt);
    void ShowPlaylistMenu(QTreeWidgetItem* item, const QPoint& globalAt);
    // Hide or Unhide, Lock... or Unlock, for a playlist's node, a group or a channel of one.
    struct PrivacyItems
    {
        PrivacyPlace place;
        QAction* hide = nullptr;
        QAction* lock = nullptr;
        bool hidden = false;
        bool locked = false;
    };
    PrivacyItems AddPrivacyItems(QMenu& menu, const QTreeWidgetItem* item) const;
    bool ChosePrivacy(const QAction* chosen, const PrivacyItems& items);
    // Asks before a playlist goes, telling how many favourites came from it (they stay).
    bool ConfirmRemove(int playlist) const;
    const QString& PlaylistText(int index) const;

    const LanguageStrings& texts;
    const ChannelDirectory& directory;
    const Favorites& favorites;
    PlaylistLibrary* playlistLibrary;
    QList<QIcon> images;
    QTreeWidget* tree;
    PlaylistTree* playlistTree;
    GuideTree* guideTree = nullptr;
    const GuideLibrary* guides;
    const PrivacyCheck* privacy = nullptr;
    std::function<bool()> openLocks;
    bool hiddenShown = false; // as the tree was last made
    bool fixedShaped = false; // the built-in groups were made with marks on them
};
