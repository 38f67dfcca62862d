#pragma once
// Names of the entries of the language groups the main window reads, in the order a pack
// lists them.

// MainMenu: the four menu-bar titles, then the items of their menus.
enum MainMenuEntry : int {
    MainMenuTitleChannels,
    MainMenuTitlePlayback,
    MainMenuTitleOptions,
    MainMenuTitleHelp,
    MainMenuShowChannels,
    MainMenuPlayPause,
    MainMenuMute,
    MainMenuFullScreen,
    MainMenuOriginalSize,
    MainMenuFitToWindow,
    MainMenuHideControl,
    MainMenuHideMenu,
    MainMenuAlwaysOnTop,
    MainMenuLanguage,
    MainMenuAbout,
    MainMenuDonate,
};

enum ContextMenuEntry : int {
    ContextShowChannels,
    ContextPlayPause,
    ContextMute,
    ContextFullScreen,
    ContextOriginalSize,
    ContextFitToWindow,
    ContextHideControl,
    ContextHideMenu,
    ContextAlwaysOnTop,
    ContextDonate,
};

enum ChannelsDialogEntry : int {
    ChannelsCaption,
    ChannelsTreeTab,
    ChannelsFavoritesTab,
    ChannelsPlay,
    ChannelsPlaySelected,
    ChannelsAddFavorite,
    ChannelsRemoveFavorite,
    ChannelsMoveUp,
    ChannelsMoveDown,
};

enum StatusEntry : int {
    StatusReady,
    StatusStopped,
    StatusConnecting,
    StatusWaiting,
    StatusBuffering,
    StatusUnavailable,
};
