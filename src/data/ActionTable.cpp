#include "ActionTable.h"

#include "AccountsTexts.h"
#include "LanguageEntries.h"
#include "GuideOrderTexts.h"
#include "GuideTexts.h"
#include "PlaylistTexts.h"
#include "PreferencesTexts.h"
#include "PrivacyTexts.h"
#include "RecordingsTexts.h"
#include "TimeshiftTexts.h"

namespace {
bool OriginalSize(const Settings& s) { return s.originalSize != 0; }
bool FitToWindow(const Settings& s) { return s.originalSize == 0; }
bool HideControl(const Settings& s) { return s.hideControl != 0; }
bool HideMenu(const Settings& s) { return s.hideMenu != 0; }
bool AlwaysOnTop(const Settings& s) { return s.alwaysOnTop != 0; }
// Not kept in the settings: its check follows the state each time it changes.
bool StartsUnchecked(const Settings&) { return false; }

constexpr unsigned kMain = OnWindow;
constexpr unsigned kMainAndPicture = OnWindow | OnPicture;
constexpr unsigned kBothWindows = OnWindow | InChannelWindow;
constexpr unsigned kEveryWindow = kBothWindows | InGuideWindow;
constexpr bool kAny = true;
constexpr bool kDialogKey = true;

const KeyBinding kBindings[] = {
    {ID_SHORTCUTS, Qt::Key_F1, kBothWindows},
    {ID_PREFERENCES, Qt::CTRL | Qt::Key_Comma, kMain},
    {ID_FIND_CHANNEL, Qt::CTRL | Qt::Key_F, kBothWindows},
    {ID_GUIDE, Qt::CTRL | Qt::Key_G, kBothWindows},
    {ID_RECORDINGS, Qt::CTRL | Qt::SHIFT | Qt::Key_R, kEveryWindow},
    {ID_PLAY_PAUSE, Qt::Key_Space, kMainAndPicture, kAny},
    {ID_MUTE, Qt::Key_M, kMainAndPicture, kAny},
    {ID_PAUSE, Qt::Key_P, kMainAndPicture, kAny},
    {ID_PAUSE, Qt::Key_Pause, kMainAndPicture, kAny},
    {ID_PAUSE, Qt::Key_MediaPause, kMain},
    {ID_RESUME, Qt::Key_MediaPlay, kMain},
    {ID_BACK_TO_LIVE, Qt::Key_End, kMainAndPicture, kAny},
    {ID_RECORD, Qt::CTRL | Qt::Key_R, kMainAndPicture},
    {ID_STEP_BACK, Qt::Key_Left, kMainAndPicture, kAny},
    {ID_STEP_FORWARD, Qt::Key_Right, kMainAndPicture, kAny},
    {ID_MINUTE_BACK, Qt::SHIFT | Qt::Key_Left, kMainAndPicture},
    {ID_MINUTE_FORWARD, Qt::SHIFT | Qt::Key_Right, kMainAndPicture},
    {ID_FILM_START, Qt::Key_Home, kMainAndPicture, kAny},
    {ID_FULL_SCREEN, Qt::Key_Enter, kMain, false, kDialogKey},
    {ID_FULL_SCREEN, Qt::Key_Return, kMain, false, kDialogKey},
    {ID_LEAVE_FULL_SCREEN, Qt::Key_Return, OnPicture, kAny},
    {ID_LEAVE_FULL_SCREEN, Qt::Key_Enter, OnPicture, kAny},
    {ID_HIDE_CONTROL, Qt::CTRL | Qt::Key_H, kMain},
    {ID_HIDE_MENU, Qt::CTRL | Qt::Key_M, kMain},
    {ID_ALWAYS_ON_TOP, Qt::CTRL | Qt::Key_T, kMain},
    {ID_PREVIOUS_CHANNEL, Qt::Key_PageUp, kMainAndPicture, kAny},
    {ID_NEXT_CHANNEL, Qt::Key_PageDown, kMainAndPicture, kAny},
    {ID_MENU_BAR, Qt::Key_F10, kMainAndPicture, false, kDialogKey},
    {ID_CHANNEL_PLAY, Qt::Key_Return, InChannelWindow},
    {ID_CHANNEL_PLAY, Qt::Key_Enter, InChannelWindow},
    {ID_FAVORITES_ADD, Qt::Key_Insert, InChannelWindow},
    {ID_FAVORITES_REMOVE, Qt::Key_Delete, InChannelWindow},
    {ID_FAVORITES_UP, Qt::CTRL | Qt::Key_Up, InChannelWindow},
    {ID_FAVORITES_DOWN, Qt::CTRL | Qt::Key_Down, InChannelWindow},
    {ID_CHANNEL_MENU, Qt::Key_Menu, InChannelWindow},
    {ID_CHANNEL_MENU, Qt::SHIFT | Qt::Key_F10, InChannelWindow},
};

const MenuRow kRows[] = {
    {MenuChannels, ID_CHANNELS, MainMenu, MainMenuShowChannels},
    {MenuChannels, ID_FIND_CHANNEL, Playlists, PlaylistFindMenu},
    {MenuChannels, ID_ADD_PLAYLIST, Playlists, PlaylistAddMenu},
    {MenuChannels, ID_ADD_ACCOUNT, Accounts, AccountsAddItem},
    {MenuChannels, ID_SEPARATOR},
    {MenuChannels, ID_GUIDE, Guide, GuideMenu},
    {MenuChannels, ID_ADD_GUIDE, Guide, GuideAddMenu},
    {MenuChannels, ID_REFRESH_GUIDE, Guide, GuideRefreshMenu},
    {MenuChannels, ID_GUIDES, GuideOrder, GuideOrderMenu},
    {MenuChannels, ID_RECORDINGS, Recordings, RecWindowMenu},

    {MenuPlayback, ID_PLAY_PAUSE, MainMenu, MainMenuPlayPause},
    {MenuPlayback, ID_MUTE, MainMenu, MainMenuMute},
    {MenuPlayback, ID_SEPARATOR},
    {MenuPlayback, ID_PAUSE, Timeshift, TimeshiftPauseMenu},
    {MenuPlayback, ID_BACK_TO_LIVE, Timeshift, TimeshiftBackToLiveMenu},
    {MenuPlayback, ID_RECORD, Timeshift, TimeshiftRecordMenu},
    {MenuPlayback, ID_RECORD_BUFFER, Timeshift, TimeshiftRecordBufferMenu},
    {MenuPlayback, ID_SEPARATOR},
    {MenuPlayback, ID_FULL_SCREEN, MainMenu, MainMenuFullScreen},
    {MenuPlayback, ID_ORIGINAL_SIZE, MainMenu, MainMenuOriginalSize, OriginalSize},
    {MenuPlayback, ID_FIT_TO_WINDOW, MainMenu, MainMenuFitToWindow, FitToWindow},

    {MenuOptions, ID_HIDE_CONTROL, MainMenu, MainMenuHideControl, HideControl},
    {MenuOptions, ID_HIDE_MENU, MainMenu, MainMenuHideMenu, HideMenu},
    {MenuOptions, ID_SEPARATOR},
    {MenuOptions, ID_ALWAYS_ON_TOP, MainMenu, MainMenuAlwaysOnTop, AlwaysOnTop},
    {MenuOptions, ID_SHOW_HIDDEN, Privacy, PrivShowHiddenMenu, StartsUnchecked},
    {MenuOptions, ID_SEPARATOR},
    {MenuOptions, ID_LANGUAGE, MainMenu, MainMenuLanguage},
    {MenuOptions, ID_PREFERENCES, Preferences, PrefPreferencesMenu},

    {MenuHelp, ID_SHORTCUTS, Preferences, PrefShortcutsMenu},
    {MenuHelp, ID_SEPARATOR},
    {MenuHelp, ID_ABOUT, MainMenu, MainMenuAbout},
    {MenuHelp, ID_DONATE, MainMenu, MainMenuDonate},

    {MenuContext, ID_CHANNELS, ContexMenu, ContextShowChannels},
    {MenuContext, ID_FIND_CHANNEL, Playlists, PlaylistFindMenu},
    {MenuContext, ID_ADD_PLAYLIST, Playlists, PlaylistAddMenu},
    {MenuContext, ID_ADD_ACCOUNT, Accounts, AccountsAddItem},
    {MenuContext, ID_GUIDE, Guide, GuideMenu},
    {MenuContext, ID_SEPARATOR},
    {MenuContext, ID_PLAY_PAUSE, ContexMenu, ContextPlayPause},
    {MenuContext, ID_MUTE, ContexMenu, ContextMute},
    {MenuContext, ID_SEPARATOR},
    {MenuContext, ID_PAUSE, Timeshift, TimeshiftPauseMenu},
    {MenuContext, ID_BACK_TO_LIVE, Timeshift, TimeshiftBackToLiveMenu},
    {MenuContext, ID_RECORD, Timeshift, TimeshiftRecordMenu},
    {MenuContext, ID_RECORD_BUFFER, Timeshift, TimeshiftRecordBufferMenu},
    {MenuContext, ID_SEPARATOR},
    {MenuContext, ID_FULL_SCREEN, ContexMenu, ContextFullScreen},
    {MenuContext, ID_ORIGINAL_SIZE, ContexMenu, ContextOriginalSize, OriginalSize},
    {MenuContext, ID_FIT_TO_WINDOW, ContexMenu, ContextFitToWindow, FitToWindow},
    {MenuContext, ID_SEPARATOR},
    {MenuContext, ID_HIDE_CONTROL, ContexMenu, ContextHideControl, HideControl},
    {MenuContext, ID_HIDE_MENU, ContexMenu, ContextHideMenu, HideMenu},
    {MenuContext, ID_SEPARATOR},
    {MenuContext, ID_ALWAYS_ON_TOP, ContexMenu, ContextAlwaysOnTop, AlwaysOnTop},
    {MenuContext, ID_SHOW_HIDDEN, Privacy, PrivShowHiddenMenu, StartsUnchecked},
    {MenuContext, ID_SEPARATOR},
    // The context menu is the keyboard's way to every command: the bar's own texts serve
    // where the context menu's group has none.
    {MenuContext, ID_LANGUAGE, MainMenu, MainMenuLanguage},
    {MenuContext, ID_PREFERENCES, Preferences, PrefPreferencesMenu},
    {MenuContext, ID_SEPARATOR},
    {MenuContext, ID_SHORTCUTS, Preferences, PrefShortcutsMenu},
    {MenuContext, ID_ABOUT, MainMenu, MainMenuAbout},
    {MenuContext, ID_DONATE, ContexMenu, ContextDonate},
};
// The names of the commands that keys reach and no menu shows.
struct CommandText
{
    int command;
    LanguageGroup group;
    int entry;
};

const CommandText kUnlistedNames[] = {
    {ID_LEAVE_FULL_SCREEN, Preferences, PrefLeaveFullScreen},
    {ID_MENU_BAR, Preferences, PrefMenuBar},
    {ID_PREVIOUS_CHANNEL, Preferences, PrefPreviousChannel},
    {ID_NEXT_CHANNEL, Preferences, PrefNextChannel},
    {ID_RESUME, Preferences, PrefResume},
    {ID_STEP_BACK, Preferences, PrefStepBack},
    {ID_STEP_FORWARD, Preferences, PrefStepForward},
    {ID_MINUTE_BACK, Preferences, PrefMinuteBack},
    {ID_MINUTE_FORWARD, Preferences, PrefMinuteForward},
    {ID_CHANNEL_PLAY, ChannelsDialog, ChannelsPlaySelected},
    {ID_FAVORITES_ADD, ChannelsDialog, ChannelsAddFavorite},
    {ID_FAVORITES_REMOVE, ChannelsDialog, ChannelsRemoveFavorite},
    {ID_FAVORITES_UP, ChannelsDialog, ChannelsMoveUp},
    {ID_FAVORITES_DOWN, ChannelsDialog, ChannelsMoveDown},
    {ID_CHANNEL_MENU, Preferences, PrefChannelMenu},
    {ID_FILM_START, Preferences, PrefFilmStart},
};

const QString kDialogDots = QStringLiteral("...");
} // namespace

std::span<const KeyBinding> KeyBindings()
{
    return kBindings;
}

std::span<const MenuRow> MenuRows()
{
    return kRows;
}

int CommandOfKey(KeyPlace place, QKeyCombination pressed)
{
    // The keypad's Enter and digits carry a modifier of their own, which never counts.
    const QKeyCombination key(pressed.keyboardModifiers() & ~Qt::KeypadModifier, pressed.key());
    for (const KeyBinding& binding : kBindings) {
        if ((binding.places & place) != 0 && binding.key == key)
            return binding.command;
    }
    if (place != OnPicture)
        return 0;
    const Qt::Key bare = key.key();
    for (const KeyBinding& binding : kBindings) {
        if ((binding.places & OnPicture) != 0 && binding.anyModifiers && binding.key.key() == bare)
            return binding.command;
    }
    return 0;
}

QKeyCombination ShownKeyOf(int command)
{
    for (const KeyBinding& binding : kBindings) {
        if (binding.command == command && (binding.places & OnWindow) != 0)
            return binding.key;
    }
    return Qt::Key_unknown;
}

QString CommandName(const LanguageStrings& texts, int command)
{
    for (const CommandText& name : kUnlistedNames) {
        if (name.command == command)
            return texts.Text(name.group, name.entry);
    }
    for (const MenuRow& row : kRows) {
        if (row.command != command)
            continue;
        QString text = texts.Text(row.group, row.entry);
        if (text.endsWith(kDialogDots))
            text.chop(kDialogDots.size());
        return text;
    }
    return {};
}
