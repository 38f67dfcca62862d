#include "MenuTable.h"

#include "LanguageEntries.h"
#include "GuideTexts.h"
#include "PlaylistTexts.h"
#include "TimeshiftTexts.h"

namespace {
bool OriginalSize(const Settings& s) { return s.originalSize != 0; }
bool FitToWindow(const Settings& s) { return s.originalSize == 0; }
bool HideControl(const Settings& s) { return s.hideControl != 0; }
bool HideMenu(const Settings& s) { return s.hideMenu != 0; }
bool AlwaysOnTop(const Settings& s) { return s.alwaysOnTop != 0; }

constexpr QKeyCombination kSpace = Qt::Key_Space;
constexpr QKeyCombination kM = Qt::Key_M;
constexpr QKeyCombination kEnter = Qt::Key_Enter;
constexpr QKeyCombination kCtrlH = Qt::CTRL | Qt::Key_H;
constexpr QKeyCombination kCtrlM = Qt::CTRL | Qt::Key_M;
constexpr QKeyCombination kCtrlT = Qt::CTRL | Qt::Key_T;
constexpr QKeyCombination kCtrlF = Qt::CTRL | Qt::Key_F;
constexpr QKeyCombination kP = Qt::Key_P;
constexpr QKeyCombination kEnd = Qt::Key_End;
constexpr QKeyCombination kCtrlR = Qt::CTRL | Qt::Key_R;
constexpr QKeyCombination kCtrlG = Qt::CTRL | Qt::Key_G;
constexpr QKeyCombination kNone = Qt::Key_unknown;

const MenuRow kRows[] = {
    {MenuChannels, ID_CHANNELS, MainMenu, MainMenuShowChannels},
    {MenuChannels, ID_FIND_CHANNEL, Playlists, PlaylistFindMenu, kCtrlF},
    {MenuChannels, ID_ADD_PLAYLIST, Playlists, PlaylistAddMenu},
    {MenuChannels, ID_SEPARATOR},
    {MenuChannels, ID_GUIDE, Guide, GuideMenu, kCtrlG},
    {MenuChannels, ID_ADD_GUIDE, Guide, GuideAddMenu},
    {MenuChannels, ID_REFRESH_GUIDE, Guide, GuideRefreshMenu},

    {MenuPlayback, ID_PLAY_PAUSE, MainMenu, MainMenuPlayPause, kSpace},
    {MenuPlayback, ID_MUTE, MainMenu, MainMenuMute, kM},
    {MenuPlayback, ID_SEPARATOR},
    {MenuPlayback, ID_PAUSE, Timeshift, TimeshiftPauseMenu, kP},
    {MenuPlayback, ID_BACK_TO_LIVE, Timeshift, TimeshiftBackToLiveMenu, kEnd},
    {MenuPlayback, ID_RECORD, Timeshift, TimeshiftRecordMenu, kCtrlR},
    {MenuPlayback, ID_RECORD_BUFFER, Timeshift, TimeshiftRecordBufferMenu},
    {MenuPlayback, ID_SEPARATOR},
    {MenuPlayback, ID_FULL_SCREEN, MainMenu, MainMenuFullScreen, kEnter},
    {MenuPlayback, ID_ORIGINAL_SIZE, MainMenu, MainMenuOriginalSize, kNone, OriginalSize},
    {MenuPlayback, ID_FIT_TO_WINDOW, MainMenu, MainMenuFitToWindow, kNone, FitToWindow},

    {MenuOptions, ID_HIDE_CONTROL, MainMenu, MainMenuHideControl, kCtrlH, HideControl},
    {MenuOptions, ID_HIDE_MENU, MainMenu, MainMenuHideMenu, kCtrlM, HideMenu},
    {MenuOptions, ID_SEPARATOR},
    {MenuOptions, ID_ALWAYS_ON_TOP, MainMenu, MainMenuAlwaysOnTop, kCtrlT, AlwaysOnTop},
    {MenuOptions, ID_SEPARATOR},
    {MenuOptions, ID_LANGUAGE, MainMenu, MainMenuLanguage},

    {MenuHelp, ID_ABOUT, MainMenu, MainMenuAbout},
    {MenuHelp, ID_DONATE, MainMenu, MainMenuDonate},

    {MenuContext, ID_CHANNELS, ContexMenu, ContextShowChannels},
    {MenuContext, ID_FIND_CHANNEL, Playlists, PlaylistFindMenu, kCtrlF},
    {MenuContext, ID_ADD_PLAYLIST, Playlists, PlaylistAddMenu},
    {MenuContext, ID_GUIDE, Guide, GuideMenu, kCtrlG},
    {MenuContext, ID_SEPARATOR},
    {MenuContext, ID_PLAY_PAUSE, ContexMenu, ContextPlayPause, kSpace},
    {MenuContext, ID_MUTE, ContexMenu, ContextMute, kM},
    {MenuContext, ID_SEPARATOR},
    {MenuContext, ID_PAUSE, Timeshift, TimeshiftPauseMenu, kP},
    {MenuContext, ID_BACK_TO_LIVE, Timeshift, TimeshiftBackToLiveMenu, kEnd},
    {MenuContext, ID_RECORD, Timeshift, TimeshiftRecordMenu, kCtrlR},
    {MenuContext, ID_RECORD_BUFFER, Timeshift, TimeshiftRecordBufferMenu},
    {MenuContext, ID_SEPARATOR},
    {MenuContext, ID_FULL_SCREEN, ContexMenu, ContextFullScreen, kEnter},
    {MenuContext, ID_ORIGINAL_SIZE, ContexMenu, ContextOriginalSize, kNone, OriginalSize},
    {MenuContext, ID_FIT_TO_WINDOW, ContexMenu, ContextFitToWindow, kNone, FitToWindow},
    {MenuContext, ID_SEPARATOR},
    {MenuContext, ID_HIDE_CONTROL, ContexMenu, ContextHideControl, kCtrlH, HideControl},
    {MenuContext, ID_HIDE_MENU, ContexMenu, ContextHideMenu, kCtrlM, HideMenu},
    {MenuContext, ID_SEPARATOR},
    {MenuContext, ID_ALWAYS_ON_TOP, ContexMenu, ContextAlwaysOnTop, kCtrlT, AlwaysOnTop},
    {MenuContext, ID_SEPARATOR},
    // The context menu is the keyboard's way to every command: the bar's own texts serve
    // where the context menu's group has none.
    {MenuContext, ID_LANGUAGE, MainMenu, MainMenuLanguage},
    {MenuContext, ID_SEPARATOR},
    {MenuContext, ID_ABOUT, MainMenu, MainMenuAbout},
    {MenuContext, ID_DONATE, ContexMenu, ContextDonate},
};
} // namespace

std::span<const MenuRow> MenuRows()
{
    return kRows;
}
