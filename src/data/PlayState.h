#pragma once
// What the player is doing, published whole: the state (numbered as the main window has
// always known the player's states), why a channel is unavailable, and the request the
// state belongs to. The status line, the play panel, the window title, the desktop's
// media controls and the screensaver inhibitor each take what they show from it.

#include "ChannelRequest.h"
#include "UnavailableReason.h"

enum PlayStateCode : int {
    PLAYSTATE_UNDEFINED = 0,
    PLAYSTATE_STOPPED = 1,
    PLAYSTATE_PLAYING = 3,
    PLAYSTATE_BUFFERING = 6,
    PLAYSTATE_MEDIA_ENDED = 8,
    PLAYSTATE_TRANSITIONING = 9,
    PLAYSTATE_READY = 10, // also: the channel is unavailable
    PLAYSTATE_RECONNECTING = 11,
};

struct PlayState
{
    PlayStateCode state = PLAYSTATE_UNDEFINED;
    UnavailableReason reason = UnavailableReason::None; // with PLAYSTATE_READY
    ChannelRequest request;
    bool rebuffering = false; // buffering again after frames flowed

    // Frames flow, or a playing channel refills its buffer: the viewer is watching.
    bool Watched() const { return state == PLAYSTATE_PLAYING || rebuffering; }
    // A channel is on its way or plays, so the play button offers to stop it.
    bool Underway() const
    {
        return state == PLAYSTATE_TRANSITIONING || state == PLAYSTATE_BUFFERING || state == PLAYSTATE_PLAYING ||
               state == PLAYSTATE_RECONNECTING;
    }
    // Nothing of the channel is shown any more: stopped, ended or unavailable.
    bool Ended() const
    {
        return state == PLAYSTATE_STOPPED || state == PLAYSTATE_MEDIA_ENDED || state == PLAYSTATE_READY;
    }
};
