#pragma once
// One logging category per subsystem. Only warnings show by default; the rest is asked
// for at run time, e.g. QT_LOGGING_RULES="korvanta.*.debug=true" for everything or
// QT_LOGGING_RULES="korvanta.player.debug=true" for the player alone.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcApp)       // korvanta.app: start-up and shutdown
Q_DECLARE_LOGGING_CATEGORY(lcPlayer)    // korvanta.player: requests, states, reasons, retries
Q_DECLARE_LOGGING_CATEGORY(lcEngine)    // korvanta.engine: the engine library and its own log
Q_DECLARE_LOGGING_CATEGORY(lcPlaylists) // korvanta.playlists: imports and downloads
Q_DECLARE_LOGGING_CATEGORY(lcDesktop)   // korvanta.desktop: the session bus services
Q_DECLARE_LOGGING_CATEGORY(lcGuide)     // korvanta.guide: guide imports and downloads
Q_DECLARE_LOGGING_CATEGORY(lcRecording) // korvanta.recording: recordings started, stopped, refused
Q_DECLARE_LOGGING_CATEGORY(lcTimeshift) // korvanta.timeshift: the buffer's folder and its files
Q_DECLARE_LOGGING_CATEGORY(lcFilms)     // korvanta.films: saved places, their file, episodes
Q_DECLARE_LOGGING_CATEGORY(lcSchedule)  // korvanta.schedule: reminders kept, due, told
Q_DECLARE_LOGGING_CATEGORY(lcPrivacy)   // korvanta.privacy: hidden and locked places, the PIN's tries
Q_DECLARE_LOGGING_CATEGORY(lcAccounts)  // korvanta.accounts: provider accounts, their answers and refusals
Q_DECLARE_LOGGING_CATEGORY(lcPlanner)   // korvanta.planner: recordings planned, started, ended
