#include "CLumenoDlg.h"

#include "AppDataFolder.h"
#include "CAboutDlg.h"
#include "CDonateDlg.h"
#include "CLanguageDlg.h"
#include "CMemDC.h"
#include "DialogUnits.h"
#include "FavoritesFile.h"
#include "InvalidArgument.h"
#include "LanguagePack.h"
#include "MessageBox.h"
#include "SettingsFile.h"
#include "SupportAddresses.h"
#include "WindowGeometry.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QShortcut>
#include <QStyle>
#include <QTimerEvent>
#include <QWindow>

namespace {
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr int kPlayStateBuffering = 6;
const QColor kStatusColor(134, 156, 203);

const QString kCaption = QStringLiteral("Korvanta");
const QString kLanguageError = QStringLiteral("Cannot open language file. Please reinstall the program.");

// Popups 0..3 drop down from the menu panel; 4 is the context menu.
constexpr int kContextMenu = 4;

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
    {QKeyCombination(Qt::Key_PageUp), ID_ACCEL_PREVIOUS_CHANNEL},
    {QKeyCombination(Qt::Key_PageDown), ID_ACCEL_NEXT_CHANNEL},
};

// Virtual-key codes the player reports in full screen.
constexpr quint16 kKeyPageUp = 33;
constexpr quint16 kKeyPageDown = 34;
} // namespace

const MessageMapEntry<CLumenoDlg> CLumenoDlg::kMessageMap[] = {
    {WM_INITDIALOG, &CLumenoDlg::OnInitDialogMessage},
    {WM_COMMAND, &CLumenoDlg::OnCommandMessage},
    {WM_ACTIVATE, &CLumenoDlg::OnActivate},
    {UM_PLAY_STOP, &CLumenoDlg::OnPlayStop},
    {UM_MUTE, &CLumenoDlg::OnMute},
    {UM_VOLUME, &CLumenoDlg::OnVolume},
    {UM_START_CHANNEL, &CLumenoDlg::OnStartChannel},
    {UM_PLAYER_EVENT, &CLumenoDlg::OnPlayerEvent},
};

CLumenoDlg::CLumenoDlg() : appIcon(QStringLiteral(":/app/korvanta.png"))
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowTitle(kCaption);
    setAttribute(Qt::WA_OpaquePaintEvent); // the paint handler covers the whole client area
    resize(CDialogUnits(font()).ToPixels(QSize(320, 199)));
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
    dataFolder = GetAppDataFolder();
    if (!LoadSettings(SettingsPath(), settings))
        settings = Settings();
    LoadFavorites(FavoritesPath(), favoriteNames, favoriteIds, favoriteIcons);
    CreateAccelerators();
    initialised = false;

    if (!LoadLanguagePack(this, settings.languageName, languageStrings))
        return FatalError(kLanguageError);
    if (!LoadChannelCatalogue(settings.languageName, channelNames, channelDescriptions))
        return FatalError(kLanguageError);
    if (!player.Create(this)) {
        return FatalError(QStringLiteral("Cannot open WMP control. Please contact us by e-mail ")
                          + SupportEmailAddress() + QStringLiteral("."));
    }

    player.SetOriginalSize(settings.originalSize != 0);
    player.storedVolume = settings.volume;
    player.SetVolume(settings.volume);
    player.SetMute(settings.mute != 0);

    playPanel.Create(this);
    playPanel.SetVolume(settings.volume);
    playPanel.SetMuted(settings.mute != 0);
    if (settings.hideControl)
        playPanel.hide();

    boldFont = font();
    boldFont.setWeight(QFont::Bold);
    menuPanel.SetFont(boldFont);
    menuPanel.Create(this);
    BuildMenus();

    initialised = true;
    MoveWindowOuter(this, settings.mainWindowRect);
    Layout(width(), height());
    if (settings.alwaysOnTop)
        SetTopmost(true);

    channelDlg.SetReferences(languageStrings, channelNames, channelDescriptions, streamAddress,
                             channelName, favoriteNames, favoriteIds, favoriteIcons, *this);
    channelDlg.Create(this);
    MoveWindowOuter(&channelDlg, settings.channelWindowRect);
    channelDlg.show();
    return true;
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
        settings.mainWindowRect = closingRect.isValid() ? closingRect : GetWindowOuterRect(this);
        settings.channelWindowRect = channelDlg.WindowRect();
        SaveSettings(SettingsPath(), settings);
        SaveFavorites(FavoritesPath(), favoriteNames, favoriteIds, favoriteIcons);
    }
    bufferingTimer.stop();
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
                [this, command] { SendMessage(this, WM_COMMAND, static_cast<WPARAM>(command) | (1u << 16), 0); });
        accelerators.push_back(shortcut);
    }
}

// ---------------------------------------------------------------------------------------
// Layout and painting

void CLumenoDlg::Layout(int cx, int cy)
{
    if (menuPanel.parentWidget() != nullptr) {
        menuPanel.setGeometry(0, 0, cx, kMenuHeight);
        menuPanel.update();
    }
    update(statusRect);
    if (QWidget* video = player.VideoWidget()) {
        const int top = settings.hideMenu ? 0 : kMenuHeight;
        const int statusTop = settings.hideControl ? cy - kStatusHeight : cy - kPlayPanelHeight - kStatusHeight;
        video->setGeometry(0, top, cx, statusTop - top);
        statusRect = QRect(0, statusTop, kStatusWidth, kStatusHeight);
    }
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
    painter.setPen(kStatusColor);
    const QRect textRect(QPoint(statusRect.left() + 5, statusRect.top() + 2), statusRect.bottomRight());
    painter.setClipRect(textRect);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignTop, statusText);
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
    return OnCommand(static_cast<int>(wParam & 0xFFFF)) ? 1 : 0;
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
        break;
    }
    return true;
}

void CLumenoDlg::ShowChannelWindow()
{
    channelDlg.show();
    channelDlg.raise();
    channelDlg.activateWindow();
    channelDlg.setFocus();
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

void CLumenoDlg::ReloadLanguage()
{
    languageStrings.Clear();
    for (auto& list : channelNames)
        list.clear();
    for (auto& list : channelDescriptions)
        list.clear();
    LoadLanguagePack(this, settings.languageName, languageStrings);
    LoadChannelCatalogue(settings.languageName, channelNames, channelDescriptions);
    DestroyMenus();
    menuPanel.RemoveAllItems();
    BuildMenus();
    menuPanel.update();
    channelDlg.ApplyLanguage();
}

void CLumenoDlg::DestroyMenus()
{
    for (auto& menu : menus)
        menu.reset();
}

QAction* CLumenoDlg::AppendItem(QMenu* menu, int id, const QString& text, int checked)
{
    QAction* action = menu->addAction(text);
    action->setData(id);
    if (checked >= 0) {
        action->setCheckable(true);
        action->setChecked(checked != 0);
    }
    return action;
}

void CLumenoDlg::BuildMenus()
{
    for (auto& menu : menus)
        menu = std::make_unique<QMenu>(this);
    for (int i = 0; i < 4; ++i)
        menuPanel.AddItem(languageStrings.Text(MainMenu, i), menus[i].get());
    if (settings.hideMenu)
        menuPanel.hide();

    const auto main = [this](int i) { return languageStrings.Text(MainMenu, i); };
    const auto context = [this](int i) { return languageStrings.Text(ContexMenu, i); };
    const QString space = QStringLiteral("\tSpace"), m = QStringLiteral("\tM"), enter = QStringLiteral("\tEnter");
    const QString ctrlH = QStringLiteral("\tCtrl+H"), ctrlM = QStringLiteral("\tCtrl+M"), ctrlT = QStringLiteral("\tCtrl+T");
    const Settings& s = settings;

    AppendItem(menus[0].get(), ID_CHANNELS, main(4));

    QMenu* playback = menus[1].get();
    AppendItem(playback, ID_PLAY_PAUSE, main(5) + space);
    AppendItem(playback, ID_MUTE, main(6) + m);
    playback->addSeparator();
    AppendItem(playback, ID_FULL_SCREEN, main(7) + enter);
    AppendItem(playback, ID_ORIGINAL_SIZE, main(8), s.originalSize != 0);
    AppendItem(playback, ID_FIT_TO_WINDOW, main(9), s.originalSize == 0);

    QMenu* view = menus[2].get();
    AppendItem(view, ID_HIDE_CONTROL, main(10) + ctrlH, s.hideControl != 0);
    AppendItem(view, ID_HIDE_MENU, main(11) + ctrlM, s.hideMenu != 0);
    view->addSeparator();
    AppendItem(view, ID_ALWAYS_ON_TOP, main(12) + ctrlT, s.alwaysOnTop != 0);
    view->addSeparator();
    AppendItem(view, ID_LANGUAGE, main(13));

    AppendItem(menus[3].get(), ID_ABOUT, main(14));
    AppendItem(menus[3].get(), ID_DONATE, main(15));

    QMenu* popup = menus[kContextMenu].get();
    AppendItem(popup, ID_CHANNELS, context(0));
    popup->addSeparator();
    AppendItem(popup, ID_PLAY_PAUSE, context(1) + space);
    AppendItem(popup, ID_MUTE, context(2) + m);
    popup->addSeparator();
    AppendItem(popup, ID_FULL_SCREEN, context(3) + enter);
    AppendItem(popup, ID_ORIGINAL_SIZE, context(4), s.originalSize != 0);
    AppendItem(popup, ID_FIT_TO_WINDOW, context(5), s.originalSize == 0);
    popup->addSeparator();
    AppendItem(popup, ID_HIDE_CONTROL, context(6) + ctrlH, s.hideControl != 0);
    AppendItem(popup, ID_HIDE_MENU, context(7) + ctrlM, s.hideMenu != 0);
    popup->addSeparator();
    AppendItem(popup, ID_ALWAYS_ON_TOP, context(8) + ctrlT, s.alwaysOnTop != 0);
    popup->addSeparator();
    AppendItem(popup, ID_DONATE, context(9));
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
    QMenu* popup = menus[kContextMenu].get();
    if (popup == nullptr)
        return;
    // From the keyboard the platform reports the position (-1, -1), and the menu opens there.
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard ? QPoint(-1, -1) : event->globalPos();
    if (QAction* chosen = popup->exec(at))
        SendMessage(this, WM_COMMAND, static_cast<WPARAM>(chosen->data().toInt()), 0);
}

void CLumenoDlg::keyPressEvent(QKeyEvent* event)
{
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
    return DispatchMessage(this, event, kMessageMap) || QDialog::event(event);
}

const QString& CLumenoDlg::StatusString(int index) const
{
    return languageStrings.Text(Status, index);
}

void CLumenoDlg::SetStatusText(const QString& text)
{
    statusText = text;
    update(statusRect);
}

LRESULT CLumenoDlg::OnPlayStop(WPARAM wParam, LPARAM)
{
    if (wParam == 0)
        player.Play();
    else if (wParam == 1)
        player.Stop();
    return 0;
}

LRESULT CLumenoDlg::OnMute(WPARAM wParam, LPARAM)
{
    settings.mute = wParam != 0 ? 1 : 0;
    player.SetMute(settings.mute);
    return 0;
}

LRESULT CLumenoDlg::OnVolume(WPARAM, LPARAM lParam)
{
    settings.volume = static_cast<int>(lParam);
    player.storedVolume = settings.volume;
    player.SetVolume(settings.volume);
    return 0;
}

LRESULT CLumenoDlg::OnStartChannel(WPARAM, LPARAM)
{
    SetStatusText(StatusString(2));
    playPanel.EnablePlayButton();
    // Let the new status and the play button paint before the player takes over; a channel
    // started meanwhile wins, since the address is read only afterwards.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    player.PlayURL(streamAddress);
    return 0;
}

LRESULT CLumenoDlg::OnPlayerEvent(WPARAM wParam, LPARAM lParam)
{
    switch (wParam) {
    case PLAYER_EVENT_MOUSE_DOWN:
        activateWindow();
        setFocus();
        break;
    case PLAYER_EVENT_PLAY_STATE:
        OnPlayStateChange(static_cast<int>(lParam));
        break;
    case PLAYER_EVENT_KEY_DOWN:
        OnPlayerKey(static_cast<quint16>(lParam & 0xFFFF));
        break;
    default:
        break;
    }
    return 0;
}

void CLumenoDlg::OnPlayStateChange(int state)
{
    switch (state) {
    case kPlayStateBuffering:
        bufferingTimer.start(kBufferingPeriodMs, this); // a second report restarts the same timer
        return;
    case 1:
        SetStatusText(StatusString(1));
        return;
    case 3:
        SetStatusText(channelName);
        return;
    case 9:
    case 11:
        SetStatusText(StatusString(2));
        return;
    case 10:
        SetStatusText(StatusString(5));
        return;
    default:
        SetStatusText(StatusString(3));
        return;
    }
}

void CLumenoDlg::OnPlayerKey(quint16 key)
{
    switch (key) {
    case 13:
        LeaveFullScreen();
        break;
    case 32:
        player.Stop();
        break;
    case 77:
        ToggleMute();
        break;
    case kKeyPageUp:
        Zap(-1);
        break;
    case kKeyPageDown:
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
    if (player.PlayState() != kPlayStateBuffering) {
        bufferingTimer.stop();
        return;
    }
    const int progress = player.BufferingProgress();
    SetStatusText(StatusString(4) + QLatin1Char(' ') + QString::number(progress) + QLatin1Char('%'));
}

LRESULT CLumenoDlg::OnActivate(WPARAM wParam, LPARAM)
{
    if ((wParam & 0xFFFF) == WA_ACTIVE) {
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
