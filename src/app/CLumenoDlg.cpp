#include "CLumenoDlg.h"

#include "AccessTexts.h"
#include "AppDataFolder.h"
#include "CAboutDlg.h"
#include "CAddPlaylistDlg.h"
#include "CatchupAddress.h"
#include "CatchupTexts.h"
#include "CDonateDlg.h"
#include "CLanguageDlg.h"
#include "CMemDC.h"
#include "DialogUnits.h"
#include "DroppedPlaylists.h"
#include "EngineLibrary.h"
#include "FavoritesFile.h"
#include "GuidanceTexts.h"
#include "GuideChannels.h"
#include "GuideGrid.h"
#include "GuideTexts.h"
#include "GuideWording.h"
#include "InvalidArgument.h"
#include "LanguageEntries.h"
#include "LanguagePack.h"
#include "MessageBox.h"
#include "NaturalOrder.h"
#include "PlaylistTexts.h"
#include "PlayStateModel.h"
#include "SettingsFile.h"
#include "SkinColours.h"
#include "SupportAddresses.h"
#include "VirtualKey.h"
#include "WindowGeometry.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QTimerEvent>
#include <QUrl>
#include <QToolTip>
#include <QScopeGuard>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace {
// The window's first size, in dialog units.
constexpr QSize kInitialSizeDlu(320, 199);
// Where the status text starts inside the status rectangle.
constexpr QPoint kStatusTextOffset(5, 2);
// Space around the hint on the empty picture.

const QString kCaption = QStringLiteral("Korvanta");
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

struct Accelerator
{
    QKeyCombination key;
    int command;
};
const Accelerator kAccelerators[] = {
    {Qt::CTRL | Qt::Key_H, ID_ACCEL_HIDE_CONTROL},
    {Qt::CTRL | Qt::Key_M, ID_ACCEL_HIDE_MENU},
    {QKeyCombination(Qt::Key_M), ID_ACCEL_MUTE},
    {QKeyCombination(Qt::Key_Space), ID_ACCEL_PLAY_PAUSE},
    {Qt::CTRL | Qt::Key_T, ID_ACCEL_ALWAYS_ON_TOP},
    {Qt::CTRL | Qt::Key_F, ID_FIND_CHANNEL},
    {Qt::CTRL | Qt::Key_G, ID_GUIDE},
    {QKeyCombination(Qt::Key_PageUp), ID_ACCEL_PREVIOUS_CHANNEL},
    {QKeyCombination(Qt::Key_PageDown), ID_ACCEL_NEXT_CHANNEL},
    {QKeyCombination(Qt::Key_P), ID_PAUSE},
    {QKeyCombination(Qt::Key_Pause), ID_PAUSE},
    {QKeyCombination(Qt::Key_MediaPause), ID_PAUSE},
    {QKeyCombination(Qt::Key_MediaPlay), ID_ACCEL_RESUME},
    {QKeyCombination(Qt::Key_End), ID_BACK_TO_LIVE},
    {QKeyCombination(Qt::Key_Left), ID_ACCEL_STEP_BACK},
    {QKeyCombination(Qt::Key_Right), ID_ACCEL_STEP_FORWARD},
    {Qt::SHIFT | Qt::Key_Left, ID_ACCEL_MINUTE_BACK},
    {Qt::SHIFT | Qt::Key_Right, ID_ACCEL_MINUTE_FORWARD},
    {Qt::CTRL | Qt::Key_R, ID_RECORD},
};
} // namespace

const MessageMapEntry<CLumenoDlg> CLumenoDlg::kMessageMap[] = {
    {WM_INITDIALOG, &CLumenoDlg::OnInitDialogMessage},
    {WM_COMMAND, &CLumenoDlg::OnCommandMessage},
    {WM_ACTIVATE, &CLumenoDlg::OnActivate},
};

// The theme's icon is the one the desktop file names, so the taskbar and the window
// switcher show the same picture; the built-in one serves where no theme has it.
CLumenoDlg::CLumenoDlg()
    : appIcon(QIcon::fromTheme(QStringLiteral("org.korvanta.Korvanta"), QIcon(QStringLiteral(":/app/korvanta.png"))))
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowTitle(kCaption);
    setAttribute(Qt::WA_OpaquePaintEvent); // the paint handler covers the whole client area
    setAcceptDrops(true);                  // playlists dropped on it are added
    resize(CDialogUnits(font()).ToPixels(kInitialSizeDlu));
    // Each part shows its own side of the player's state.
    CWMPEventDispatch& events = player.Events();
    // The media controls learn of a new channel first: what this window then tells them of
    // its programme and logo belongs to that channel.
    connect(&events, &CWMPEventDispatch::PlayStateChanged, &mpris, &MprisService::ShowPlayState);
    connect(&events, &CWMPEventDispatch::PlayStateChanged, this, &CLumenoDlg::ShowPlayState);
    connect(&events, &CWMPEventDispatch::PlayStateChanged, &playPanel, &CPanelPlay::ShowPlayState);
    connect(&events, &CWMPEventDispatch::PlayStateChanged, &screenSaver, &ScreenSaverInhibitor::ShowPlayState);
    connect(&events, &CWMPEventDispatch::KeyPressed, this, &CLumenoDlg::OnPlayerKey);
    connect(&events, &CWMPEventDispatch::MousePressed, this, &CLumenoDlg::OnPlayerMouseDown);
    connect(&live, &LiveControls::Changed, this, &CLumenoDlg::ShowLiveState);
    connect(&live, &LiveControls::Seeked, &mpris, &MprisService::AnnounceSeeked);
    connect(&live, &LiveControls::StartRequested, this, &CLumenoDlg::OnStartChannel);
}

CLumenoDlg::~CLumenoDlg()
{
    OnDestroy();
}

// ---------------------------------------------------------------------------------------
// Start-up and shutdown

int CLumenoDlg::DoModal()
{
    // Initialisation runs as a message, so an invalid-argument error ends only it and the
    // window still opens with what was built, as the framework does.
    SendMessage(this, WM_INITDIALOG);
    const int result = ended ? IDCANCEL : exec();
    OnDestroy();
    return result;
}

LRESULT CLumenoDlg::OnInitDialogMessage(WPARAM, LPARAM)
{
    return OnInitDialog() ? 1 : 0;
}

bool CLumenoDlg::OnInitDialog()
{
    setWindowIcon(appIcon);
    QApplication::setWindowIcon(appIcon); // the channel window's too
    dataFolder = GetAppDataFolder();
    live.SetUp(dataFolder);
    if (!LoadSettings(SettingsPath(), settings))
        settings = Settings();
    FavoriteList favorites;
    LoadFavorites(FavoritesPath(), favorites.names, favorites.ids, favorites.icons, &favorites.streams);
    channelDlg.SetFavorites(std::move(favorites));
    CreateAccelerators();
    initialised = false;

    if (!LoadLanguagePack(this, settings.languageName, languageStrings))
        return FatalError(kLanguageError);
    toolkitTexts.Use(languageStrings[Locale].value(LocaleCode));
    if (!LoadChannelCatalogue(settings.languageName, channelNames, channelDescriptions))
        return FatalError(kLanguageError);
    // The stored guide opens now; its channels are matched once the windows are up.
    guideLibrary.Load(dataFolder);
    guideLibrary.SetLanguage(languageStrings[Locale].value(LocaleCode).toStdString());
    // The engine and its video output come once both windows are on screen (StartEngine).
    player.storedVolume = settings.volume;

    playPanel.Create(this);
    playPanel.SetVolume(settings.volume);
    playPanel.SetMuted(settings.mute != 0);
    mpris.SetVolume(settings.volume);
    mpris.Register();
    if (settings.hideControl)
        playPanel.hide();
    // The window keeps the focus, so that Space and Enter stay its own until Tab moves on.
    setFocus();

    boldFont = font();
    boldFont.setWeight(QFont::Bold);
    menuPanel.SetFont(boldFont);
    menuPanel.Create(this);
    NameAccessibleParts();
    BuildMenus();

    initialised = true;
    MoveWindowOuter(this, settings.mainWindowRect);
    Layout(width(), height());
    if (settings.alwaysOnTop)
        SetTopmost(true);

    // Own playlists once the texts are there to word what may go wrong with them.
    playlistLibrary.Load(dataFolder);
    channelDlg.SetGuideLibrary(guideLibrary);
    channelDlg.SetPlaylistLibrary(playlistLibrary);
    channelDlg.SetLogos(logos);
    connect(&logos, &LogoCache::Answered, this, [this](const QString& address) {
        if (address == playingLogo)
            RefreshArt(PlayingKey());
    });
    ConnectPlaylists();
    UpdateEmptyHint();
    ConnectGuides();
    channelDlg.Create(this);
    MoveWindowOuter(&channelDlg, settings.channelWindowRect);
    channelDlg.show();
    if (!pendingPlaylists.isEmpty()) {
        // After the windows are up, so that any message about them has a place.
        QTimer::singleShot(0, this, [this] { AddPlaylists(std::exchange(pendingPlaylists, {})); });
    }
    connect(&engineLoader, &EngineLoader::Done, this, &CLumenoDlg::StartEngine, Qt::UniqueConnection);
    // Showing the windows loads plug-ins, and the engine library's load would hold the
    // dynamic loader's lock against them: it loads once both windows are on screen.
    firstFrame.Watch({this, &channelDlg}, [this] {
        windowsShown = true;
        engineLoader.Start();
        FeedGuide();
    });
    return true;
}

void CLumenoDlg::StartEngine()
{
    if (engineStarted || !windowsShown || !engineLoader.IsDone() || !initialised || destroyed)
        return;
    engineStarted = true;
    if (!player.Create(this)) {
        EngineFailed();
        return;
    }
    // Whatever was changed meanwhile is in the settings already.
    player.SetOriginalSize(settings.originalSize != 0);
    player.SetVolume(settings.volume);
    player.SetMute(settings.mute != 0);
    Layout(width(), height());
}

void CLumenoDlg::EngineFailed()
{
    // As when start-up fails before the windows: nothing is saved, the box stands alone.
    initialised = false;
    channelDlg.hide();
    hide();
    QString text = QStringLiteral("Cannot open WMP control. Please contact us by e-mail ") + SupportEmailAddress() +
                   QStringLiteral(".");
    const std::string reason = EngineLibrary::Error();
    if (!reason.empty())
        text += QLatin1Char('\n') + QString::fromStdString(reason);
    FatalError(text);
}

bool CLumenoDlg::FatalError(const QString& text)
{
    MessageBox(this, text, QStringLiteral("Error"), MB_OK | MB_ICONSTOP);
    EndDialog(IDCANCEL);
    return false;
}

void CLumenoDlg::OnDestroy()
{
    if (destroyed)
        return;
    destroyed = true;
    // The channel window is owned by this one and goes first, recording its place.
    channelDlg.DestroyWindow();
    if (initialised) {
        QDir().mkpath(dataFolder + QStringLiteral("/Korvanta"));
        settings.mainWindowRect =
            RectToSave(settings.mainWindowRect, closingRect.isValid() ? closingRect : GetWindowOuterRect(this));
        settings.channelWindowRect = RectToSave(settings.channelWindowRect, channelDlg.WindowRect());
        SaveSettings(SettingsPath(), settings);
        const FavoriteList& favorites = channelDlg.Favorites();
        SaveFavorites(FavoritesPath(), favorites.names, favorites.ids, favorites.icons, favorites.streams);
        playlistLibrary.Save();
        guideLibrary.Save();
    }
    bufferingTimer.stop();
    screenSaver.SetPlaying(false);
    player.Close();
}

void CLumenoDlg::EndDialog(int result)
{
    ended = true;
    QDialog::done(result);
}

void CLumenoDlg::done(int result)
{
    // The outer rectangle is read while the window is still on screen.
    if (isVisible())
        closingRect = GetWindowOuterRect(this);
    QDialog::done(result);
}

QString CLumenoDlg::SettingsPath() const
{
    return dataFolder + QStringLiteral("/Korvanta/Settings.xml");
}

QString CLumenoDlg::FavoritesPath() const
{
    return dataFolder + QStringLiteral("/Korvanta/Favorites.xml");
}

void CLumenoDlg::CreateAccelerators()
{
    if (!accelerators.empty())
        return;
    for (const auto& accel : kAccelerators) {
        auto* shortcut = new QShortcut(QKeySequence(accel.key), this);
        shortcut->setContext(Qt::WindowShortcut); // not while the channel window has the focus
        shortcut->setAutoRepeat(true);
        const int command = accel.command;
        connect(shortcut, &QShortcut::activated, this,
                [this, command] { SendMessage(this, WM_COMMAND, static_cast<WPARAM>(command) | COMMAND_FROM_ACCELERATOR, 0); });
        accelerators.push_back(shortcut);
    }
}

// ---------------------------------------------------------------------------------------
// Layout and painting

void CLumenoDlg::Layout(int cx, int cy)
{
    if (menuPanel.parentWidget() != nullptr) {
        menuPanel.setGeometry(0, 0, cx, CPanelMenu::kHeight);
        menuPanel.update();
    }
    update(statusRect);
    const int top = settings.hideMenu ? 0 : CPanelMenu::kHeight;
    const int statusTop = settings.hideControl ? cy - kStatusHeight : cy - kPlayPanelHeight - kStatusHeight;
    // The video arrives after the first frame; its band is kept from the start.
    videoRect = QRect(0, top, cx, statusTop - top);
    if (QWidget* video = player.VideoWidget())
        video->setGeometry(videoRect);
    statusRect = QRect(0, statusTop, StatusWidth(cx), kStatusHeight);
    if (playPanel.parentWidget() != nullptr) {
        playPanel.setGeometry(0, cy - kPlayPanelHeight, cx, kPlayPanelHeight);
        playPanel.update();
    }
}

void CLumenoDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    // The smallest outer size the user can drag to; the frame comes on top of the client.
    const QSize frame = frameGeometry().size() - size();
    setMinimumSize((QSize(kMinTrackWidth, kMinTrackHeight) - frame).expandedTo(QSize(1, 1)));
    Layout(width(), height());
}

void CLumenoDlg::paintEvent(QPaintEvent* event)
{
    if (isMinimized()) {
        QPainter painter(this);
        const QSize icon(style()->pixelMetric(QStyle::PM_LargeIconSize), style()->pixelMetric(QStyle::PM_LargeIconSize));
        painter.drawPixmap((width() - icon.width() + 1) / 2, (height() - icon.height() + 1) / 2,
                           appIcon.pixmap(icon));
        return;
    }
    CMemDC dc(this, event->region());
    QPainter& painter = dc.Painter();
    painter.fillRect(rect(), Qt::black);
    painter.setFont(boldFont);
    painter.setPen(kSkinTextColour);
    const QRect textRect(statusRect.topLeft() + kStatusTextOffset, statusRect.bottomRight());
    painter.setClipRect(textRect);
    // A reason that does not fit even the whole row ends in an ellipsis; its tooltip holds it all.
    const QString shown = statusNamesReason
                              ? painter.fontMetrics().elidedText(statusText, Qt::ElideRight, textRect.width())
                              : statusText;
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignTop, NaturalOrder(shown));
}

// Until a channel was started, a newcomer without playlists is told how to add one.
bool CLumenoDlg::ShowsEmptyHint() const
{
    return initialised && channelStarts == 0 && playlistLibrary.Playlists().empty();
}

// Drawn on the picture itself: the picture's own window covers the main window there.
void CLumenoDlg::UpdateEmptyHint()
{
    player.SetHint(ShowsEmptyHint() ? EmptyHint() : QString(), kSkinTextColour);
}

QString CLumenoDlg::EmptyHint() const
{
    const QString menuPath = languageStrings[MainMenu].value(MainMenuTitleChannels) + QStringLiteral(" > ") +
                             languageStrings[Playlists].value(PlaylistAddMenu);
    return languageStrings[Guidance].value(GuidanceEmptyHint).arg(menuPath);
}

// ---------------------------------------------------------------------------------------
// View modes

void CLumenoDlg::EnterFullScreen()
{
    player.SetFullScreen(true);
}

void CLumenoDlg::LeaveFullScreen()
{
    player.SetFullScreen(false);
}

void CLumenoDlg::SelectOriginalSize()
{
    SetCheck(ID_ORIGINAL_SIZE, true);
    SetCheck(ID_FIT_TO_WINDOW, false);
    settings.originalSize = 1;
    player.SetOriginalSize(true);
}

void CLumenoDlg::SelectFitToWindow()
{
    SetCheck(ID_ORIGINAL_SIZE, false);
    SetCheck(ID_FIT_TO_WINDOW, true);
    settings.originalSize = 0;
    player.SetOriginalSize(false);
}

void CLumenoDlg::ToggleHideControl()
{
    settings.hideControl = !settings.hideControl;
    SetCheck(ID_HIDE_CONTROL, settings.hideControl);
    playPanel.setVisible(!settings.hideControl);
    Layout(width(), height());
}

void CLumenoDlg::ToggleHideMenu()
{
    settings.hideMenu = !settings.hideMenu;
    SetCheck(ID_HIDE_MENU, settings.hideMenu);
    menuPanel.setVisible(!settings.hideMenu);
    Layout(width(), height());
}

void CLumenoDlg::ToggleAlwaysOnTop()
{
    SetCheck(ID_ALWAYS_ON_TOP, !settings.alwaysOnTop);
    SetTopmost(!settings.alwaysOnTop);
    settings.alwaysOnTop = !settings.alwaysOnTop;
}

void CLumenoDlg::Zap(int step)
{
    channelDlg.Zap(step);
}

bool CLumenoDlg::CanZap() const
{
    return channelDlg.CanZap();
}

void CLumenoDlg::SetTopmost(bool topmost)
{
    // Changing the flag on a mapped window through its QWindow keeps it on screen; the
    // widget's own setWindowFlag would hide it.
    if (QWindow* window = windowHandle())
        window->setFlag(Qt::WindowStaysOnTopHint, topmost);
    else
        setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
}

bool CLumenoDlg::IsTopmost() const
{
    if (const QWindow* window = windowHandle())
        return window->flags().testFlag(Qt::WindowStaysOnTopHint);
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

// ---------------------------------------------------------------------------------------
// Commands, menus and keyboard

LRESULT CLumenoDlg::OnCommandMessage(WPARAM wParam, LPARAM)
{
    return OnCommand(LowWord(wParam)) ? 1 : 0;
}

bool CLumenoDlg::OnCommand(int id)
{
    switch (id) {
    case ID_HELP:
        return false;
    case IDOK:
        EnterFullScreen();
        break;
    case ID_CHANNELS:
        ShowChannelWindow();
        break;
    case ID_PLAY_PAUSE:
    case ID_ACCEL_PLAY_PAUSE:
        PlayPause();
        break;
    case ID_MUTE:
    case ID_ACCEL_MUTE:
        ToggleMute();
        break;
    case ID_FULL_SCREEN:
        EnterFullScreen();
        break;
    case ID_ORIGINAL_SIZE:
        SelectOriginalSize();
        break;
    case ID_FIT_TO_WINDOW:
        SelectFitToWindow();
        break;
    case ID_HIDE_MENU:
    case ID_ACCEL_HIDE_MENU:
        ToggleHideMenu();
        break;
    case ID_HIDE_CONTROL:
    case ID_ACCEL_HIDE_CONTROL:
        ToggleHideControl();
        break;
    case ID_ALWAYS_ON_TOP:
    case ID_ACCEL_ALWAYS_ON_TOP:
        ToggleAlwaysOnTop();
        break;
    case ID_LANGUAGE:
        ShowLanguageDialog();
        break;
    case ID_ABOUT:
        CAboutDlg(this, languageStrings).DoModal();
        break;
    case ID_DONATE:
        CDonateDlg(this, languageStrings).DoModal();
        break;
    case ID_ADD_PLAYLIST:
        ShowAddPlaylistDialog();
        break;
    case ID_ADD_GUIDE:
        ShowAddGuideDialog();
        break;
    case ID_GUIDE:
        ShowGuideWindow();
        break;
    case ID_REFRESH_GUIDE:
        guideLibrary.RefreshAll();
        break;
    case ID_FIND_CHANNEL:
        channelDlg.OpenSearch();
        break;
    case ID_ACCEL_PREVIOUS_CHANNEL:
        Zap(-1);
        break;
    case ID_ACCEL_NEXT_CHANNEL:
        Zap(+1);
        break;
    default: // IDCANCEL (Escape) among them: nothing
        live.Command(id, shownState.request);
        break;
    }
    return true;
}

void CLumenoDlg::ShowChannelWindow()
{
    channelDlg.show();
    channelDlg.raise();
    channelDlg.activateWindow();
    channelDlg.FocusList();
}

void CLumenoDlg::ConnectPlaylists()
{
    // Connected once: the channel window outlives every start-up attempt.
    static constexpr auto kOnce = Qt::UniqueConnection;
    connect(&playlistLibrary, &PlaylistLibrary::Changed, &channelDlg, &CChannelDlg::RefillPlaylists, kOnce);
    connect(&playlistLibrary, &PlaylistLibrary::Changed, this, &CLumenoDlg::UpdateEmptyHint, kOnce);
    connect(&playlistLibrary, &PlaylistLibrary::Failed, this, &CLumenoDlg::ReportPlaylistFailure, kOnce);
    connect(&playlistLibrary, &PlaylistLibrary::CopyKept, this, &CLumenoDlg::ReportPlaylistCopyKept, kOnce);
    connect(&playlistLibrary, &PlaylistLibrary::Imported, this, &CLumenoDlg::ReportPlaylistImport, kOnce);
    connect(&channelDlg, &CChannelDlg::AddPlaylistRequested, this, &CLumenoDlg::ShowAddPlaylistDialog, kOnce);
    connect(&channelDlg, &CChannelDlg::PlaylistsDropped, this, &CLumenoDlg::OnPlaylistsDropped, kOnce);
    connect(&channelDlg, &CChannelDlg::RenamePlaylistRequested, &playlistLibrary, &PlaylistLibrary::Rename, kOnce);
    connect(&channelDlg, &CChannelDlg::RefreshPlaylistRequested, &playlistLibrary, &PlaylistLibrary::Refresh, kOnce);
    connect(&channelDlg, &CChannelDlg::RemovePlaylistRequested, &playlistLibrary, &PlaylistLibrary::Remove, kOnce);
}

void CLumenoDlg::dragEnterEvent(QDragEnterEvent* event)
{
    if (MayHoldPlaylists(*event->mimeData()))
        event->acceptProposedAction();
}

void CLumenoDlg::dropEvent(QDropEvent* event)
{
    const DroppedSources dropped = DroppedPlaylists(*event->mimeData());
    event->acceptProposedAction();
    OnPlaylistsDropped(dropped.playlists, dropped.refused);
}

void CLumenoDlg::OnPlaylistsDropped(const QStringList& sources, const QStringList& refused)
{
    AddPlaylists(sources);
    if (!refused.isEmpty())
        MessageBox(this, languageStrings.Text(Guidance, GuidanceNotAPlaylist).arg(refused.join(QStringLiteral(", "))),
                   languageStrings.Text(Playlists, PlaylistCaption), MB_OK | MB_ICONWARNING);
}

void CLumenoDlg::ConnectGuides()
{
    static constexpr auto kOnce = Qt::UniqueConnection;
    connect(&guideLibrary, &GuideLibrary::Changed, this, &CLumenoDlg::RefreshOnAir, kOnce);
    connect(&onAirTimer, &QTimer::timeout, this, &CLumenoDlg::RefreshOnAir, kOnce);
    onAirTimer.start(kOnAirRefreshMs);
    connect(&guideLibrary, &GuideLibrary::Failed, this, &CLumenoDlg::ReportGuideFailure, kOnce);
    connect(&channelDlg, &CChannelDlg::AddGuideRequested, this, &CLumenoDlg::ShowAddGuideDialog, kOnce);
    connect(&channelDlg, &CChannelDlg::GuideWindowRequested, this, &CLumenoDlg::ShowGuideWindow, kOnce);
    connect(&playlistLibrary, &PlaylistLibrary::Changed, this, &CLumenoDlg::FeedGuide, kOnce);
}

void CLumenoDlg::FeedGuide()
{
    if (!windowsShown)
        return; // the first frame feeds it
    guideLibrary.SetPlaylists(playlistLibrary.Playlists());
    guideFeed.Start(AllChannelKeys(channelNames, playlistLibrary.Playlists()),
                    [this](std::vector<GuideViewerChannel> channels) { guideLibrary.SetViewerChannels(std::move(channels)); });
}

void CLumenoDlg::ShowAddGuideDialog()
{
    CAddPlaylistDlg dlg(this, languageStrings, BrowseFolder(), CAddPlaylistDlg::Kind::Guide);
    if (dlg.DoModal() == IDOK)
        guideLibrary.Add(dlg.Source());
}

void CLumenoDlg::ShowGuideWindow()
{
    if (!guideWindow) {
        auto linkOf = [this](const ChannelKey& key) {
            return guideLibrary.LinkOf(GuideChannelOf(key, channelNames, playlistLibrary.Playlists()));
        };
        guideWindow = std::make_unique<GuideWindow>(this, languageStrings, guideLibrary.Store(), linkOf,
                                                    [] { return QDateTime::currentSecsSinceEpoch(); });
        connect(&guideLibrary, &GuideLibrary::Changed, guideWindow.get(), &GuideWindow::Reload);
        guideWindow->Grid()->SetLogoOf(
            [this](const ChannelKey& key, int height) { return logos.Logo(channelDlg.LogoAddressOf(key), height); });
        connect(&logos, &LogoCache::Answered, guideWindow->Grid()->viewport(), qOverload<>(&QWidget::update));
        // A programme gone by plays from the channel's archive where it is kept; any
        // other, and one no archive keeps, live.
        connect(guideWindow.get(), &GuideWindow::PlayProgramme, this,
                [this](const ChannelKey& key, qint64 start, qint64 stop) {
                    const bool gone = stop > 0 && stop <= QDateTime::currentSecsSinceEpoch();
                    channelDlg.StartFromGuide(key, gone ? ArchiveSpan::Between(start, stop) : ArchiveSpan());
                });
        connect(guideWindow.get(), &GuideWindow::WatchFromStart, this,
                [this](const ChannelKey& key, qint64 start, qint64 stop) {
                    channelDlg.StartFromGuide(key, ArchiveSpan::Between(start, stop));
                });
    }
    GuideListing listing = channelDlg.GuideLists();
    guideWindow->SetLists(std::move(listing.lists), listing.current, listing.row);
    guideWindow->show();
    guideWindow->raise();
    guideWindow->activateWindow();
}

void CLumenoDlg::ReportGuideFailure(const QString& name, GuideProblem problem, const QString& detail)
{
    MessageBox(this,
               languageStrings.Text(Guide, GuideLoadFailed).arg(name) + QLatin1Char('\n') +
                   GuideReasonText(languageStrings, problem, detail),
               languageStrings.Text(Guide, GuideCaption), MB_OK | MB_ICONWARNING);
}

void CLumenoDlg::AddPlaylists(const QStringList& sources)
{
    if (!initialised) {
        pendingPlaylists += sources;
        return;
    }
    if (!sources.isEmpty()) {
        raise();
        activateWindow();
    }
    for (const QString& source : sources)
        playlistLibrary.Add(source);
}

void CLumenoDlg::ShowAddPlaylistDialog()
{
    CAddPlaylistDlg dlg(this, languageStrings, BrowseFolder());
    const int result = dlg.DoModal();
    browseFolder = dlg.Folder();
    if (result == IDOK)
        playlistLibrary.Add(dlg.Source());
}

// The folder Browse last found a file in, else that of the newest local playlist, else home:
// never the program's own data folder.
QString CLumenoDlg::BrowseFolder() const
{
    if (!browseFolder.isEmpty())
        return browseFolder;
    const auto& playlists = playlistLibrary.Playlists();
    for (auto playlist = playlists.rbegin(); playlist != playlists.rend(); ++playlist) {
        const QUrl url(playlist->source);
        const QString path = url.isLocalFile() ? url.toLocalFile() : playlist->source;
        if (url.isLocalFile() || QFileInfo(path).isAbsolute()) {
            const QDir folder = QFileInfo(path).absoluteDir();
            if (folder.exists())
                return folder.absolutePath();
        }
    }
    return QDir::homePath();
}

void CLumenoDlg::ReportPlaylistFailure(const QString& name, const QString& reason)
{
    MessageBox(this, languageStrings.Text(Playlists, PlaylistLoadFailed).arg(name) + QLatin1Char('\n') + reason,
               languageStrings.Text(Playlists, PlaylistCaption), MB_OK | MB_ICONWARNING);
}

void CLumenoDlg::ReportPlaylistCopyKept(const QString&, const QString& message)
{
    MessageBox(this, message, languageStrings.Text(Playlists, PlaylistCaption), MB_OK | MB_ICONWARNING);
}

void CLumenoDlg::ReportPlaylistImport(const QString&, int, const QString& report)
{
    if (report.isEmpty())
        return;
    MessageBox(this, report, languageStrings.Text(Playlists, PlaylistCaption), MB_OK | MB_ICONINFORMATION);
}

void CLumenoDlg::PlayPause()
{
    if (!playPanel.IsPlayEnabled())
        return;
    const bool playing = !playPanel.IsPlaying();
    playPanel.SetPaused(!playing);
    if (playing)
        player.Play();
    else
        player.Stop();
}

void CLumenoDlg::ToggleMute()
{
    settings.mute = !settings.mute;
    playPanel.SetMuted(settings.mute);
    player.SetMute(settings.mute);
}

void CLumenoDlg::ShowLanguageDialog()
{
    CLanguageDlg dlg(this, languageStrings, settings.languageName);
    if (dlg.DoModal() == IDOK) {
        settings.languageName = dlg.Language();
        ReloadLanguage();
    }
}

void CLumenoDlg::NameAccessibleParts()
{
    playPanel.SetAccessibleNames({AccessText(AccessPlayPanel), AccessText(AccessPlay), AccessText(AccessStop),
                                  AccessText(AccessMute), AccessText(AccessVolume)});
    Notify(this, VideoPart, QAccessible::NameChanged);
}

// Never the invalid-argument error: assistive technology asks from outside any handler, and
// the group always has its built-in English.
QString CLumenoDlg::AccessText(int index) const
{
    return languageStrings[Access].value(index);
}

AccessiblePart CLumenoDlg::Part(int index) const
{
    AccessiblePart part;
    switch (index) {
    case MenuBarPart:
        part.widget = const_cast<CPanelMenu*>(&menuPanel);
        break;
    case VideoPart:
        part.role = QAccessible::Animation;
        part.name = channelDlg.Current().name.isEmpty() ? AccessText(AccessVideo)
                                                        : AccessText(AccessVideoOf).arg(channelDlg.Current().name);
        part.rect = videoRect;
        break;
    case StatusPart:
        part.role = QAccessible::StatusBar;
        part.name = statusText;
        part.rect = statusRect;
        part.state.readOnly = true;
        break;
    case PlayPanelPart:
        part.widget = const_cast<CPanelPlay*>(&playPanel);
        break;
    default:
        break;
    }
    return part;
}

void CLumenoDlg::ReloadLanguage()
{
    languageStrings.Clear();
    for (auto& list : channelNames)
        list.clear();
    for (auto& list : channelDescriptions)
        list.clear();
    LoadLanguagePack(this, settings.languageName, languageStrings);
    toolkitTexts.Use(languageStrings[Locale].value(LocaleCode));
    LoadChannelCatalogue(settings.languageName, channelNames, channelDescriptions);
    DestroyMenus();
    menuPanel.RemoveAllItems();
    NameAccessibleParts();
    BuildMenus();
    menuPanel.update();
    channelDlg.ApplyLanguage();
    guideLibrary.SetLanguage(languageStrings[Locale].value(LocaleCode).toStdString());
    if (guideWindow)
        guideWindow->ApplyLanguage();
    FeedGuide(); // built-in channels are matched by their names in the new language
    ShowPlayStateAgain(); // the status line and the card in the new language
    UpdateEmptyHint();
}

void CLumenoDlg::DestroyMenus()
{
    for (auto& menu : menus)
        menu.reset();
}

void CLumenoDlg::AppendItem(const MenuRow& row)
{
    QMenu* menu = menus[row.popup].get();
    if (row.command == ID_SEPARATOR) {
        menu->addSeparator();
        return;
    }
    QString text = languageStrings.Text(row.group, row.entry);
    if (row.shortcut.key() != Qt::Key_unknown) // the key's name in the current language
        text += QLatin1Char('\t') + QKeySequence(row.shortcut).toString(QKeySequence::NativeText);
    QAction* action = menu->addAction(text);
    action->setData(row.command);
    if (row.checked != nullptr) {
        action->setCheckable(true);
        action->setChecked(row.checked(settings));
    }
}

void CLumenoDlg::BuildMenus()
{
    for (auto& menu : menus)
        menu = std::make_unique<QMenu>(this);
    for (int popup = 0; popup < kMenuBarMenuCount; ++popup)
        menuPanel.AddItem(languageStrings.Text(MainMenu, MainMenuTitleChannels + popup), menus[popup].get());
    if (settings.hideMenu)
        menuPanel.hide();
    for (const MenuRow& row : MenuRows())
        AppendItem(row);
}

void CLumenoDlg::SetCheck(int id, bool checked)
{
    for (const auto& menu : menus) {
        if (!menu)
            continue;
        for (QAction* action : menu->actions()) {
            if (action->data().toInt() == id) {
                action->setCheckable(true);
                action->setChecked(checked);
            }
        }
    }
}

void CLumenoDlg::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* popup = menus[MenuContext].get();
    if (popup == nullptr)
        return;
    // The playing channel's tracks, after Mute, for this opening alone.
    const std::vector<std::unique_ptr<QMenu>> tracks = live.TrackMenus();
    const QList<QAction*> rows = popup->actions();
    const auto mute = std::find_if(rows.begin(), rows.end(), [](const QAction* row) { return row->data().toInt() == ID_MUTE; });
    QAction* before = mute != rows.end() ? rows.value(int(mute - rows.begin()) + 1) : nullptr;
    std::vector<QAction*> added;
    for (const auto& menu : tracks)
        added.push_back(popup->insertMenu(before, menu.get()));
    const auto removeTracks = qScopeGuard([&] {
        for (QAction* row : added)
            popup->removeAction(row);
    });
    // From the keyboard there is no pointer position: the menu opens over the picture.
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard ? KeyboardMenuPosition() : event->globalPos();
    if (QAction* chosen = popup->exec(at))
        SendMessage(this, WM_COMMAND, static_cast<WPARAM>(chosen->data().toInt()), 0);
}

QPoint CLumenoDlg::KeyboardMenuPosition() const
{
    const QWidget* video = player.VideoWidget();
    return video != nullptr ? video->mapToGlobal(video->rect().center()) : mapToGlobal(rect().center());
}

void CLumenoDlg::keyPressEvent(QKeyEvent* event)
{
    if (OnMenuBarKey(event->key(), event->modifiers() == Qt::NoModifier || event->key() == Qt::Key_Alt) ||
        OnNumberKey(event->key(), (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)) {
        event->accept();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        SendMessage(this, WM_COMMAND, IDOK, 0);
        break;
    case Qt::Key_Escape:
        SendMessage(this, WM_COMMAND, IDCANCEL, 0);
        break;
    case Qt::Key_F1:
        SendMessage(this, WM_COMMAND, ID_HELP, 0);
        break;
    default:
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CLumenoDlg::keyReleaseEvent(QKeyEvent* event)
{
    // Alt pressed and released with nothing between opens the menu bar.
    if (event->key() == Qt::Key_Alt && altAlone && !event->isAutoRepeat()) {
        altAlone = false;
        OpenMenuBar();
        return;
    }
    QDialog::keyReleaseEvent(event);
}

bool CLumenoDlg::OnNumberKey(int key, bool unmodified)
{
    if (!unmodified)
        return false;
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        numberEntry.AddDigit(key - Qt::Key_0);
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return numberEntry.Finish();
    if (key == Qt::Key_Escape)
        return numberEntry.Cancel();
    return false;
}

void CLumenoDlg::ChooseNumber(int number)
{
    if (!channelDlg.PlayNumber(number))
        numberEntry.ShowBriefly(languageStrings[Guidance].value(GuidanceNoSuchNumber).arg(number));
}

void CLumenoDlg::ShowNumber(const QString& text)
{
    player.SetNumber(text, kSkinTextColour);
}

bool CLumenoDlg::OnMenuBarKey(int key, bool unmodified)
{
    altAlone = key == Qt::Key_Alt;
    if (key != Qt::Key_F10 || !unmodified)
        return false;
    OpenMenuBar();
    return true;
}

void CLumenoDlg::OpenMenuBar()
{
    if (!player.IsFullScreen())
        menuPanel.OpenFromKeyboard();
}

void CLumenoDlg::accept()
{
    SendMessage(this, WM_COMMAND, IDOK, 0);
}

void CLumenoDlg::reject()
{
    SendMessage(this, WM_COMMAND, IDCANCEL, 0);
}

void CLumenoDlg::closeEvent(QCloseEvent* event)
{
    // The system close command is the one way out.
    event->ignore();
    EndDialog(IDCANCEL);
}

// ---------------------------------------------------------------------------------------
// Private messages and the buffering timer

bool CLumenoDlg::event(QEvent* event)
{
    return DispatchMessage(this, event, kMessageMap) ||
           ReceiveMessage<PlayStopMessage>(event, [this](PlayStop request) { OnPlayStop(request); }) ||
           ReceiveMessage<MuteMessage>(event, [this](bool muted) { OnMute(muted); }) ||
           ReceiveMessage<VolumeMessage>(event, [this](int volume) { OnVolume(volume); }) ||
           ReceiveMessage<StartChannelMessage>(event, [this](const ChannelRequest& request) { OnStartChannel(request); }) ||
           ShowStatusToolTip(event) || QDialog::event(event);
}

bool CLumenoDlg::ShowStatusToolTip(QEvent* event)
{
    if (event->type() != QEvent::ToolTip || !statusNamesReason)
        return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    if (!statusRect.contains(help->pos()))
        return false;
    QToolTip::showText(help->globalPos(), statusText, this, statusRect);
    return true;
}

QString CLumenoDlg::UnavailableText(UnavailableReason reason) const
{
    if (reason == UnavailableReason::None)
        return StatusString(StatusUnavailable);
    return StatusString(StatusUnavailable) + QStringLiteral(": ") +
           languageStrings.Text(StatusReasons, ReasonTextIndex(reason));
}

const QString& CLumenoDlg::StatusString(int index) const
{
    return languageStrings.Text(Status, index);
}

void CLumenoDlg::SetStatusText(const QString& text, bool namesReason)
{
    const bool changed = text != statusText;
    statusText = text;
    statusNamesReason = namesReason;
    update(statusRect);
    statusRect.setWidth(StatusWidth(width()));
    update(statusRect);
    if (changed)
        Notify(this, StatusPart, QAccessible::NameChanged);
}

// The designed width holds the designed texts; a text with a reason takes as much of the
// row as it needs to be read whole.
int CLumenoDlg::StatusWidth(int rowWidth) const
{
    if (!statusNamesReason)
        return kStatusWidth;
    const int needed = QFontMetrics(boldFont).horizontalAdvance(statusText) + 2 * kStatusTextOffset.x();
    return std::max(kStatusWidth, std::min(needed, rowWidth));
}

void CLumenoDlg::OnPlayStop(PlayStop request)
{
    if (request == PlayStop::Play)
        player.Play();
    else
        player.Stop();
}

void CLumenoDlg::OnMute(bool muted)
{
    settings.mute = muted ? 1 : 0;
    player.SetMute(settings.mute);
}

void CLumenoDlg::OnVolume(int volume)
{
    settings.volume = volume;
    player.storedVolume = settings.volume;
    player.SetVolume(settings.volume);
    mpris.SetVolume(settings.volume);
}

void CLumenoDlg::OnStartChannel(const ChannelRequest& request)
{
    Notify(this, VideoPart, QAccessible::NameChanged);
    ShowStatus({PLAYSTATE_TRANSITIONING, UnavailableReason::None, request, false});
    playPanel.EnablePlayButton();
    // Let the new status and the play button paint before the player takes over. A channel
    // started meanwhile has been handed to the player by then, and it wins.
    const quint64 start = ++channelStarts;
    UpdateEmptyHint();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    if (start != channelStarts)
        return;
    // In full screen nothing else tells the viewer which channel the zap reached.
    if (player.IsFullScreen())
        player.ShowTitle(request.name, kSkinTextColour);
    player.PlayURL(request);
}

void CLumenoDlg::OnPlayerMouseDown()
{
    // In full screen the picture keeps the focus, so that Enter and Escape still leave.
    if (!player.IsFullScreen()) {
        activateWindow();
        setFocus();
    }
}

void CLumenoDlg::ShowPlayState(const PlayState& state)
{
    const bool sameChannel = state.request == shownState.request;
    shownState = state;
    if (!sameChannel)
        RefreshOnAir();
    if (!state.request.IsEmpty())
        setWindowTitle(kCaption + QStringLiteral(" - ") + state.request.name);
    if (state.state == PLAYSTATE_BUFFERING)
        bufferingTimer.start(kBufferingPeriodMs, this); // a second report restarts the same timer
    else
        ShowStatus(state);
    ShowCard(state);
}

void CLumenoDlg::ShowCard(const PlayState& state)
{
    // A channel that ended leaves no frame behind: its name and the status line's word on why.
    if (state.Ended() && !state.request.IsEmpty())
        player.ShowCard(state.request.name, statusText, kSkinTextColour);
    else if (state.Underway())
        player.HideCard();
}

void CLumenoDlg::ShowPlayStateAgain()
{
    if (statusShowsBuffering)
        ShowBuffering();
    else if (statusState.state != PLAYSTATE_UNDEFINED)
        ShowStatus(statusState);
    ShowCard(shownState);
}

ChannelKey CLumenoDlg::PlayingKey() const
{
    const ChannelRequest& request = shownState.request;
    if (!request.IsOwn())
        return ChannelKey{request.id};
    return FindOwnChannel(playlistLibrary.Playlists(), request.playlist, request.address, request.name);
}

void CLumenoDlg::RefreshArt(const ChannelKey& key)
{
    // The desktop's media panel is given the stored file; one not had yet is asked for,
    // and its arrival asks here again.
    const QString& address = playingLogo = channelDlg.LogoAddressOf(key);
    const QString file = logos.StoredFile(address);
    if (file.isEmpty() && !address.isEmpty())
        logos.Logo(address, LogoFolder::kStoredHeight);
    mpris.SetArt(file.isEmpty() ? QString() : QUrl::fromLocalFile(file).toString());
}

void CLumenoDlg::RefreshOnAir()
{
    const ChannelRequest& request = shownState.request;
    const ChannelKey key = PlayingKey();
    RefreshArt(key);
    // From the archive, the programme is the one of the moment on the picture.
    const GuideNowNext onAir =
        guideLibrary.NowAndNext(GuideChannelOf(key, channelNames, playlistLibrary.Playlists()),
                                request.FromArchive() ? live.WatchedAt(request) : QDateTime::currentSecsSinceEpoch());
    const QString title = onAir.now ? onAir.now->title : QString();
    mpris.SetProgramme(request.FromArchive() ? languageStrings.Text(Catchup, CatchupProgramme)
                                                   .arg(title.isEmpty() ? request.name : title)
                                             : title);
    if (title == onAirTitle)
        return;
    onAirTitle = title;
    if (shownState.state == PLAYSTATE_PLAYING)
        ShowStatus(shownState);
}

void CLumenoDlg::ShowStatus(const PlayState& state)
{
    statusState = state;
    statusShowsBuffering = false;
    switch (state.state) {
    case PLAYSTATE_STOPPED:
        SetStatusText(StatusString(StatusStopped));
        return;
    case PLAYSTATE_PLAYING:
        SetStatusText(live.StatusText(onAirTitle.isEmpty() ? state.request.name
                                                           : state.request.name + QStringLiteral(" \u2013 ") + onAirTitle,
                                      state.request),
                      live.Shifted() || state.request.FromArchive());
        return;
    case PLAYSTATE_TRANSITIONING:
    case PLAYSTATE_RECONNECTING:
        SetStatusText(StatusString(StatusConnecting));
        return;
    case PLAYSTATE_READY:
        SetStatusText(UnavailableText(state.reason), state.reason != UnavailableReason::None);
        return;
    default:
        SetStatusText(StatusString(StatusWaiting));
        return;
    }
}

// The status line and the desktop's controls follow pauses, seeks and recordings.
void CLumenoDlg::ShowLiveState()
{
    if (shownState.state == PLAYSTATE_PLAYING)
        ShowStatus(shownState);
    mpris.ShowTimeshift({live.CanSeek(), live.Paused(), live.PositionUs(), live.LengthUs()});
}

void CLumenoDlg::OnPlayerKey(quint16 key, quint16 shiftState)
{
    if (key == VK_F10 || key == VK_MENU) {
        OnMenuBarKey(key == VK_F10 ? Qt::Key_F10 : Qt::Key_Alt, shiftState == 0 || key == VK_MENU);
        return;
    }
    altAlone = false;
    // The picture's keys carry the same codes as Qt's for digits.
    int qtKey = key;
    if (key == VK_RETURN)
        qtKey = Qt::Key_Return;
    else if (key == VK_ESCAPE)
        qtKey = Qt::Key_Escape;
    if (OnNumberKey(qtKey, shiftState == 0))
        return;
    if (const int command = LiveControls::KeyCommand(key, shiftState)) {
        live.Command(command, shownState.request);
        return;
    }
    switch (key) {
    case VK_RETURN:
        LeaveFullScreen();
        break;
    case VK_SPACE:
        player.Stop();
        break;
    case VK_M:
        ToggleMute();
        break;
    case VK_PAGE_UP:
        Zap(-1);
        break;
    case VK_PAGE_DOWN:
        Zap(+1);
        break;
    default:
        break;
    }
}

void CLumenoDlg::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == bufferingTimer.timerId())
        OnTimer();
    else
        QDialog::timerEvent(event);
}

void CLumenoDlg::OnTimer()
{
    // Stopped first: a text missing from the pack ends this tick with one error box, and a
    // running timer would raise another on every tick while that box is open.
    bufferingTimer.stop();
    if (player.PlayState() != PLAYSTATE_BUFFERING)
        return;
    ShowBuffering();
    bufferingTimer.start(kBufferingPeriodMs, this);
}

void CLumenoDlg::ShowBuffering()
{
    const int progress = player.BufferingProgress();
    SetStatusText(StatusString(StatusBuffering) + QLatin1Char(' ') + QString::number(progress) + QLatin1Char('%'));
    statusShowsBuffering = true;
}

LRESULT CLumenoDlg::OnActivate(WPARAM wParam, LPARAM)
{
    if (LowWord(wParam) == WA_ACTIVE) {
        if (playPanel.parentWidget() != nullptr)
            playPanel.repaint();
        if (menuPanel.parentWidget() != nullptr)
            menuPanel.repaint();
    }
    return 0;
}

void CLumenoDlg::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        SendMessage(this, WM_ACTIVATE, isActiveWindow() ? WA_ACTIVE : WA_INACTIVE, 0);
}

// ---------------------------------------------------------------------------------------
// The desktop's media controls

void CLumenoDlg::RaiseFromDesktop()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void CLumenoDlg::QuitFromDesktop()
{
    // A box, dialog or menu open now runs an event loop inside this window's, which could
    // only end once answered: each is closed first, innermost first.
    CloseModalWidgets(this);
    EndDialog(IDCANCEL); // as the window's close button: the shutdown that follows saves
}

void CLumenoDlg::PlayPauseFromDesktop()
{
    if (live.Paused() || (live.CanSeek() && playPanel.IsPlaying()))
        live.Command(ID_PAUSE, shownState.request);
    else
        PlayPause();
}

void CLumenoDlg::PlayFromDesktop()
{
    if (live.Paused())
        live.Command(ID_ACCEL_RESUME, shownState.request);
    else if (!playPanel.IsPlaying())
        PlayPause();
}

void CLumenoDlg::PauseFromDesktop()
{
    if (live.CanSeek())
        live.Command(ID_PAUSE, shownState.request);
    else
        StopFromDesktop();
}

void CLumenoDlg::SeekFromDesktop(qint64 offset)
{
    live.SeekByUs(offset);
}

void CLumenoDlg::SetPositionFromDesktop(qint64 position)
{
    live.SeekToUs(position);
}

void CLumenoDlg::StopFromDesktop()
{
    if (playPanel.IsPlaying())
        PlayPause();
}

void CLumenoDlg::ZapFromDesktop(int step)
{
    Zap(step);
}

void CLumenoDlg::SetVolumeFromDesktop(int volume)
{
    playPanel.SetVolume(volume);
    SendMessage(this, VolumeMessage{volume});
}
