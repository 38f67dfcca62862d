#pragma once
// The program's parts, owned in the order they are made: it starts them, runs the main
// window's modal loop, ends them and saves what the viewer changed, and tells the exit
// status. Every connection between the parts is made in one place (Wiring.cpp).

#include "AccountLibrary.h"
#include "ChannelDirectory.h"
#include "ChannelWindow.h"
#include "Commands.h"
#include "CWMPWindow.h"
#include "EngineLoader.h"
#include "Favorites.h"
#include "FilmControls.h"
#include "FilmPlaces.h"
#include "FirstFrameWatch.h"
#include "GuideChannelFeed.h"
#include "GuideLibrary.h"
#include "LibraryActions.h"
#include "LiveControls.h"
#include "LogoCache.h"
#include "MainWindow.h"
#include "MprisService.h"
#include "OnAir.h"
#include "PlaybackControl.h"
#include "PlaylistLibrary.h"
#include "PrivacyActions.h"
#include "ViewerPrivacy.h"
#include "ViewerPreferences.h"
#include "ReminderNotifier.h"
#include "ReminderSchedule.h"
#include "BackgroundTray.h"
#include "RecordingScheduler.h"
#include "RecordingsWindow.h"
#include "ScreenSaverInhibitor.h"
#include "Settings.h"
#include "StatusLine.h"
#include "Texts.h"
#include "Zapper.h"

#include <QObject>
#include <QString>
#include <QStringList>

class App : public QObject
{
    Q_OBJECT
public:
    // A start that cannot go on (no language, no catalogue, no engine) ends with this.
    static constexpr int kFatalExitStatus = 1;

    App();
    ~App() override;

    // Starts the parts, runs the modal loop and ends them; the exit status.
    int Run();
    // The start-up sequence; false after a fatal error (already reported). A missing text
    // ends it where it is, and the window opens with what was built.
    bool Start();
    // Saves (only after a completed start-up), closes the windows and the player. Once.
    void Shutdown();
    // Ends the modal loop as the window's close button does; at session end no box asks.
    void End(bool sessionEnding = false);
    void AddPlaylists(const QStringList& sources) { library.AddPlaylists(sources); }

    bool IsInitialised() const { return initialised; }
    // The player's engine was made (or failed to be) once both windows were painted.
    bool IsEngineStarted() const { return engineStarted; }
    // Both windows are on screen, and what waits for them has been loaded.
    bool AreWindowsShown() const { return windowsShown; }

    // The parts, for the wiring and for tests.
    Settings& GetSettings() { return settings; }
    Texts& Language() { return texts; }
    CWMPWindow& Player() { return player; }
    PlaylistLibrary& OwnPlaylists() { return playlistLibrary; }
    AccountLibrary& ProviderAccounts() { return accountLibrary; }
    GuideLibrary& Guides() { return guideLibrary; }
    LogoCache& Logos() { return logos; }
    ChannelDirectory& Directory() { return directory; }
    Favorites& FavoriteList() { return favorites; }
    Zapper& Zap() { return zapper; }
    Commands& Actions() { return commands; }
    MainWindow& Window() { return mainWindow; }
    ChannelWindow& Channels() { return channelWindow; }
    LiveControls& Live() { return live; }
    FilmControls& Films() { return films; }
    FilmPlaces& Places() { return filmPlaces; }
    OnAir& Programme() { return onAir; }
    StatusLine& Status() { return statusLine; }
    PlaybackControl& Playback() { return playback; }
    LibraryActions& Library() { return library; }
    ScreenSaverInhibitor& ScreenSaver() { return screenSaver; }
    MprisService& Desktop() { return mpris; }
    ViewerPreferences& Prefs() { return preferences; }
    ViewerPrivacy& HiddenAndLocked() { return privacy; }
    PrivacyActions& PrivacyAsk() { return privacyActions; }
    ReminderSchedule& Reminders() { return reminders; }
    ReminderNotifier& Notifier() { return notifier; }
    RecordingScheduler& Planner() { return planner; }
    RecordingsWindow& RecordingsView() { return recordingsWindow; }
    BackgroundTray& Tray() { return tray; }

    // The viewer's channels and the playlists' guides, for the guide to match.
    void FeedGuide();
    // Until a channel was started, a newcomer without playlists is told how to add one.
    void ShowEmptyHint();
    void ShowLanguageDialog();
    void ShowPreferencesDialog();

private:
    void LoadLibraries();
    void StartEngine();
    void LoadPreferences();
    // LastChannel.xml, one channel as Favorites.xml keeps one: written at the end and
    // started once the engine is up, while the viewer prefers so.
    bool SaveLastChannel(QString* reason);
    void StartLastChannel();
    void EngineFailed();
    bool FatalError(const QString& text);
    void Save();
    QString FilePath(const QString& name) const;

    EngineLoader engineLoader; // last gone: it waits for its thread
    CWMPWindow player;
    Settings settings;
    Texts texts;
    PlaylistLibrary playlistLibrary{texts.Strings()};
    AccountLibrary accountLibrary{texts.Strings()};
    GuideLibrary guideLibrary;
    LogoCache logos; // before the windows that show them
    GuideChannelFeed guideFeed{texts.Names(), playlistLibrary.Playlists()};
    ChannelDirectory directory{texts.Strings(), texts.Names(), texts.Descriptions(), playlistLibrary.Playlists()};
    Favorites favorites;
    FilmPlaces filmPlaces;
    Zapper zapper{directory, favorites};
    MainWindow mainWindow{texts.Strings(), settings, player, statusLine, commands};
    Commands commands{texts.Strings(), settings}; // its menus are the window's: gone before it
    ChannelWindow channelWindow{texts.Strings(), directory, favorites, zapper, &playlistLibrary, &guideLibrary, &logos,
                                &filmPlaces};
    LiveControls live{player.Engine(), texts.Strings(), mainWindow};
    FilmControls films{player.Engine(), filmPlaces, texts.Strings()};
    OnAir onAir{texts.Strings(), directory, guideLibrary, live, logos};
    StatusLine statusLine{texts.Strings(), live, films, onAir, player};
    PlaybackControl playback{player, mainWindow.PlayPanel(), settings, live, films, statusLine, zapper};
    LibraryActions library{mainWindow, texts.Strings(), playlistLibrary, guideLibrary, directory, logos};
    ScreenSaverInhibitor screenSaver;
    MprisService mpris{playback};
    FirstFrameWatch firstFrame;
    ReminderSchedule reminders;
    ReminderNotifier notifier;
    ViewerPrivacy privacy{playlistLibrary.Playlists()};
    PrivacyActions privacyActions{&mainWindow, texts.Strings(), privacy, directory};
    RecordingScheduler planner;
    RecordingsWindow recordingsWindow{&mainWindow, texts.Strings(), planner};
    BackgroundTray tray{texts.Strings(), mainWindow};
    ViewerPreferences preferences; // last made: its values reach every part above at the start
    QString dataFolder;
    bool initialised = false;
    bool windowsShown = false;
    bool engineStarted = false;
    bool destroyed = false;
    bool fatal = false;
    bool sessionEnding = false;
};
