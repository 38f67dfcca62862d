#pragma once
// The channel window: a modeless, resizable window beside the main window with the
// channel tree and the favourites list on two tabs, the description of the selected
// channel and the play and favourites tool buttons. It reads the texts, the catalogue and
// the playlists its owner keeps, holds the favourites the viewer edits here, and asks its
// owner to play a channel with one message carrying the whole request.

#include "ChannelCatalogue.h"
#include "ChannelKey.h"
#include "CatchupAddress.h"
#include "ChannelRequest.h"
#include "FavoriteList.h"
#include "GuideRow.h"
#include "LanguageStrings.h"
#include "OwnStream.h"
#include "Playlist.h"
#include "SearchResultModel.h"
#include "WindowMessage.h"
#include "ZapList.h"

#include <QDialog>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QStringList>

#include <array>
#include <utility>
#include <vector>

class GuideChannelFeed;
class SearchNameFeed;
class GuideLibrary;
class LogoCache;
class ProgrammeSearch;
struct GuideHit;
class GuideTree;
class PlaylistLibrary;
class PlaylistTree;
class QPlainTextEdit;
class SearchPanel;
class QTabBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

// Sent to the owner when the viewer starts a channel.
using StartChannelMessage = PrivateMessage<UM_START_CHANNEL, ChannelRequest>;

class CChannelDlg : public QDialog
{
    Q_OBJECT
public:
    // Commands of the tool buttons.
    static constexpr int ID_CHANNEL_PLAY = 125;
    static constexpr int ID_FAVORITES_ADD = 126;
    static constexpr int ID_FAVORITES_REMOVE = 127;
    static constexpr int ID_FAVORITES_UP = 128;
    static constexpr int ID_FAVORITES_DOWN = 129;

    // Tree and list items carry their ChannelId in Qt::UserRole and the index of their
    // image in the channel image list in this role.
    static constexpr int ImageIndexRole = Qt::UserRole + 1;

    // Reads the texts, the catalogue and the playlists, which the owner keeps (and reloads)
    // for as long as the window lives.
    CChannelDlg(const LanguageStrings& strings, const ChannelLists& names, const ChannelLists& descriptions,
                const std::vector<Playlist>& playlists);

    // The favourites, set before the window is created and read back to be saved.
    void SetFavorites(FavoriteList list) { favorites = std::move(list); }
    const FavoriteList& Favorites() const { return favorites; }

    // The playlists changed: their nodes and the search are made again.
    void RefillPlaylists();
    // The programme guides, shown in the tree after the playlists.
    void SetGuideLibrary(GuideLibrary& library) { guideLibrary = &library; }
    // Where the playlists' loads are followed and cancelled; set before Create.
    void SetPlaylistLibrary(PlaylistLibrary& library) { playlistLibrary = &library; }
    // Where the logos of own channels come from; set before Create.
    void SetLogos(LogoCache& cache) { logos = &cache; }
    // The logo address of a channel: its playlist's, else its guide channel's icon; empty
    // for a built-in channel, which keeps its own icon.
    QString LogoAddressOf(const ChannelKey& key) const;

    // Builds the window, owned by owner, and sets it up; it stays hidden. The owner is sent
    // the requests to start a channel. False when the window exists already.
    bool Create(QWidget* owner);

    // New texts and catalogue: caption, tabs, tool buttons, tree and favourites list.
    void ApplyLanguage();

    // Records the window's outer rectangle, then closes it.
    void DestroyWindow();

    QRect WindowRect() const { return windowRect; }

    // The channel last started, and where it was started from.
    const ChannelRequest& Current() const { return current; }

    // Builds the fixed channel tree into the (empty) tree control; stops with the
    // invalid-argument error at the first missing label or name, keeping what it built.
    void FillChannelTree();

    // Starts a built-in channel, named as the catalogue names it; nothing when the id
    // names no channel of the stream table.
    void PlayChannel(ChannelId id);

    // Puts the focus on the list of the current tab, or on the open search.
    void FocusList();

    // The tree's groups as the guide window lists them, the one the playing channel was
    // started from open at that channel.
    GuideListing GuideLists() const;

    // Starts a channel the guide window asked for: over span from the provider's archive
    // where it keeps that stretch, else (and without a span) live.
    void StartFromGuide(const ChannelKey& key, const ArchiveSpan& span = {});
    // The programme on now of a channel whose archive holds its beginning, for "Watch from
    // the start"; no span otherwise.
    ArchiveSpan ArchivedProgrammeOnNow(const ChannelKey& key) const;

    // Opens the search field on the tree tab.
    void OpenSearch();
    // Starts the previous (-1) or next (+1) channel of the list the current one was
    // started from: the favourites, the search results or its group in the tree.
    void Zap(int step);
    bool CanZap() const;
    // Starts the channel of that number in the list the current one was started from, else
    // in the selected group: its tvg-chno, else its place counted from 1. False when no
    // channel has it.
    bool PlayNumber(int number);

signals:
    // The viewer asked for these on a playlist node or in the window's menu.
    void AddPlaylistRequested();
    void RenamePlaylistRequested(int playlist, const QString& name);
    void RefreshPlaylistRequested(int playlist);
    void RemovePlaylistRequested(int playlist);
    // Playlist files or addresses were dropped on the window, with what else was (refused).
    void PlaylistsDropped(const QStringList& sources, const QStringList& refused);
    void AddGuideRequested();
    void GuideWindowRequested();

public:
    void accept() override;
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateTemplateControls();
    void OnInitDialog();
    void InitControls();
    void CreatePlayBar(bool visible);
    void CreateFavoritesBar();
    void OrderTabStops();
    QToolButton* CreateToolButton(QWidget* bar, int command, const QIcon& icon);
    void FillFavoritesList();
    QTreeWidgetItem* InsertGroupNode(QTreeWidgetItem* parent, const QString& text, int image);
    void InsertChannelItem(ChannelId id, const QString& text, QTreeWidgetItem* parent);
    QTreeWidgetItem* InsertFavoriteItem(int index, const QString& name, int image, ChannelId id);

    void LayoutControls(int cx, int cy);
    void LayoutToolbars(int cx, int cy);

    void OnTabChanged(int tab);
    void OnTreeSelChanged(QTreeWidgetItem* item);
    void OnFavoriteItemChanged();
    void OnCommand(int id);
    void PlayFromTree();
    void PlayFromFavorite(QTreeWidgetItem* item);
    // The favourites' keys on either list; true when the key was used.
    bool OnViewKey(bool favorites, const QKeyEvent& key);
    void OnFavoritesAdd();
    void AddToFavorites(const ChannelKey& key);
    void AddFavorite(ChannelId id, const QString& name, int icon, const OwnStream& stream);
    void OnFavoritesRemove();
    void MoveFavorite(int step);

    void CreateSearch();
    // The texts of the controls that show none of their own, for assistive technology.
    void NameControls();
    void FillSearchNames();
    void PlayFromSearch(int entry);
    void OnSearchEntryChanged(int entry);
    void OnSearchClosed();
    void StartKey(const ChannelKey& key, const ChannelOrigin& origin);
    ChannelRequest RequestOf(const ChannelKey& key, const ChannelOrigin& origin) const;
    void Start(const ChannelRequest& request);
    ChannelRequest BuiltinRequest(ChannelId id, const QString& name, int icon, const ChannelOrigin& origin) const;
    ChannelRequest OwnRequest(const OwnStream& stream, const QString& name, int icon,
                              const ChannelOrigin& origin) const;
    static OwnStream OwnStreamOf(const ChannelRequest& request);
    QString NameOf(const ChannelKey& key) const;
    int FavoriteRowOfCurrent() const;
    // The selected group's channels, or the selected channel's group's, and that group.
    std::vector<ChannelKey> SelectedGroup(const QTreeWidgetItem*& group);
    // Where number is in keys, or -1.
    int NumberedPosition(const std::vector<ChannelKey>& keys, int number) const;

    void AppendPlaylists();
    const PlaylistChannel* OwnChannel(const ChannelKey& key) const;
    // Tree, favourites and search results show the logos of the rows painted.
    void InstallLogos();
    ChannelKey FavoriteKey(int row) const;
    OwnStream StreamOf(const ChannelKey& key) const;
    QString DescriptionOf(const OwnStream& stream) const;
    OwnStream FavoriteStream(int row) const;
    QString FavoriteDescription(int row) const;
    void ShowKey(const ChannelKey& key);
    // The guide's now and next lines for the description box, or nothing.
    QString OnAirText(const ChannelKey& key) const;
    void ShowOnAirAgain();
    // The channels whose programmes the search finds, matched again on a worker.
    void SetSearchChannels();
    void OnProgrammesFound(const QString& query, const std::vector<GuideHit>& hits);
    void OnTreeContextMenu(const QPoint& at);
    // Asks before a playlist goes, telling how many favourites came from it (they stay).
    bool ConfirmRemove(int playlist) const;
    const QString& PlaylistText(int index) const;
    QString RefreshText(const Playlist& playlist) const;

    const QString& Text(int index) const;
    QString DescriptionOf(ChannelId id) const;
    QString DescriptionOf(const ChannelKey& key) const;
    void ShowChannel(ChannelId id);
    void EnableButton(int command, bool enable);
    bool HasSelectedFavorite() const;
    int SelectionMark() const;

    QRect windowRect;
    QList<QIcon> tabImages;
    QList<QIcon> playImages;
    QList<QIcon> favoritesImages;
    QList<QIcon> channelImages;
    QWidget* playBar = nullptr;
    QWidget* favoritesBar = nullptr;
    std::array<QToolButton*, 5> buttons{}; // commands 125..129
    int playButtonWidth = 0;
    int favoritesBarWidth = 0;
    const LanguageStrings& languageStrings;
    const ChannelLists& channelNames;
    const ChannelLists& channelDescriptions;
    const std::vector<Playlist>& playlists;
    FavoriteList favorites;
    ChannelRequest current; // the channel last started
    QTreeWidget* channelTree = nullptr;
    QTabBar* tabs = nullptr;
    QPlainTextEdit* description = nullptr;
    QTreeWidget* favoritesList = nullptr;
    SearchPanel* searchPanel = nullptr;
    PlaylistTree* playlistTree = nullptr;
    GuideLibrary* guideLibrary = nullptr;
    PlaylistLibrary* playlistLibrary = nullptr;
    LogoCache* logos = nullptr;
    // Favourites' channels, by playlist and address, as last found among the playlists.
    mutable QHash<QString, ChannelKey> favoriteKeys;
    QTimer onAirTick;
    ProgrammeSearch* programmeSearch = nullptr;
    SearchNameFeed* searchNames = nullptr;
    GuideChannelFeed* searchFeed = nullptr; // the guide's view of the searched channels
    std::size_t searchChannelCount = 0; // searchKeys beyond are the programmes found
    GuideTree* guideTree = nullptr;
    std::vector<ChannelKey> searchKeys; // by search entry
    // Where the current channel was started from, for zapping: a tree group or the search
    // results (their channels in zapList), or the favourites (from the row zapFavorite).
    ChannelOrigin zapOrigin;
    ZapList zapList;
    int zapFavorite = -1;
};
