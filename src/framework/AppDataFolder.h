#pragma once

#include <QString>

// The user's application data folder: %APPDATA% on Windows, otherwise $XDG_CONFIG_HOME,
// or ~/.config when that is unset or not absolute. The program's own folder lies below it.
QString GetAppDataFolder();
