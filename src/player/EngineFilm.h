#pragma once
// The engine's side of an entry played as a film: what it says of the entry's length, of
// whether it can seek, of where it plays and whether it is paused; jumps and pauses go to
// the engine without waiting for it.

#include <cstdint>

struct mpv_handle;
struct mpv_event;

class EngineFilm
{
public:
    void Attach(mpv_handle* engine);
    // The entry plays: what it says of itself is followed from now on. Observed from the
    // start, these properties slowed a channel's start to about twice its time.
    void Watch();
    // Another entry is opened, or none plays: nothing is known of it, nor followed.
    void ChannelChanged();
    // True for the events that were this one's.
    bool Handle(const mpv_event& event);

    // The entry has a length and can be sought in by itself, not merely within the cache
    // that holds a live channel's past: a film.
    bool IsFilm() const { return seekable && !cacheSeekable && duration > 0; }
    double Duration() const { return duration; }
    double Position() const { return position; }
    bool Paused() const { return paused; }

    void SeekTo(double seconds);
    void SetPaused(bool pause);

private:
    mpv_handle* engine = nullptr;
    double duration = 0;
    double position = 0;
    bool seekable = false;
    bool cacheSeekable = false;
    bool paused = false;
    bool watching = false;
};
