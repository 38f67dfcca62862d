#include "LogCategories.h"

Q_LOGGING_CATEGORY(lcApp, "korvanta.app", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPlayer, "korvanta.player", QtWarningMsg)
Q_LOGGING_CATEGORY(lcEngine, "korvanta.engine", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPlaylists, "korvanta.playlists", QtWarningMsg)
Q_LOGGING_CATEGORY(lcDesktop, "korvanta.desktop", QtWarningMsg)
Q_LOGGING_CATEGORY(lcGuide, "korvanta.guide", QtWarningMsg)
Q_LOGGING_CATEGORY(lcRecording, "korvanta.recording", QtWarningMsg)
Q_LOGGING_CATEGORY(lcTimeshift, "korvanta.timeshift", QtWarningMsg)
Q_LOGGING_CATEGORY(lcFilms, "korvanta.films", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSchedule, "korvanta.schedule", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPlanner, "korvanta.planner", QtWarningMsg)
