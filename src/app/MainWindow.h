#pragma once
// The main window, as the viewer sees it: the skinned menu bar, the picture, the status
// line and the play panel in their bands, the view modes (full screen, the picture's size,
// hidden bars, always on top), the context menu and what assistive technology sees. It
// shows what the other parts tell it and hands keys and drops on.

#include "AccessibleParts.h"
#include "CPanelMenu.h"
#include "CPanelPlay.h"
#include "LanguageStrings.h"
#include "PlayState.h"
#include "PositionBar.h"

#include <QDialog>

#include <functional>
#include <QFont>
#include <QIcon>
#include <QRect>
#include <QString>

class CWMPWindow;
class Commands;
class PlaylistDrops;
class StatusLine;
struct Settings;

class MainWindow : public QDialog, public AccessibleParts
{
    Q_OBJECT
public:
    // What assistive technology sees in the window, top to bottom.
    enum Part { MenuBarPart, VideoPart, StatusPart, PlayPanelPart, PositionPart, PartCountOf };

    // Geometry of the bands, in pixels.
    static constexpr int kStatusHeight = 16;
    static constexpr int kStatusWidth = 200;
    static constexpr int kPlayPanelHeight = 69;
    static constexpr int kMinTrackWidth = 250;
    static constexpr int kMinTrackHeight = 200;

    MainWindow(const LanguageStrings& texts, Settings& settings, CWMPWindow& player, const StatusLine& status,
               Commands& commands);

    // The desktop theme's icon in place of the built-in one, once the windows are on screen.
    void UseThemeIcon();
    // Makes the panels and gives the window its icon.
    void CreatePanels();
    // Gives the parts assistive technology sees their names in the current language.
    void NameParts();
    // The playing channel's name, for assistive technology's name of the picture.
    void ShowChannelName(const QString& name);
    void ShowTitleOf(const PlayState& state);
    // The status line's text changed.
    void ShowStatus();
    // A film plays: its position bar in the play panel; else none.
    void ShowFilm(bool film, double position, double length);

    void Layout(int cx, int cy);
    const QRect& StatusRect() const { return statusRect; }

    void SetFullScreen(bool on);
    // The picture at its own size (true), or fitted to the window.
    void SelectSize(bool original);
    void ToggleHideControl();
    void ToggleHideMenu();
    void ToggleAlwaysOnTop();
    void SetTopmost(bool topmost);
    bool IsTopmost() const;
    void OpenMenuBar();
    void RaiseFromDesktop();
    // A click on the picture: outside full screen the window takes the keyboard.
    void FocusFromPicture();

    // Ends the modal loop as the system close command does; Ended once it was.
    void EndDialog(int result);
    bool Ended() const { return ended; }
    // Asked at the system close command: false keeps the window's loop going.
    void SetCloseGuard(std::function<bool()> guard) { closeGuard = std::move(guard); }
    // The outer rectangle when the modal loop ended, else now.
    QRect ClosingRect() const;

    CPanelPlay& PlayPanel() { return playPanel; }
    PositionBar& Position() { return positionBar; }
    CPanelMenu& MenuPanel() { return menuPanel; }
    PlaylistDrops& Drops() const { return *drops; }

    QAccessible::Role AccessibleRole() const override { return QAccessible::Window; }
    int PartCount() const override { return PartCountOf; }
    AccessiblePart Part(int index) const override;

signals:
    // A view mode changed: the menus' check marks follow.
    void CheckChanged(int command, bool checked);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void accept() override;
    void reject() override;
    void done(int result) override;

private:
    int StatusWidth(int rowWidth) const;
    void PlacePositionBar();

    const LanguageStrings& texts;
    Settings& settings;
    CWMPWindow& player;
    const StatusLine& status;
    Commands& commands;
    CPanelPlay playPanel;
    PositionBar positionBar; // over the play panel's left, which it leaves empty
    CPanelMenu menuPanel;
    PlaylistDrops* drops;
    QIcon appIcon;
    QFont boldFont;
    QRect statusRect;
    QRect videoRect; // the picture's band, also before the picture exists
    QString shownStatus;
    QString channelName;
    QRect closingRect;
    std::function<bool()> closeGuard = [] { return true; };
    bool ended = false; // the modal loop was ended, perhaps before it ran
};
