#pragma once
// What the engine has observed, turned into the play-state numbers the main window knows.
// The engine adapter classifies libmpv's events and properties into PlayerEvent values;
// the table in the .cpp file gives the published state for each.

#include "PlayState.h"

enum class PlayerEvent {
    Open,            // an address handed over by PlayURL or Play
    Reopen,          // the engine re-opens a lost live stream
    StartFile,       // start-file
    FileLoaded,      // file-loaded: buffering until the first playback-restart
    PlaybackRestart, // playback-restart: frames flow
    CacheStarved,    // paused-for-cache became true
    CacheRefilled,   // paused-for-cache became false
    Stop,            // the stop command, reported at once
    FiniteEnd,       // end-file by end of file of a finite entry
    ConnectionLost,  // a live entry ended or stalled; the engine tries to re-open it
    OpenFailed,      // end-file with an error before the entry loaded
    GaveUp,          // re-opening failed too often
};

class PlayStateModel
{
public:
    // Returns true when the published state changed.
    bool Apply(PlayerEvent event);

    void SetBufferingProgress(int percent);

    PlayStateCode State() const { return state; }
    // Buffering again after frames flowed for the entry in play.
    bool Rebuffering() const { return state == PLAYSTATE_BUFFERING && restarted; }
    int BufferingProgress() const { return progress; }

private:
    PlayStateCode state = PLAYSTATE_UNDEFINED;
    int progress = 0;
    bool restarted = false; // playback-restart seen for the entry in play
};
