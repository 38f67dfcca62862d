#pragma once
// The main window: owns every long-lived part of the program (player, panels, channel
// window, menus, texts, catalogue, favourites, settings), starts them up in a fixed order,
// lays them out, handles the commands and private messages, and saves the settings and
// favourites when it closes.

#include "AccessibleParts.h"
#include "CChannelDlg.h"
#include "CPanelMenu.h"
#include "CPanelPlay.h"
#include "CWMPWindow.h"
#include "ChannelNumberEntry.h"
#include "CommandId.h"
#include "ChannelCatalogue.h"
#include "EngineLoader.h"
#include "FirstFrameWatch.h"
#include "GuideChannelFeed.h"
#include "GuideLibrary.h"
#include "GuideWindow.h"
#include "LogoCache.h"
#include "LanguageStrings.h"
#include "LiveControls.h"
#include "MediaPlayerTarget.h"
#include "MenuTable.h"
#include "MprisService.h"
#include "PlayState.h"
#include "PlaylistLibrary.h"
#include "ScreenSaverInhibitor.h"
#include "ToolkitTranslation.h"
#include "Settings.h"
#include "WindowMessage.h"

#include <QBasicTimer>
#include <QDialog>
#include <QFont>
#include <QIcon>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <array>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class QShortcut;

class CLumenoDlg : public QDialog, public MediaPlayerTarget, public AccessibleParts
{
    Q_OBJECT
public:
    // What assistive technology sees in the window, top to bottom.
    enum Part { MenuBarPart, VideoPart, StatusPart, PlayPanelPart, PartCountOf };

    // Geometry of the bands, in pixels.
    static constexpr int kStatusHeight = 16;
    static constexpr int kStatusWidth = 200;
    static constexpr int kPlayPanelHeight = 69;
    static constexpr int kMinTrackWidth = 250;
    static constexpr int kMinTrackHeight = 200;
    static constexpr UINT kBufferingTimerId = 1;
    static constexpr int kBufferingPeriodMs = 200;
    static constexpr int kOnAirRefreshMs = 30 * 1000; // a programme change shows within this

    CLumenoDlg();
    ~CLumenoDlg() override;

    // Runs start-up, the modal loop and shutdown; IDOK or IDCANCEL.
    int DoModal();
    // The start-up sequence; false after a fatal error (already reported).
    bool OnInitDialog();
    // The shutdown sequence: saves (only after a completed start-up), stops the timer and
    // closes the player. Runs once.
    void OnDestroy();
    // Ends the modal loop as the system close command does.
    void EndDialog(int result);

    bool OnCommand(int id);
    void Layout(int cx, int cy);
    void ReloadLanguage();

    void EnterFullScreen();
    void LeaveFullScreen();
    void SelectOriginalSize();
    void SelectFitToWindow();
    void ToggleHideControl();
    void ToggleHideMenu();
    void ToggleAlwaysOnTop();

    // Starts the previous (-1) or next (+1) channel of the list the current one was
    // started from, wrapping; CanZap is true once a channel was started from a list.
    void Zap(int step);
    bool CanZap() const;

    // Read access for the parts that observe the main window (and for tests).
    const Settings& GetSettings() const { return settings; }
    const QString& StatusText() const { return statusText; }
    bool IsInhibitingScreenSaver() const { return screenSaver.IsInhibiting(); }
    ScreenSaverInhibitor& ScreenSaver() { return screenSaver; }
    const QRect& StatusRect() const { return statusRect; }
    bool IsInitialised() const { return initialised; }
    // The player's engine has been made (or failed to be) once both windows were painted.
    bool IsEngineStarted() const { return engineStarted; }
    bool IsBufferingTimerActive() const { return bufferingTimer.isActive(); }
    bool IsTopmost() const;
    QMenu* Popup(int index) const { return menus[index].get(); }
    CWMPWindow& Player() { return player; }
    CPanelPlay& PlayPanel() { return playPanel; }
    CPanelMenu& MenuPanel() { return menuPanel; }
    CChannelDlg& ChannelWindow() { return channelDlg; }
    PlaylistLibrary& OwnPlaylists() { return playlistLibrary; }
    GuideLibrary& Guides() { return guideLibrary; }
    // The guide window, once it was opened.
    GuideWindow* GuideView() const { return guideWindow.get(); }
    // Adds files and addresses as playlists once start-up has completed.
    void AddPlaylists(const QStringList& sources);
    const LanguageStrings& Texts() const { return languageStrings; }
    const QStringList& FavoriteNames() const { return channelDlg.Favorites().names; }
    // The play state the window shows: its status line, title and panel follow it.
    const PlayState& ShownState() const { return shownState; }

    // Requests from the desktop's media controls.
    void RaiseFromDesktop() override;
    void QuitFromDesktop() override;
    void PlayPauseFromDesktop() override;
    void PlayFromDesktop() override;
    void StopFromDesktop() override;
    void PauseFromDesktop() override;
    void SeekFromDesktop(qint64 offset) override;
    void SetPositionFromDesktop(qint64 position) override;
    void ZapFromDesktop(int step) override;
    void SetVolumeFromDesktop(int volume) override;

    QAccessible::Role AccessibleRole() const override { return QAccessible::Window; }
    int PartCount() const override { return PartCountOf; }
    AccessiblePart Part(int index) const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void accept() override;
    void reject() override;
    void done(int result) override;

private:
    LRESULT OnInitDialogMessage(WPARAM wParam, LPARAM lParam);
    void OnPlayStop(PlayStop request);
    void OnMute(bool muted);
    void OnVolume(int volume);
    void OnStartChannel(const ChannelRequest& request);
    LRESULT OnCommandMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
    void OnTimer();
    void ShowPlayState(const PlayState& state);
    void ShowStatus(const PlayState& state);
    void ShowCard(const PlayState& state);
    // The state shown again, in the texts now loaded.
    void ShowPlayStateAgain();
    void ShowBuffering();
    // The guide's programme on the channel being played, for the status line and the
    // desktop's media controls; asked again as time goes on and when the guide changes.
    void RefreshOnAir();
    // The channel being played, found again among the playlists for an own one.
    ChannelKey PlayingKey() const;
    // Its logo for the desktop's media controls.
    void RefreshArt(const ChannelKey& key);
    void OnPlayerKey(quint16 key, quint16 shiftState);
    void OnPlayerMouseDown();
    // Digits, and Enter and Escape while a channel number is typed; true when the key was used.
    bool OnNumberKey(int key, bool unmodified);
    void ChooseNumber(int number);
    void ShowNumber(const QString& text);
    // F10 and a lone Alt open the menu bar; true when key did.
    bool OnMenuBarKey(int key, bool unmodified);
    void OpenMenuBar();
    void SetTopmost(bool topmost);
    QPoint KeyboardMenuPosition() const;

    bool FatalError(const QString& text);
    void StartEngine();
    void EngineFailed();
    QString SettingsPath() const;
    QString FavoritesPath() const;
    void CreateAccelerators();
    void BuildMenus();
    void DestroyMenus();
    void AppendItem(const MenuRow& row);
    void SetCheck(int id, bool checked);
    // Gives the parts assistive technology sees their names in the current language.
    void NameAccessibleParts();
    QString AccessText(int index) const;
    // namesReason: the text ends with a reason, which the status line shows in full.
    void SetStatusText(const QString& text, bool namesReason = false);
    int StatusWidth(int rowWidth) const;
    bool ShowStatusToolTip(QEvent* event);
    const QString& StatusString(int index) const;
    // The unavailable text, followed by the reason when there is one.
    QString UnavailableText(UnavailableReason reason) const;
    void PlayPause();
    void ToggleMute();
    void ShowLanguageDialog();
    void ShowChannelWindow();
    void ShowLiveState();
    void ShowAddPlaylistDialog();
    QString BrowseFolder() const;
    bool ShowsEmptyHint() const;
    QString EmptyHint() const;
    void UpdateEmptyHint();
    void ConnectPlaylists();
    void ReportPlaylistFailure(const QString& name, const QString& reason);
    void OnPlaylistsDropped(const QStringList& sources, const QStringList& refused);
    void ReportPlaylistCopyKept(const QString& name, const QString& message);
    void ReportPlaylistImport(const QString& name, int skippedLines, const QString& report);
    void ConnectGuides();
    // The viewer's channels and the playlists' guides, for the guide to match.
    void FeedGuide();
    void ShowAddGuideDialog();
    void ShowGuideWindow();
    void ReportGuideFailure(const QString& name, GuideProblem problem, const QString& detail);

    static const MessageMapEntry<CLumenoDlg> kMessageMap[];

    // Owned parts, in the order they are made.
    EngineLoader engineLoader; // last gone: it waits for its thread
    CWMPWindow player;
    CPanelPlay playPanel;
    CPanelMenu menuPanel;
    LanguageStrings languageStrings;
    ToolkitTranslation toolkitTexts; // follows languageStrings
    ChannelLists channelNames;
    ChannelLists channelDescriptions;
    PlaylistLibrary playlistLibrary{languageStrings};
    QStringList pendingPlaylists; // handed over before start-up completed
    GuideLibrary guideLibrary;
    LogoCache logos; // before the windows that show them
    GuideChannelFeed guideFeed{channelNames, playlistLibrary.Playlists()};
    CChannelDlg channelDlg{languageStrings, channelNames, channelDescriptions, playlistLibrary.Playlists()};
    std::array<std::unique_ptr<QMenu>, kPopupCount> menus;
    std::unique_ptr<GuideWindow> guideWindow; // made when first opened
    QString dataFolder;
    QString browseFolder; // where Browse last found a playlist
    QFont boldFont;
    QRect statusRect;
    QRect videoRect; // the picture's band, also before the picture exists
    QString statusText;
    bool statusNamesReason = false;
    QBasicTimer bufferingTimer;
    bool initialised = false;
    FirstFrameWatch firstFrame;
    bool windowsShown = false;
    bool engineStarted = false;
    bool destroyed = false;
    bool ended = false; // the modal loop was ended before it ran (fatal start-up error)
    std::vector<QShortcut*> accelerators;
    Settings settings;
    QIcon appIcon;
    QRect closingRect; // outer rectangle when the modal loop ended
    PlayState shownState;
    PlayState statusState;             // whose text the status line shows, unless buffering
    bool statusShowsBuffering = false; // the status line shows the buffering progress
    QString onAirTitle; // of the programme on the channel played
    QString playingLogo; // the address of its logo
    QTimer onAirTimer;
    quint64 channelStarts = 0; // so that a start handed over meanwhile wins
    bool altAlone = false; // Alt is down and no other key was pressed since
    ScreenSaverInhibitor screenSaver;
    MprisService mpris{*this};
    LiveControls live{player.Engine(), languageStrings, *this};
    ChannelNumberEntry numberEntry{[this](int number) { ChooseNumber(number); },
                                   [this](const QString& text) { ShowNumber(text); }};
};
