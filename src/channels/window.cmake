# korvanta_channels: the channel window, its fixed channel tree and its built-in icons.

add_library(korvanta_channels STATIC
    CChannelDlg.cpp
    ChannelSearch.cpp
    ChannelIcons.cpp
    ChannelIcons.qrc
    ChannelItemDelegate.cpp
    ChannelTreeLayout.cpp
    GuideChannelFeed.cpp
    GuideChannels.cpp
    GuideTree.cpp
    PlaylistTree.cpp
    ProgrammeSearch.cpp
    SearchNameFeed.cpp
    SearchPanel.cpp
    SearchResultModel.cpp
    TurnSlicer.cpp
    ZapList.cpp
)
target_include_directories(korvanta_channels PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(korvanta_channels PUBLIC korvanta_streams korvanta_catchup korvanta_data korvanta_framework korvanta_guideview korvanta_logos korvanta_playlists Qt6::Widgets)
