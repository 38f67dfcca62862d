#pragma once
// Entry indexes of the Catchup text group, in pack order.

enum CatchupText : int {
    CatchupWatching = 0,  // the status line: %1 the channel (or Paused), %2 the time of day watched
    CatchupProgramme = 1, // the desktop's media controls: %1 the programme, else the channel
};
