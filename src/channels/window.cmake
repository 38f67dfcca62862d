# korvanta_channels: the channel window and its parts (the tree, the favourites, the search,
# zapping, what is known of each channel) and its built-in icons.

add_library(korvanta_channels STATIC
    ChannelButtons.cpp
    ChannelDirectory.cpp
    ChannelSearch.cpp
    ChannelIcons.cpp
    ChannelIcons.qrc
    ChannelItemDelegate.cpp
    ChannelTree.cpp
    ChannelTreeLayout.cpp
    ChannelTreePrivacy.cpp
    ChannelWindow.cpp
    ChannelWindowFilms.cpp
    ChannelWindowKeys.cpp
    ChannelWindowProgrammes.cpp
    ContinueList.cpp
    Favorites.cpp
    FavoritesList.cpp
    GuideChannelFeed.cpp
    GuideChannels.cpp
    GuideTree.cpp
    NextReminder.cpp
    PlaylistDrops.cpp
    PlaylistTree.cpp
    PlaylistTreePrivacy.cpp
    ProgrammeSearch.cpp
    SearchController.cpp
    SearchNameFeed.cpp
    SearchPanel.cpp
    SearchResultModel.cpp
    TreePrivacyShape.cpp
    TurnSlicer.cpp
    Zapper.cpp
)
target_include_directories(korvanta_channels PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(korvanta_channels PUBLIC korvanta_streams korvanta_catchup korvanta_data korvanta_framework korvanta_guideview korvanta_logos korvanta_playlists korvanta_films korvanta_privacy Qt6::Widgets)
