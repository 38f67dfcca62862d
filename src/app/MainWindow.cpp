#include "MainWindow.h"

#include "AccessTexts.h"
#include "ActionTable.h"
#include "CMemDC.h"
#include "CWMPWindow.h"
#include "Commands.h"
#include "DialogUnits.h"
#include "FilmsTexts.h"
#include "NaturalOrder.h"
#include "PlaylistDrops.h"
#include "PngImage.h"
#include "Settings.h"
#include "SkinColours.h"
#include "StatusLine.h"
#include "WindowGeometry.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>
#include <QWindow>

#include <algorithm>

namespace {
// The window's first size, in dialog units.
constexpr QSize kInitialSizeDlu(320, 199);
// Where the status text starts inside the status rectangle.
constexpr QPoint kStatusTextOffset(5, 2);
constexpr int kPositionBarMargin = 10;
constexpr int kPositionBarHeight = 20;
const QString kCaption = QStringLiteral("Korvanta");

// Never the invalid-argument error: assistive technology asks from outside any handler, and
// the group always has its built-in English.
QString AccessName(const LanguageStrings& texts, int index)
{
    return texts[Access].value(index);
}
} // namespace

// Outside any namespace, as resource initialisation must be. The picture is linked into the
// program only when asked for by name: the library holding it is a static one.
static QIcon LoadAppIcon()
{
    Q_INIT_RESOURCE(app);
    return QIcon(QPixmap::fromImage(ReadPngImage(QStringLiteral(":/app/korvanta.png"))));
}

MainWindow::MainWindow(const LanguageStrings& texts, Settings& settings, CWMPWindow& player, const StatusLine& status,
                       Commands& commands)
    : texts(texts), settings(settings), player(player), status(status), commands(commands),
      appIcon(LoadAppIcon())
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    setWindowTitle(kCaption);
    setAttribute(Qt::WA_OpaquePaintEvent); // the paint handler covers the whole client area
    drops = new PlaylistDrops(this); // playlists dropped on it are added
    resize(CDialogUnits(font()).ToPixels(kInitialSizeDlu));
}

// The theme's icon is the one the desktop file names, so the taskbar and the window
// switcher show the same picture; the built-in one serves where no theme has it, and until
// the windows are on screen, since the first reading of the theme is slow.
void MainWindow::UseThemeIcon()
{
    appIcon = QIcon::fromTheme(QStringLiteral("org.korvanta.Korvanta"), appIcon);
    setWindowIcon(appIcon);
    QApplication::setWindowIcon(appIcon);
}

void MainWindow::CreatePanels()
{
    setWindowIcon(appIcon);
    QApplication::setWindowIcon(appIcon); // the channel window's too
    playPanel.Create(this);
    playPanel.SetVolume(settings.volume);
    playPanel.SetMuted(settings.mute != 0);
    if (settings.hideControl)
        playPanel.hide();
    positionBar.setParent(this);
    positionBar.hide();
    // The window keeps the focus, so that Space and Enter stay its own until Tab moves on.
    setFocus();
    boldFont = font();
    boldFont.setWeight(QFont::Bold);
    menuPanel.SetFont(boldFont);
    menuPanel.Create(this);
}

void MainWindow::NameParts()
{
    playPanel.SetAccessibleNames({AccessName(texts, AccessPlayPanel), AccessName(texts, AccessPlay), AccessName(texts, AccessStop),
                                  AccessName(texts, AccessMute), AccessName(texts, AccessVolume)});
    Notify(this, VideoPart, QAccessible::NameChanged);
    positionBar.setAccessibleName(texts[Films].value(FilmsPosition));
}


void MainWindow::ShowChannelName(const QString& name)
{
    channelName = name;
    Notify(this, VideoPart, QAccessible::NameChanged);
}

void MainWindow::ShowTitleOf(const PlayState& state)
{
    if (!state.request.IsEmpty())
        setWindowTitle(kCaption + QStringLiteral(" - ") + state.request.name);
}

void MainWindow::ShowStatus()
{
    update(statusRect);
    statusRect.setWidth(StatusWidth(width()));
    update(statusRect);
    if (status.Text() != shownStatus) {
        shownStatus = status.Text();
        Notify(this, StatusPart, QAccessible::NameChanged);
    }
}

// ---------------------------------------------------------------------------------------
// Layout and painting

void MainWindow::Layout(int cx, int cy)
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
    PlacePositionBar();
}

void MainWindow::PlacePositionBar()
{
    const QRect panel = playPanel.geometry();
    const int right = playPanel.PlayRect().left() - kPositionBarMargin;
    positionBar.setGeometry(kPositionBarMargin, panel.top() + (panel.height() - kPositionBarHeight) / 2,
                            std::max(0, right - kPositionBarMargin), kPositionBarHeight);
}

void MainWindow::ShowFilm(bool film, double position, double length)
{
    const bool shown = film && !settings.hideControl;
    if (shown)
        positionBar.Show(position, length);
    if (positionBar.isVisible() != shown) {
        positionBar.setVisible(shown);
        Notify(this, PositionPart, shown ? QAccessible::ObjectShow : QAccessible::ObjectHide);
    }
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    // The smallest outer size the user can drag to; the frame comes on top of the client.
    const QSize frame = frameGeometry().size() - size();
    setMinimumSize((QSize(kMinTrackWidth, kMinTrackHeight) - frame).expandedTo(QSize(1, 1)));
    Layout(width(), height());
}

void MainWindow::paintEvent(QPaintEvent* event)
{
    if (isMinimized()) {
        QPainter painter(this);
        const QSize icon(style()->pixelMetric(QStyle::PM_LargeIconSize), style()->pixelMetric(QStyle::PM_LargeIconSize));
        painter.drawPixmap((width() - icon.width() + 1) / 2, (height() - icon.height() + 1) / 2, appIcon.pixmap(icon));
        return;
    }
    CMemDC dc(this, event->region());
    QPainter& painter = dc.Painter();
    painter.fillRect(rect(), Qt::black);
    painter.setFont(boldFont);
    painter.setPen(kSkinTextColour);
    const QRect textRect(statusRect.topLeft() + kStatusTextOffset, statusRect.bottomRight());
    painter.setClipRect(textRect);
    // A text that does not fit ends in an ellipsis, not in half a word; its tooltip holds it all.
    const QString shown = painter.fontMetrics().elidedText(status.Text(), Qt::ElideRight, textRect.width());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignTop, NaturalOrder(shown));
}

// The designed width holds the designed texts; a text with a reason takes as much of the
// row as it needs to be read whole.
int MainWindow::StatusWidth(int rowWidth) const
{
    if (!status.NamesReason())
        return kStatusWidth;
    const int needed = QFontMetrics(boldFont).horizontalAdvance(status.Text()) + 2 * kStatusTextOffset.x();
    return std::max(kStatusWidth, std::min(needed, rowWidth));
}

// A text cut short on the status line is read whole in its tooltip.
bool MainWindow::event(QEvent* event)
{
    const auto* help = event->type() == QEvent::ToolTip ? static_cast<QHelpEvent*>(event) : nullptr;
    const int room = statusRect.width() - kStatusTextOffset.x();
    if (help == nullptr || !statusRect.contains(help->pos())
        || QFontMetrics(boldFont).horizontalAdvance(status.Text()) <= room)
        return QDialog::event(event);
    QToolTip::showText(help->globalPos(), status.Text(), this, statusRect);
    return true;
}

// ---------------------------------------------------------------------------------------
// View modes

void MainWindow::SetFullScreen(bool on)
{
    player.SetFullScreen(on);
}

void MainWindow::SelectSize(bool original)
{
    emit CheckChanged(ID_ORIGINAL_SIZE, original);
    emit CheckChanged(ID_FIT_TO_WINDOW, !original);
    settings.originalSize = original ? 1 : 0;
    player.SetOriginalSize(original);
}

void MainWindow::ToggleHideControl()
{
    settings.hideControl = !settings.hideControl;
    emit CheckChanged(ID_HIDE_CONTROL, settings.hideControl);
    playPanel.setVisible(!settings.hideControl);
    if (settings.hideControl)
        positionBar.hide();
    Layout(width(), height());
}

void MainWindow::ToggleHideMenu()
{
    settings.hideMenu = !settings.hideMenu;
    emit CheckChanged(ID_HIDE_MENU, settings.hideMenu);
    menuPanel.setVisible(!settings.hideMenu);
    Layout(width(), height());
}

void MainWindow::ToggleAlwaysOnTop()
{
    emit CheckChanged(ID_ALWAYS_ON_TOP, !settings.alwaysOnTop);
    SetTopmost(!settings.alwaysOnTop);
    settings.alwaysOnTop = !settings.alwaysOnTop;
}

void MainWindow::SetTopmost(bool topmost)
{
    // Changing the flag on a mapped window through its QWindow keeps it on screen; the
    // widget's own setWindowFlag would hide it.
    if (QWindow* window = windowHandle())
        window->setFlag(Qt::WindowStaysOnTopHint, topmost);
    else
        setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
}

bool MainWindow::IsTopmost() const
{
    if (const QWindow* window = windowHandle())
        return window->flags().testFlag(Qt::WindowStaysOnTopHint);
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void MainWindow::OpenMenuBar()
{
    if (!player.IsFullScreen())
        menuPanel.OpenFromKeyboard();
}

void MainWindow::RaiseFromDesktop()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void MainWindow::FocusFromPicture()
{
    // In full screen the picture keeps the focus, so that Enter and Escape still leave.
    if (!player.IsFullScreen()) {
        activateWindow();
        setFocus();
    }
}

// ---------------------------------------------------------------------------------------
// Input and closing

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    if (commands.Key(OnWindow, event->keyCombination()))
        event->accept();
    else
        QDialog::keyPressEvent(event);
}

void MainWindow::keyReleaseEvent(QKeyEvent* event)
{
    if (!commands.KeyReleased(event->keyCombination(), event->isAutoRepeat()))
        QDialog::keyReleaseEvent(event);
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event)
{
    // From the keyboard there is no pointer position: the menu opens over the picture.
    const QWidget* video = player.VideoWidget();
    const QWidget* over = video != nullptr ? video : this;
    commands.ShowContextMenu(event->reason() == QContextMenuEvent::Keyboard ? over->mapToGlobal(over->rect().center())
                                                                            : event->globalPos());
}

// Enter and Escape reach the dialog's own handlers through the key table; neither ends it.
void MainWindow::accept()
{
}

void MainWindow::reject()
{
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The system close command is the one way out.
    event->ignore();
    if (closeGuard())
        EndDialog(QDialog::Rejected);
}

void MainWindow::EndDialog(int result)
{
    ended = true;
    QDialog::done(result);
}

void MainWindow::done(int result)
{
    // The outer rectangle is read while the window is still on screen.
    if (isVisible())
        closingRect = GetWindowOuterRect(this);
    QDialog::done(result);
}

QRect MainWindow::ClosingRect() const
{
    return closingRect.isValid() ? closingRect : GetWindowOuterRect(this);
}

void MainWindow::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    // Activated, the panels paint at once whatever of them is invalid.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        if (playPanel.parentWidget() != nullptr)
            playPanel.repaint();
        if (menuPanel.parentWidget() != nullptr)
            menuPanel.repaint();
    }
}

AccessiblePart MainWindow::Part(int index) const
{
    AccessiblePart part;
    switch (index) {
    case MenuBarPart:
        part.widget = const_cast<CPanelMenu*>(&menuPanel);
        break;
    case VideoPart:
        part.role = QAccessible::Animation;
        part.name = channelName.isEmpty() ? AccessName(texts, AccessVideo) : AccessName(texts, AccessVideoOf).arg(channelName);
        part.rect = videoRect;
        break;
    case StatusPart:
        part.role = QAccessible::StatusBar;
        part.name = status.Text();
        part.rect = statusRect;
        part.state.readOnly = true;
        break;
    case PlayPanelPart:
        part.widget = const_cast<CPanelPlay*>(&playPanel);
        break;
    case PositionPart:
        part.widget = const_cast<PositionBar*>(&positionBar);
        break;
    default:
        break;
    }
    return part;
}
