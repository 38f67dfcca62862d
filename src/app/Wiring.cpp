// Every connection between the program's parts, grouped by what they carry. A part connects
// only its own children; whatever travels between parts is connected here.

#include "Wiring.h"
#include "WiringPlanner.h"

#include "Guarded.h"

#include "App.h"
#include "CAboutDlg.h"
#include "CDonateDlg.h"
#include "CShortcutsDlg.h"
#include "ChannelTree.h"
#include "NextEpisode.h"
#include "GuideTexts.h"
#include "PlaylistDrops.h"
#include "GuideWindow.h"
#include "SkinColours.h"

#include <QDateTime>
#include <QMenu>
#include <QUrl>

#include <cmath>
#include <QWidget>
#include "WinApp.h"

namespace {

constexpr double kMicrosecondsPerSecond = 1e6;
constexpr qint64 kSecondsPerMinute = 60;
constexpr qint64 kSecondsPerHour = 60 * kSecondsPerMinute;
constexpr int kMsPerSecond = 1000;
constexpr qint64 kBytesPerMB = 1000 * 1000; // the cache's size is told in decimal megabytes


// What the desktop's controls can seek in: the film playing, else the timeshift buffer.
void ShowDesktopSeeking(App& app)
{
    const FilmControls& film = app.Films();
    if (film.Playing()) {
        const auto us = [](double seconds) { return std::llround(seconds * kMicrosecondsPerSecond); };
        app.Desktop().ShowTimeshift({true, film.Paused(), us(film.Position()), us(film.Length()), true});
        return;
    }
    const LiveControls& shift = app.Live();
    app.Desktop().ShowTimeshift({shift.CanSeek(), shift.Paused(), shift.PositionUs(), shift.LengthUs()});
}

// The panel's short guide as the guide's now and next; one without a start of its own
// cannot be placed and tells nothing here.
GuideNowNext ShortOnAir(const std::vector<ShortProgramme>& told)
{
    std::vector<GuideProgramme> programmes;
    for (std::size_t k = 0; k < told.size() && programmes.size() < 2 && told[k].start > 0; ++k) {
        GuideProgramme programme;
        programme.title = told[k].title;
        programme.start = told[k].start;
        programme.stop = told[k].stop > 0 ? told[k].stop : (k + 1 < told.size() ? told[k + 1].start : 0);
        programme.hasStop = programme.stop > programme.start;
        programmes.push_back(std::move(programme));
    }
    GuideNowNext onAir;
    const bool begun = !programmes.empty() && programmes[0].start <= QDateTime::currentSecsSinceEpoch();
    if (begun)
        onAir.now = programmes[0];
    if (programmes.size() > (begun ? 1u : 0u))
        onAir.next = programmes[begun ? 1 : 0];
    return onAir;
}

// In full screen the play panel is gone: a film's position shows on the picture for a moment.
void ShowFullScreenPosition(App& app)
{
    const FilmControls& film = app.Films();
    if (film.Playing() && app.Player().IsFullScreen())
        app.Player().Caption().ShowPosition(film.Position(), film.Length(), kSkinTextColour);
}

// player -> the parts that show its state. The desktop's media controls learn of a new
// channel first: what they are then told of its programme and logo belongs to that channel.
void WirePlayer(App& app)
{
    CWMPEventDispatch& events = app.Player().Events();
    MainWindow& window = app.Window();
    QObject::connect(&events, &CWMPEventDispatch::PlayStateChanged, &app.Desktop(), &MprisService::ShowPlayState);
    QObject::connect(&events, &CWMPEventDispatch::PlayStateChanged, &app.Programme(), &OnAir::ShowPlayState);
    QObject::connect(&events, &CWMPEventDispatch::PlayStateChanged, &app.Status(),
                     Guarded([&app](const PlayState& state) { app.Status().ShowPlayState(state); }));
    QObject::connect(&events, &CWMPEventDispatch::PlayStateChanged, &window, &MainWindow::ShowTitleOf);
    QObject::connect(&events, &CWMPEventDispatch::PlayStateChanged, &window.PlayPanel(), &CPanelPlay::ShowPlayState);
    QObject::connect(&events, &CWMPEventDispatch::PlayStateChanged, &app.ScreenSaver(), &ScreenSaverInhibitor::ShowPlayState);
    QObject::connect(&events, &CWMPEventDispatch::PlayStateChanged, &app.Playback(), &PlaybackControl::ShowPlayState);
    QObject::connect(&events, &CWMPEventDispatch::PlayStateChanged, &app.Live(), &LiveControls::ShowPlayState);
    QObject::connect(&events, &CWMPEventDispatch::KeyPressed, &app.Actions(),
                     [&app](QKeyCombination key) { app.Actions().Key(OnPicture, key); });
    QObject::connect(&events, &CWMPEventDispatch::MousePressed, &window, &MainWindow::FocusFromPicture);

    // status line -> main window
    QObject::connect(&app.Status(), &StatusLine::Changed, &window, &MainWindow::ShowStatus);
    // programme -> status line, desktop, channel window
    QObject::connect(&app.Programme(), &OnAir::TitleChanged, &app.Status(), Guarded([&app] { app.Status().ShowPlayingAgain(); }));
    QObject::connect(&app.Programme(), &OnAir::DesktopProgrammeChanged, &app.Desktop(), &MprisService::SetProgramme);
    QObject::connect(&app.Programme(), &OnAir::ArtChanged, &app.Desktop(), &MprisService::SetArt);
    QObject::connect(&app.Programme(), &OnAir::Ticked, &app.Channels(), &ChannelWindow::ShowOnAirAgain);
    QObject::connect(&app.Logos(), &LogoCache::Answered, &app.Programme(), &OnAir::LogoArrived);
    // live controls -> status line, desktop, playback
    LiveControls& live = app.Live();
    QObject::connect(&live, &LiveControls::Changed, &app.Status(), Guarded([&app] {
        app.Status().ShowPlayingAgain();
        ShowDesktopSeeking(app);
    }));
    QObject::connect(&live, &LiveControls::Seeked, &app.Desktop(), [&app](qint64 position) {
        if (!app.Films().Playing())
            app.Desktop().AnnounceSeeked(position);
    });
    // A paused channel or film lets the screensaver run.
    const auto showPaused = [&app] { app.ScreenSaver().ShowPaused(app.Live().Paused() || app.Films().Paused()); };
    QObject::connect(&live, &LiveControls::Changed, &app.ScreenSaver(), showPaused);
    QObject::connect(&app.Films(), &FilmControls::Changed, &app.ScreenSaver(), showPaused);
    QObject::connect(&live, &LiveControls::StartRequested, &app.Playback(), &PlaybackControl::Start);
}

// player and position bar -> films -> status line, play panel, picture, desktop, playback
void WireFilms(App& app)
{
    FilmControls& films = app.Films();
    MainWindow& window = app.Window();
    QObject::connect(&app.Player().Events(), &CWMPEventDispatch::PlayStateChanged, &films, &FilmControls::ShowPlayState);
    QObject::connect(&window.Position(), &PositionBar::SeekRequested, &films, &FilmControls::SeekTo);
    QObject::connect(&films, &FilmControls::Changed, &app.Status(), Guarded([&app] {
        FilmControls& film = app.Films();
        app.Status().ShowPlayingAgain();
        app.Window().ShowFilm(film.Playing(), film.Position(), film.Length());
        if (film.Playing() && app.Playback().State().Underway())
            app.Window().PlayPanel().SetPaused(film.Paused());
        ShowDesktopSeeking(app);
        app.Player().Caption().MovePosition(film.Position(), film.Length());
    }));
    QObject::connect(&films, &FilmControls::Seeked, &app.Desktop(), [&app](double seconds) {
        app.Desktop().AnnounceSeeked(std::llround(seconds * kMicrosecondsPerSecond));
        ShowFullScreenPosition(app);
    });
    QObject::connect(&app.Player().Events(), &CWMPEventDispatch::MouseMoved, &films, [&app] { ShowFullScreenPosition(app); });
    QObject::connect(&films, &FilmControls::CountdownChanged, &app.Status(), Guarded([&app](const QString& text) {
        if (text.isEmpty())
            app.Status().ShowAgain();
        else
            app.Player().ShowCard(app.Playback().Current().name, text, kSkinTextColour);
    }));
    QObject::connect(&films, &FilmControls::StartRequested, &app.Playback(), &PlaybackControl::Start);
    QObject::connect(&app.Places(), &FilmPlaces::Changed, &app.Channels(), &ChannelWindow::ShowFilmPlaces);
    const ChannelDirectory& directory = app.Directory();
    films.SetCatalogue(
        [&directory](const ChannelRequest& request) {
            const ChannelKey key = directory.KeyOf(request);
            if (!key.IsOwn())
                return ChannelRequest();
            const int next = NextEpisodeOf(directory.Playlists()[std::size_t(key.playlist)].channels, key.entry);
            return next < 0 ? ChannelRequest() : directory.RequestOf({0, key.playlist, next}, request.origin);
        },
        [&directory](const ChannelRequest& request) { return directory.PosterAddressOf(directory.KeyOf(request)); });
}

// the places a channel is chosen -> playback -> what follows a start
void WireChannels(App& app)
{
    PlaybackControl& playback = app.Playback();
    ChannelWindow& channels = app.Channels();
    QObject::connect(&channels, &ChannelWindow::ChannelChosen, &playback, &PlaybackControl::Start);
    QObject::connect(&app.Zap(), &Zapper::ChannelChosen, &playback, &PlaybackControl::Start);
    QObject::connect(&app.Library(), &LibraryActions::ChannelChosen, &playback, &PlaybackControl::Start);
    QObject::connect(&app.Zap(), &Zapper::FavoriteReached, &channels, &ChannelWindow::SelectFavorite);
    QObject::connect(&app.Zap(), &Zapper::ResultReached, &channels, &ChannelWindow::SelectResult);
    app.Zap().SetSelectedGroup([&channels] { return channels.Tree().Selected(); });
    QObject::connect(&playback, &PlaybackControl::Started, &app.Window(), [&app](const ChannelRequest& request) {
        app.Window().ShowChannelName(request.name);
        app.Channels().ChannelStarted();
        app.ShowEmptyHint();
    });
    QObject::connect(&channels, &ChannelWindow::AddCurrentRequested, &channels,
                     [&app] { app.Channels().AddFavoriteOf(app.Playback().Current()); });
    QObject::connect(&channels, &ChannelWindow::CommandChosen, &app.Actions(), &Commands::Run);
    QObject::connect(&app.Library(), &LibraryActions::CommandChosen, &app.Actions(), &Commands::Run);
}

// the panels, the menus and the keys -> what each command does
void WireCommands(App& app)
{
    Commands& commands = app.Actions();
    MainWindow& window = app.Window();
    PlaybackControl& playback = app.Playback();
    CPanelPlay& panel = window.PlayPanel();
    QObject::connect(&panel, &CPanelPlay::PlayStopRequested, &playback, &PlaybackControl::PlayStopRequested);
    QObject::connect(&panel, &CPanelPlay::MuteRequested, &playback, &PlaybackControl::Mute);
    QObject::connect(&panel, &CPanelPlay::VolumeRequested, &playback, &PlaybackControl::SetVolume);
    QObject::connect(&window.MenuPanel(), &CPanelMenu::CommandChosen, &commands, &Commands::Run);
    QObject::connect(&window, &MainWindow::CheckChanged, &commands, &Commands::SetCheck);
    QObject::connect(&commands, &Commands::NumberShown, &app.Player(),
                     [&app](const QString& text) { app.Player().SetNumber(text, kSkinTextColour); });
    QObject::connect(&commands, &Commands::NumberChosen, &playback, [&app](int number) {
        if (!app.Playback().PlayNumber(number))
            app.Actions().NumberNotFound(number);
    });
    commands.SetExtraMenus([&app] { return app.Live().TrackMenus(); });
    commands.SetEscape([&app] { return app.Films().CancelNext(); });

    commands.On(ID_CHANNELS, [&app] { app.Channels().ShowAndFocus(); });
    commands.On(ID_FIND_CHANNEL, [&app] { app.Channels().OpenSearch(); });
    commands.On(ID_ADD_PLAYLIST, [&app] { app.Library().ShowAddPlaylistDialog(); });
    commands.On(ID_ADD_ACCOUNT, [&app] { app.Library().ShowAddAccountDialog(); });
    commands.On(ID_GUIDE, [&app] { app.Library().ShowGuideWindow(app.Channels().Tree().GuideLists(app.Playback().Current())); });
    commands.On(ID_ADD_GUIDE, [&app] { app.Library().ShowAddGuideDialog(); });
    commands.On(ID_REFRESH_GUIDE, [&app] { app.Guides().RefreshAll(); });
    commands.On(ID_GUIDES, [&app] { app.Library().ShowGuidesDialog(); });
    commands.On(ID_PLAY_PAUSE, [&playback] { playback.PlayPause(); });
    commands.On(ID_MUTE, [&playback] { playback.ToggleMute(); });
    commands.On(ID_PREVIOUS_CHANNEL, [&playback] { playback.Zap(-1); });
    commands.On(ID_NEXT_CHANNEL, [&playback] { playback.Zap(+1); });
    commands.On(ID_FULL_SCREEN, [&window] { window.SetFullScreen(true); });
    commands.On(ID_LEAVE_FULL_SCREEN, [&window] { window.SetFullScreen(false); });
    commands.On(ID_ORIGINAL_SIZE, [&window] { window.SelectSize(true); });
    commands.On(ID_FIT_TO_WINDOW, [&window] { window.SelectSize(false); });
    commands.On(ID_HIDE_CONTROL, [&window] { window.ToggleHideControl(); });
    commands.On(ID_HIDE_MENU, [&window] { window.ToggleHideMenu(); });
    commands.On(ID_ALWAYS_ON_TOP, [&window] { window.ToggleAlwaysOnTop(); });
    commands.On(ID_MENU_BAR, [&window] { window.OpenMenuBar(); });
    commands.On(ID_LANGUAGE, [&app] { app.ShowLanguageDialog(); });
    commands.On(ID_ABOUT, [&app] { CAboutDlg(&app.Window(), app.Language().Strings()).DoModal(); });
    commands.On(ID_DONATE, [&app] { CDonateDlg(&app.Window(), app.Language().Strings()).DoModal(); });
    commands.On(ID_PREFERENCES, [&app] { app.ShowPreferencesDialog(); });
    commands.On(ID_SHORTCUTS, [&app] { CShortcutsDlg(&app.Window(), app.Language().Strings()).DoModal(); });
    // Pause, rewind, recording and the tracks' items.
    commands.OnOthers([&playback](int command) { playback.Command(command); });
}

// playlists <-> the windows and their boxes
void WirePlaylists(App& app)
{
    PlaylistLibrary& playlists = app.OwnPlaylists();
    LibraryActions& library = app.Library();
    ChannelWindow& channels = app.Channels();
    QObject::connect(&playlists, &PlaylistLibrary::Changed, &channels, &ChannelWindow::RefillPlaylists);
    QObject::connect(&playlists, &PlaylistLibrary::Loaded, &channels, &ChannelWindow::ShowPlaylists);
    const auto follow = [&app] {
        app.ShowEmptyHint();
        app.FeedGuide();
    };
    QObject::connect(&playlists, &PlaylistLibrary::Changed, &app, follow);
    QObject::connect(&playlists, &PlaylistLibrary::Loaded, &app, follow);
    QObject::connect(&playlists, &PlaylistLibrary::Failed, &library, &LibraryActions::ReportPlaylistFailure);
    QObject::connect(&playlists, &PlaylistLibrary::CopyKept, &library, &LibraryActions::ReportPlaylistCopyKept);
    QObject::connect(&playlists, &PlaylistLibrary::Imported, &library, &LibraryActions::ReportPlaylistImport);
    ChannelTree& tree = channels.Tree();
    QObject::connect(&tree, &ChannelTree::AddPlaylistRequested, &library, &LibraryActions::ShowAddPlaylistDialog);
    // An account's node stands for the account, which Accounts.xml keeps.
    AccountLibrary& accounts = app.ProviderAccounts();
    const auto accountOf = [&playlists](int index) {
        const auto& all = playlists.Playlists();
        return index >= 0 && std::size_t(index) < all.size() && all[std::size_t(index)].account
                   ? all[std::size_t(index)].source
                   : QString();
    };
    QObject::connect(&tree, &ChannelTree::RenamePlaylistRequested, &playlists,
                     [&, accountOf](int index, const QString& name) {
                         if (const QString account = accountOf(index); !account.isEmpty())
                             accounts.Rename(account, name);
                         else
                             playlists.Rename(index, name);
                     });
    QObject::connect(&tree, &ChannelTree::RefreshPlaylistRequested, &playlists, [&, accountOf](int index) {
        if (const QString account = accountOf(index); !account.isEmpty())
            accounts.Refresh(account);
        else
            playlists.Refresh(index);
    });
    QObject::connect(&tree, &ChannelTree::RemovePlaylistRequested, &playlists, [&, accountOf](int index) {
        if (const QString account = accountOf(index); !account.isEmpty())
            accounts.Remove(account);
        else
            playlists.Remove(index);
    });
    QObject::connect(&channels.Drops(), &PlaylistDrops::Dropped, &library, &LibraryActions::PlaylistsDropped);
    QObject::connect(&app.Window().Drops(), &PlaylistDrops::Dropped, &library, &LibraryActions::PlaylistsDropped);
}

// provider accounts <-> playlists, the windows and their boxes, the player and the guide
void WireAccounts(App& app)
{
    AccountLibrary& accounts = app.ProviderAccounts();
    PlaylistLibrary& playlists = app.OwnPlaylists();
    LibraryActions& library = app.Library();
    accounts.SetPlaylists(&playlists.Playlists());
    QObject::connect(&accounts, &AccountLibrary::Built, &playlists, &PlaylistLibrary::PutAccount);
    QObject::connect(&accounts, &AccountLibrary::CopyRead, &playlists, &PlaylistLibrary::PutAccountCopy);
    QObject::connect(&accounts, &AccountLibrary::EntriesAdded, &playlists, &PlaylistLibrary::AddToAccount);
    QObject::connect(&accounts, &AccountLibrary::Renamed, &playlists, &PlaylistLibrary::ChangeAccount);
    QObject::connect(&accounts, &AccountLibrary::Removed, &playlists, &PlaylistLibrary::RemoveAccount);
    QObject::connect(&accounts, &AccountLibrary::Failed, &library, &LibraryActions::ReportAccountFailure);
    QObject::connect(&accounts, &AccountLibrary::CopyKept, &library, &LibraryActions::ReportPlaylistCopyKept);
    // Asked once the start is over, not inside it.
    QObject::connect(&accounts, &AccountLibrary::PasswordNeeded, &library, &LibraryActions::AskPassword,
                     Qt::QueuedConnection);
    QObject::connect(&library, &LibraryActions::PasswordGiven, &accounts, &AccountLibrary::GivePassword);
    QObject::connect(&library, &LibraryActions::AccountGiven, &accounts, &AccountLibrary::Add);
    QObject::connect(&accounts, &AccountLibrary::Notice, &app.Status(),
                     Guarded([&app](const QString& text) { app.Status().ShowNotice(text); }));
    QObject::connect(&accounts, &AccountLibrary::DetailsArrived, &app.Channels(), &ChannelWindow::ShowDescriptionAgain);
    ChannelTree& tree = app.Channels().Tree();
    QObject::connect(&tree, &ChannelTree::SeriesOpened, &accounts, &AccountLibrary::OpenSeries);
    QObject::connect(&tree, &ChannelTree::AddAccountRequested, &library, &LibraryActions::ShowAddAccountDialog);
    app.Directory().SetAccountViews(
        {[&accounts](const Playlist& playlist, int entry) { return accounts.Describe(playlist, entry); },
         [&accounts](const Playlist& playlist, int entry) { return accounts.PosterOf(playlist, entry); },
         [&accounts](const Playlist& playlist, int entry) {
             return ShortOnAir(accounts.ShortGuideOf(playlist, entry));
         }});
    // Until the account's guide has the playing channel, the panel's short guide names its
    // programmes on the status line.
    QObject::connect(&app.Playback(), &PlaybackControl::Started, &accounts, [&app](const ChannelRequest& request) {
        const ChannelDirectory& directory = app.Directory();
        const ChannelKey key = directory.KeyOf(request);
        const PlaylistChannel* channel = directory.OwnChannel(key);
        const Playlist* playlist = channel != nullptr ? &directory.Playlists()[std::size_t(key.playlist)] : nullptr;
        if (playlist != nullptr && playlist->account && channel->kind == EntryKind::Channel
            && directory.OnAirText(key).isEmpty())
            app.ProviderAccounts().AskShortGuide(playlist->source, key.entry);
    });
    QObject::connect(&accounts, &AccountLibrary::ShortGuideArrived, &app.Status(),
                     Guarded([&app](const QString& source, int entry, const QStringList& titles) {
                         const ChannelRequest& current = app.Playback().Current();
                         const ChannelKey key = app.Directory().KeyOf(current);
                         if (titles.isEmpty() || !key.IsOwn() || key.entry != entry
                             || app.Directory().Playlists()[std::size_t(key.playlist)].source != source)
                             return;
                         const LanguageStrings& texts = app.Language().Strings();
                         QString told = texts.Text(Guide, GuideNowOn).arg(titles[0], current.name);
                         if (titles.size() > 1)
                             told += QStringLiteral(" \u00b7 ") + texts.Text(Guide, GuideNextOn).arg(titles[1], current.name);
                         app.Status().ShowNotice(told);
                     }));
    const auto reveal = [&accounts](const QString& address) { return accounts.Revealed(address); };
    app.Player().Engine().SetAddressRevealer(reveal);
    app.Guides().SetAddressRevealer(reveal);
}

// guides -> the views of now and next; the guide's boxes
void WireGuides(App& app)
{
    GuideLibrary& guides = app.Guides();
    QObject::connect(&guides, &GuideLibrary::Changed, &app.Programme(), &OnAir::Refresh);
    QObject::connect(&guides, &GuideLibrary::Changed, &app.Channels(), &ChannelWindow::FollowGuide);
    QObject::connect(&guides, &GuideLibrary::Failed, &app.Library(), &LibraryActions::ReportGuideFailure);
    QObject::connect(&app.Channels().Tree(), &ChannelTree::AddGuideRequested, &app.Library(),
                     &LibraryActions::ShowAddGuideDialog);
}

// desktop's media controls <- playback
void WireDesktop(App& app)
{
    QObject::connect(&app.Playback(), &PlaybackControl::VolumeChanged, &app.Desktop(), &MprisService::SetVolume);
    QObject::connect(&app.Playback(), &PlaybackControl::RaiseRequested, &app.Window(), &MainWindow::RaiseFromDesktop);
    // As the window's close button: the shutdown that follows saves.
    QObject::connect(&app.Playback(), &PlaybackControl::QuitRequested, &app, [&app] { app.End(); });
}

// texts -> everything that shows them, in the order the window is redrawn
void WireLanguage(App& app)
{
    Texts& texts = app.Language();
    QObject::connect(&texts, &Texts::Changed, &app.Window(), Guarded([&app] {
        app.Window().NameParts();
        app.Actions().RebuildMenus(&app.Window(), app.Window().MenuPanel());
        app.Actions().SetCheck(ID_SHOW_HIDDEN, app.HiddenAndLocked().Check().ShowHidden());
    }));
    QObject::connect(&texts, &Texts::Changed, &app.Channels(), &ChannelWindow::ApplyLanguage);
    QObject::connect(&texts, &Texts::Changed, &app.Guides(),
                     [&app] { app.Guides().SetLanguage(app.Language().GuideLanguage()); });
    QObject::connect(&texts, &Texts::Changed, &app.Library(), &LibraryActions::ApplyLanguage);
    // Built-in channels are matched by their names in the new language.
    QObject::connect(&texts, &Texts::Changed, &app, [&app] { app.FeedGuide(); });
    QObject::connect(&texts, &Texts::Changed, &app.Status(), Guarded([&app] { app.Status().ShowAgain(); }));
    QObject::connect(&texts, &Texts::Changed, &app, Guarded([&app] { app.ShowEmptyHint(); }));
}

// preferences -> every part a value steers, at the start and at each change
void WirePreferences(App& app)
{
    QObject::connect(&app.Prefs(), &ViewerPreferences::Changed, &app, [&app](const PreferenceValues& values) {
        app.Actions().SetNumberDelay(values.numberDelayMs);
        app.Player().Engine().SetHardwareDecoding(values.hardwareDecoding);
        app.Live().ApplyPreferences(values);
        app.Guides().SetStaleAfter(qint64(values.guideRefreshHours) * kSecondsPerHour);
        app.Guides().SetGlobalOffset(qint64(values.guideCorrectionMinutes) * kSecondsPerMinute);
        app.Guides().SetDaysBack(values.guideDaysBack);
        app.Reminders().SetLead(std::chrono::minutes(values.reminderLeadMinutes));
        app.Logos().SetMaxFolderBytes(qint64(values.logoCacheMB) * kBytesPerMB);
        app.Player().Engine().SetDefaultUserAgent(values.userAgent);
        app.OwnPlaylists().SetUserAgent(values.userAgent);
        app.OwnPlaylists().SetViewerTimeout(values.downloadTimeoutSeconds);
        app.ProviderAccounts().SetUserAgent(values.userAgent);
        app.ProviderAccounts().SetTimeout(values.downloadTimeoutSeconds * kMsPerSecond);
        app.Planner().SetPlace(RecordingPlace(values.recordingFolder));
        app.Planner().SetSettings({std::chrono::minutes(values.recordBeforeMinutes), std::chrono::minutes(values.recordAfterMinutes),
                                   values.recordingsAtOnce});
    });
}

// hidden and locked places <-> the tree, the search, zapping, the guide window, playback
void WirePrivacy(App& app)
{
    ViewerPrivacy& privacy = app.HiddenAndLocked();
    PrivacyActions& ask = app.PrivacyAsk();
    ChannelWindow& channels = app.Channels();
    channels.SetPrivacy(&privacy.Check(), [&ask] { return ask.OpenLocks(); });
    app.Zap().SetLeaves([&privacy](const ChannelKey& key) { return privacy.Check().Leaves(key); });
    app.Playback().SetGate([&ask](const ChannelRequest& request) { return ask.MayStart(request); });
    QObject::connect(&privacy, &ViewerPrivacy::Changed, &channels, &ChannelWindow::ApplyPrivacy);
    QObject::connect(&privacy, &ViewerPrivacy::Changed, &app.Actions(),
                     [&app] { app.Actions().SetCheck(ID_SHOW_HIDDEN, app.HiddenAndLocked().Check().ShowHidden()); });
    QObject::connect(&channels.Tree(), &ChannelTree::PrivacyRequested, &ask, Guarded([&ask](PrivacyChange change, const PrivacyPlace& place) {
        ask.Request(change, place);
    }));
    QObject::connect(&app.OwnPlaylists(), &PlaylistLibrary::Added, &ask, Guarded([&ask](const QString& name) {
        ask.OfferAdultLocks(name);
    }));
    app.Actions().On(ID_SHOW_HIDDEN, [&privacy] { privacy.SetShowHidden(!privacy.Check().ShowHidden()); });
}

} // namespace

void Wire(App& app)
{
    WirePlayer(app);
    WireFilms(app);
    WireChannels(app);
    WireCommands(app);
    WirePlaylists(app);
    WireAccounts(app);
    WireGuides(app);
    WireDesktop(app);
    WireLanguage(app);
    WirePreferences(app);
    WirePrivacy(app);
    WireReminders(app);
    WireRecordings(app);
}
