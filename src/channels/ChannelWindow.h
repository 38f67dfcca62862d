#pragma once
// The channel window: a modeless, resizable window beside the main window with the
// channel tree and the favourites list on two tabs, the description of the selected
// channel and the play and favourites tool buttons. It shows what the channel directory,
// the favourites and the zapper its owner keeps know, and emits the channel the viewer
// chose to play as one request.

#include "ChannelRequest.h"
#include "GuideRow.h"
#include "LanguageStrings.h"

#include <QDialog>
#include <QIcon>
#include <QList>
#include <QRect>

#include <functional>

#include <vector>

#include <functional>

class ChannelButtons;
class ChannelDirectory;
class ChannelTree;
class ContinueList;
class Favorites;
class PlaylistDrops;
class FavoritesList;
class FilmPlaces;
class GuideLibrary;
class LogoCache;
class NextReminder;
class PlaylistLibrary;
class QLabel;
class QPlainTextEdit;
class QTabBar;
class QTreeWidgetItem;
class PrivacyCheck;
class SearchController;
class Zapper;
struct ChannelKey;
struct ListChoice;

class ChannelWindow : public QDialog
{
    Q_OBJECT
public:
    // The parts it shows live as long as the window. Playlist loads are followed and
    // cancelled in playlists, guides shown and searched, and films continued and marked
    // watched, where those are given.
    ChannelWindow(const LanguageStrings& texts, const ChannelDirectory& directory, Favorites& favorites,
                  Zapper& zapper, PlaylistLibrary* playlists = nullptr, GuideLibrary* guides = nullptr,
                  LogoCache* logos = nullptr, FilmPlaces* places = nullptr);
    ~ChannelWindow() override;

    // Places the window, owned by owner, and fills it; it stays hidden. Until then it shows
    // nothing and follows no change.
    void Create(QWidget* owner);
    // New texts and catalogue: caption, tabs, tool buttons, tree and favourites list.
    void ApplyLanguage();
    // Records the window's outer rectangle, then closes it.
    void DestroyWindow();
    QRect WindowRect() const { return windowRect; }

    // The playlists changed: their nodes and the search are made again.
    void RefillPlaylists();
    void ShowPlaylists();
    // What is hidden and locked, for the tree and the search; openLocks asks for the PIN.
    void SetPrivacy(const PrivacyCheck* check, std::function<bool()> openLocks);
    // The marks changed, or the locks were opened: the tree and the search follow.
    void ApplyPrivacy();
    // What the description box shows came anew (an account's details).
    void ShowDescriptionAgain();
    // The guide changed or time went on: the selected channel's now and next follow, and
    // the search finds programmes in what the guide holds now.
    void FollowGuide();
    void ShowOnAirAgain();
    // A channel was started: the add button adds it from now on (AddCurrentRequested).
    void ChannelStarted();
    void AddFavoriteOf(const ChannelRequest& request);
    // The films' places changed: the continue-watching tab (there while any is kept) and
    // the watched marks follow.
    void ShowFilmPlaces();

    // Shows and raises the window with the focus on the list of the current tab, or on
    // the open search.
    void ShowAndFocus();
    // Opens the search field on the tree tab.
    void OpenSearch();
    // The lists' highlights follow a zap.
    void SelectFavorite(int row);
    void SelectResult(const ChannelKey& key);

    // Whether a programme (its channel and start) has a reminder, for the menus of the
    // search results and the description box to offer cancelling it.
    void SetReminded(std::function<bool(const ChannelKey&, qint64 start)> reminded);
    // What records a programme, for the same menus and the results' marks; the planner
    // changed: the marks follow.
    void SetRecording(GuideRecordingOf recording);
    void RecordingsChanged();

    // Its parts the rest of the program hears from: the tree's playlist and guide requests,
    // and what is dropped on the window.
    ChannelTree& Tree() const { return *tree; }
    PlaylistDrops& Drops() const { return *drops; }

signals:
    void ChannelChosen(const ChannelRequest& request);
    // A command of the main window's table whose key was pressed here.
    void CommandChosen(int id);
    // The add button asks for the channel started last.
    void AddCurrentRequested();
    // A reminder of a programme to come (a search result's, the described channel's next)
    // was asked for, or asked to go.
    void RemindProgramme(const ChannelKey& channel, const QString& channelName, const GuideProgramme& programme);
    // A recording of one not ended, or of its series, was asked for, or asked to go.
    void RecordProgramme(const ChannelKey& channel, const QString& channelName, const GuideProgramme& programme, bool series);

public:
    void accept() override;
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int kTabContinue = 2; // there while a film's place is kept

    void PlaylistsRefilled();
    void CreateControls();
    void ConnectParts();
    void OnInitDialog();
    // The controls' names in the current texts, and the order Tab reaches them in.
    void NameControls();
    void LayoutControls(int cx, int cy);

    void OnTabChanged(int tab);
    void OnTreeSelChanged(QTreeWidgetItem* item);
    void OnFavoriteSelectionChanged();
    void OnContinueSelectionChanged();
    void NameContinueTab();
    void ShowWatchedMarks();
    void OnCommand(int id);
    // The list's own keys (CommandId) on either list; true when the key was used.
    bool OnViewKey(bool favorites, const QKeyEvent& key);
    void Choose(const ListChoice& choice);
    void PlayFromFavorite(int row);
    void AddToFavorites(const ChannelKey& key);
    void OnSearchEntryChanged(int entry);
    void ShowKey(const ChannelKey& key);
    // A film's poster beside the description, from its logo address; none for an empty one.
    void ShowPoster(const QString& address);
    void ShowFilmDetails(const ChannelKey& key);

    const LanguageStrings& texts;
    const ChannelDirectory& directory;
    Favorites& favorites;
    Zapper& zapper;
    PlaylistLibrary* playlistLibrary;
    GuideLibrary* guideLibrary;
    LogoCache* logos;
    FilmPlaces* places;
    bool created = false;
    QRect windowRect;
    ChannelButtons* buttons = nullptr;
    PlaylistDrops* drops = nullptr;
    QTabBar* tabs = nullptr;
    ChannelTree* tree = nullptr;
    FavoritesList* favoritesList = nullptr;
    ContinueList* continueList = nullptr; // with places only
    SearchController* search = nullptr;
    const PrivacyCheck* privacy = nullptr;
    QPlainTextEdit* description = nullptr;
    NextReminder* nextReminder = nullptr;
    QLabel* poster = nullptr;
    QString posterAddress;
};
