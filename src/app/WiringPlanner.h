#pragma once
// The planner's connections, part of the one wiring place.

class App;

// reminders <-> the guide window, the desktop's notifications, the status line
void WireReminders(App& app);
// recordings <-> the guide window, the recordings window, the preferences, the tray
void WireRecordings(App& app);
