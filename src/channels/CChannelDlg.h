#pragma once
// The channel window: a modeless, resizable window beside the main window with the
// channel tree and the favourites list on two tabs, the description of the selected
// channel and the play and favourites tool buttons. It owns no data: it reads the texts
// and the catalogue and edits the main window's favourite lists in place.

#include "ChannelCatalogue.h"
#include "ChannelKey.h"
#include "LanguageStrings.h"
#include "OwnStream.h"
#include "Playlist.h"
#include "SearchResultModel.h"
#include "ZapList.h"

#include <QDialog>
#include <QIcon>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class PlaylistTree;
class QPlainTextEdit;
class SearchPanel;
class QTabBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

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

    CChannelDlg();

    void SetReferences(const LanguageStrings& strings, const ChannelLists& names,
                       const ChannelLists& descriptions, QString& streamAddress,
                       QString& channelName, QStringList& favoriteNames,
                       QList<quint32>& favoriteIds, QList<quint32>& favoriteIcons,
                       QWidget& mainWindow);

    // The viewer's own playlists, the own streams of the favourites (parallel to the
    // favourite lists) and where the stream of a channel being started goes. Without
    // them the window shows the built-in channels only.
    void SetOwnChannels(const std::vector<Playlist>& playlists, QList<OwnStream>& favoriteStreams,
                        OwnStream& startedStream);
    // The playlists changed: their nodes and the search are made again.
    void RefillPlaylists();

    // Builds the window, owned by owner, and sets it up; it stays hidden. False when the
    // references have not been set.
    bool Create(QWidget* owner);

    // New texts and catalogue: caption, tabs, tool buttons, tree and favourites list.
    void ApplyLanguage();

    // Records the window's outer rectangle, then closes it.
    void DestroyWindow();

    QRect WindowRect() const { return windowRect; }

    // The channel last started, and the group or list it was started from.
    ChannelId CurrentChannelId() const { return currentChannelId; }
    const QString& CurrentGroup() const { return currentGroup; }

    // Builds the fixed channel tree into the (empty) tree control; stops with the
    // invalid-argument error at the first missing label or name, keeping what it built.
    void FillChannelTree();

    // Starts the channel recorded as the current one through the main window.
    void PlayChannel(ChannelId id);

    // Opens the search field on the tree tab.
    void OpenSearch();
    // Starts the previous (-1) or next (+1) channel of the list the current one was
    // started from: the favourites, the search results or its group in the tree.
    void Zap(int step);
    bool CanZap() const;

signals:
    // The viewer asked for these on a playlist node or in the window's menu.
    void AddPlaylistRequested();
    void RenamePlaylistRequested(int playlist, const QString& name);
    void RefreshPlaylistRequested(int playlist);
    void RemovePlaylistRequested(int playlist);

public:
    void accept() override;
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateTemplateControls();
    void OnInitDialog();
    void InitControls();
    void CreatePlayBar(bool visible);
    void CreateFavoritesBar();
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
    void OnFavoritesAdd();
    void OnFavoritesRemove();
    void MoveFavorite(int step);

    void CreateSearch();
    // The texts of the controls that show none of their own, for assistive technology.
    void NameControls();
    void FillSearchNames();
    void PlayFromSearch(int entry);
    void OnSearchEntryChanged(int entry);
    void OnSearchClosed();
    void StartKey(const ChannelKey& key);
    QString NameOf(const ChannelKey& key) const;
    int FavoriteRowOfCurrent() const;

    void AppendPlaylists();
    void AddOwnSearchNames(SearchEntries& entries);
    const PlaylistChannel* OwnChannel(const ChannelKey& key) const;
    OwnStream StreamOf(const ChannelKey& key) const;
    void StartOwn(const OwnStream& stream, const QString& name, int icon);
    QString DescriptionOf(const OwnStream& stream) const;
    OwnStream FavoriteStream(int row) const;
    QString FavoriteDescription(int row) const;
    void ShowKey(const ChannelKey& key);
    void OnTreeContextMenu(const QPoint& at);
    const QString& PlaylistText(int index) const;

    const QString& Text(int index) const;
    QString DescriptionOf(ChannelId id) const;
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
    const LanguageStrings* languageStrings = nullptr;
    const ChannelLists* channelNames = nullptr;
    const ChannelLists* channelDescriptions = nullptr;
    QString* streamAddress = nullptr;
    QString* channelName = nullptr;
    QStringList* favoriteNames = nullptr;
    QList<quint32>* favoriteIds = nullptr;
    QList<quint32>* favoriteIcons = nullptr;
    ChannelId currentChannelId = 0;
    int currentIcon = 0;
    QString currentName;
    QString currentGroup;
    QWidget* mainWindow = nullptr;
    QTreeWidget* channelTree = nullptr;
    QTabBar* tabs = nullptr;
    QPlainTextEdit* description = nullptr;
    QTreeWidget* favoritesList = nullptr;
    SearchPanel* searchPanel = nullptr;
    PlaylistTree* playlistTree = nullptr;
    const std::vector<Playlist>* playlists = nullptr;
    QList<OwnStream>* favoriteStreams = nullptr;
    OwnStream* startedStream = nullptr;
    OwnStream currentStream; // empty while the current channel is a built-in one
    std::vector<ChannelKey> searchKeys; // by search entry
    // Where the current channel was started from, for zapping.
    enum class ZapSource { None, List, Search, Favorites };
    ZapSource zapSource = ZapSource::None;
    ZapList zapList;
    int zapFavorite = -1;
};
