#pragma once
// SIGTERM, SIGINT and SIGHUP (the session ending, a system shutdown, kill) are turned into
// a call on the user-interface thread, so the program can close as if the user had closed
// it and save what it holds. The signal handler itself only writes a byte to a pipe.

#include <functional>

void InstallTerminationHandler(std::function<void()> onTerminate);
