#include "App.h"

#include "AccountsTexts.h"
#include "AppDataFolder.h"
#include "CLanguageDlg.h"
#include "EngineLibrary.h"
#include "FavoritesFile.h"
#include "FilmDatabase.h"
#include "FilesTexts.h"
#include "GuidanceTexts.h"
#include "GuideChannels.h"
#include "LanguageEntries.h"
#include "LogCategories.h"
#include "MessageBox.h"
#include "PlaylistTexts.h"
#include "PreferencesTexts.h"
#include "CPreferencesDlg.h"
#include "RecordingPlace.h"
#include "SettingsFile.h"
#include "SkinColours.h"
#include "SupportAddresses.h"
#include "WinApp.h"
#include "WindowGeometry.h"
#include "Wiring.h"

#include <QApplication>
#include <QDir>

namespace {
const QString kLanguageError = QStringLiteral("Cannot open language file. Please reinstall the program.");

// Closes the open popup menus and every modal widget above window.
void CloseModalWidgets(const QWidget* window)
{
    while (QWidget* popup = QApplication::activePopupWidget()) {
        if (!popup->close())
            break;
    }
    while (QWidget* modal = QApplication::activeModalWidget()) {
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (modal == window || dialog == nullptr)
            break;
        dialog->done(QDialog::Rejected);
        if (QApplication::activeModalWidget() == modal)
            break; // it refused to end
    }
}
} // namespace

App::App()
{
    Wire(*this);
}

App::~App()
{
    Shutdown();
}

int App::Run()
{
    // A missing text ends only the start-up, and the window still opens with what was built.
    CatchInvalidArgument([this] { Start(); });
    // Hidden to record in the background, the window's loop ends without the window having
    // ended: the tray waits until the viewer shows the windows again or quits.
    while (!mainWindow.Ended()) {
        mainWindow.exec();
        if (mainWindow.Ended() || !tray.Wait())
            break;
        mainWindow.show();
        channelWindow.show();
    }
    Shutdown();
    return fatal ? kFatalExitStatus : 0;
}

bool App::Start()
{
    dataFolder = GetAppDataFolder();
    live.SetUp(dataFolder);
    LoadPreferences();
    privacy.Load(FilePath(QStringLiteral("Privacy.xml")));
    if (!LoadSettings(FilePath(QStringLiteral("Settings.xml")), settings))
        settings = Settings();
    favorites.Set({});
    favorites.Load(FilePath(QStringLiteral("Favorites.xml")));
    commands.InstallShortcuts(&mainWindow);
    initialised = false;

    if (!texts.Load(&mainWindow, settings.languageName))
        return FatalError(kLanguageError);
    guideLibrary.SetLanguage(texts.GuideLanguage());
    // The engine and its video output come once both windows are on screen (StartEngine).
    player.storedVolume = settings.volume;
    mainWindow.CreatePanels();
    mpris.SetVolume(settings.volume);
    mainWindow.NameParts();
    commands.BuildMenus(&mainWindow, mainWindow.MenuPanel());

    initialised = true;
    MoveWindowOuter(&mainWindow, settings.mainWindowRect);
    mainWindow.Layout(mainWindow.width(), mainWindow.height());
    if (settings.alwaysOnTop)
        mainWindow.SetTopmost(true);

    directory.SetGuideLibrary(&guideLibrary);
    onAir.Start();
    channelWindow.Create(&mainWindow);
    MoveWindowOuter(&channelWindow, settings.channelWindowRect);
    channelWindow.show();
    // Showing the windows loads plug-ins, and the engine library's load would hold the
    // dynamic loader's lock against them: it loads once both windows are on screen.
    firstFrame.Watch({&mainWindow, &channelWindow}, [this] {
        windowsShown = true;
        mainWindow.UseThemeIcon();
        engineLoader.Start();
        LoadLibraries();
    });
    connect(&engineLoader, &EngineLoader::Done, this, &App::StartEngine, Qt::UniqueConnection);
    return true;
}

// What the first paint does not show waits for it: the guide store, the own playlists, the
// places in films, the reminders and the desktop's bus.
void App::LoadLibraries()
{
    guideLibrary.Load(dataFolder);
    // Own playlists once the texts are there to word what may go wrong with them.
    playlistLibrary.Load(dataFolder);
    accountLibrary.Load(dataFolder);
    library.Ready();
    filmPlaces.Open(FilmDatabase::DefaultPath());
    mpris.Register();
    notifier.Listen();
    reminders.Load(ReminderBook::DefaultPath()); // those due meanwhile are told now, in the texts loaded
    planner.Load(RecordingBook::DefaultPath());
}

void App::StartEngine()
{
    if (engineStarted || !windowsShown || !engineLoader.IsDone() || !initialised || destroyed)
        return;
    engineStarted = true;
    if (!player.Create(&mainWindow)) {
        EngineFailed();
        return;
    }
    // Whatever was changed meanwhile is in the settings already.
    player.SetOriginalSize(settings.originalSize != 0);
    player.SetVolume(settings.volume);
    player.SetMute(settings.mute != 0);
    mainWindow.Layout(mainWindow.width(), mainWindow.height());
    StartLastChannel();
}

void App::EngineFailed()
{
    // As when start-up fails before the windows: nothing is saved, the box stands alone.
    initialised = false;
    channelWindow.hide();
    mainWindow.hide();
    QString text = QStringLiteral("Cannot open WMP control. Please contact us by e-mail ") + SupportEmailAddress() +
                   QStringLiteral(".");
    const std::string reason = EngineLibrary::Error();
    if (!reason.empty())
        text += QLatin1Char('\n') + QString::fromStdString(reason);
    FatalError(text);
}

bool App::FatalError(const QString& text)
{
    qCCritical(lcApp).noquote() << text;
    fatal = true;
    MessageBox(&mainWindow, text, QStringLiteral("Error"), MB_OK | MB_ICONSTOP);
    mainWindow.EndDialog(QDialog::Rejected);
    return false;
}

void App::End(bool atSessionEnd)
{
    sessionEnding = sessionEnding || atSessionEnd;
    // A box, dialog or menu open now runs an event loop inside the window's, which could
    // only end once answered: each is closed first, innermost first.
    CloseModalWidgets(&mainWindow);
    mainWindow.EndDialog(QDialog::Rejected);
}

void App::Shutdown()
{
    if (destroyed)
        return;
    destroyed = true;
    // The channel window goes first, recording its place.
    channelWindow.DestroyWindow();
    if (initialised)
        Save();
    if (initialised)
        films.Leave(); // where a film got to, on disk before the engine goes
    screenSaver.SetPlaying(false);
    player.Close();
}

// Each file is written on its own, so one that cannot be written costs only itself; the
// viewer who closed the window hears which and why.
void App::Save()
{
    QDir().mkpath(dataFolder + QStringLiteral("/Korvanta"));
    settings.mainWindowRect = RectToSave(settings.mainWindowRect, mainWindow.ClosingRect());
    settings.channelWindowRect = RectToSave(settings.channelWindowRect, channelWindow.WindowRect());
    QStringList failures;
    const auto record = [&](bool saved, const QString& file, const QString& reason) {
        if (saved)
            return;
        qCWarning(lcApp).noquote() << "cannot save" << file << ":" << reason;
        failures.append(texts.Strings()[Files].value(FilesNotSaved).arg(file, reason));
    };
    QString reason;
    const QString settingsFile = FilePath(QStringLiteral("Settings.xml"));
    record(SaveSettings(settingsFile, settings, &reason), settingsFile, reason);
    const QString favoritesFile = FilePath(QStringLiteral("Favorites.xml"));
    record(favorites.Save(favoritesFile, &reason), favoritesFile, reason);
    record(playlistLibrary.Save(&reason), FilePath(QStringLiteral("Playlists.xml")), reason);
    record(guideLibrary.Save(&reason), FilePath(QStringLiteral("Guides.xml")), reason);
    record(SaveLastChannel(&reason), FilePath(QStringLiteral("LastChannel.xml")), reason);
    if (!failures.isEmpty() && !sessionEnding)
        MessageBox(nullptr, failures.join(QLatin1Char('\n')), QStringLiteral("Korvanta"), MB_OK | MB_ICONWARNING);
}

QString App::FilePath(const QString& name) const
{
    return dataFolder + QStringLiteral("/Korvanta/") + name;
}

void App::FeedGuide()
{
    if (!windowsShown)
        return; // the first frame feeds it
    guideLibrary.SetPlaylists(playlistLibrary.Playlists());
    guideFeed.Start(AllChannelKeys(texts.Names(), playlistLibrary.Playlists()),
                    [this](std::vector<GuideViewerChannel> channels) { guideLibrary.SetViewerChannels(std::move(channels)); });
}

void App::ShowEmptyHint()
{
    const LanguageStrings& strings = texts.Strings();
    const bool shown = initialised && playback.Starts() == 0 && playlistLibrary.Playlists().empty();
    const QString menu = strings[MainMenu].value(MainMenuTitleChannels) + QStringLiteral(" > ");
    const QString menuPath = menu + strings[Playlists].value(PlaylistAddMenu);
    const QString accountPath = menu + strings[Accounts].value(AccountsAddItem);
    player.SetHint(shown ? strings[Guidance].value(GuidanceEmptyHint).arg(menuPath) + QLatin1Char(' ')
                               + strings[Accounts].value(AccountsHint).arg(accountPath)
                         : QString(),
                   kSkinTextColour);
}

void App::ShowLanguageDialog()
{
    CLanguageDlg dlg(&mainWindow, texts.Strings(), settings.languageName);
    if (dlg.DoModal() == IDOK) {
        settings.languageName = dlg.Language();
        texts.Reload(&mainWindow, settings.languageName);
    }
}

void App::LoadPreferences()
{
    // Until the viewer sets them: the bounds Playback.xml held, the system's videos folder.
    PreferenceValues defaults;
    defaults.timeshiftMinutes = live.TimeshiftMinutes();
    defaults.timeshiftDiskCapMiB = live.TimeshiftDiskCapMiB();
    defaults.recordingFolder = RecordingPlace::DefaultFolder();
    preferences.Load(FilePath(QStringLiteral("Preferences.xml")), defaults);
}

bool App::SaveLastChannel(QString* reason)
{
    const ChannelRequest last = playback.Current().Live();
    if (!preferences.Values().startWithLastChannel || last.IsEmpty())
        return true;
    const OwnStream stream = last.id != 0 ? OwnStream() : ChannelDirectory::OwnStreamOf(last);
    return SaveFavorites(FilePath(QStringLiteral("LastChannel.xml")), {last.name}, {last.id},
                         {static_cast<quint32>(last.icon)}, {stream}, reason);
}

void App::StartLastChannel()
{
    QStringList names;
    QList<quint32> ids;
    QList<quint32> icons;
    QList<OwnStream> streams;
    if (!preferences.Values().startWithLastChannel || playback.Starts() > 0
        || !LoadFavorites(FilePath(QStringLiteral("LastChannel.xml")), names, ids, icons, &streams) || names.isEmpty())
        return;
    const ChannelOrigin origin;
    const int icon = static_cast<int>(icons.value(0));
    const ChannelRequest request = streams.value(0).IsEmpty()
                                       ? directory.BuiltinRequest(ids.value(0), names.first(), icon, origin)
                                       : directory.OwnRequest(streams.value(0), names.first(), icon, origin);
    if (!request.IsEmpty())
        playback.Start(request);
}

void App::ShowPreferencesDialog()
{
    CPreferencesDlg dialog(&mainWindow, texts.Strings(), preferences.Values(), live.TimeshiftFreeBytes());
    connect(&dialog, &CPreferencesDlg::EmptyCacheRequested, &logos, &LogoCache::Empty);
    if (dialog.DoModal() != IDOK)
        return;
    QString reason;
    if (!preferences.Set(dialog.Values(), &reason))
        MessageBox(&mainWindow, texts.Strings().Text(Files, FilesNotSaved).arg(FilePath(QStringLiteral("Preferences.xml")), reason),
                   texts.Strings().Text(Preferences, PrefTitle), MB_OK | MB_ICONWARNING);
}
