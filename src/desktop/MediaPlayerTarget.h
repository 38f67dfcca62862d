#pragma once
// What the desktop's media controls may ask of the player window. The window carries out
// each request exactly as its own controls would.

#include <QtGlobal>

class MediaPlayerTarget
{
public:
    virtual void RaiseFromDesktop() = 0;
    virtual void QuitFromDesktop() = 0;
    // The play panel's button: plays when stopped, stops when playing.
    virtual void PlayPauseFromDesktop() = 0;
    virtual void PlayFromDesktop() = 0;
    virtual void StopFromDesktop() = 0;
    // Pauses a live channel, which goes on reading into its timeshift buffer; without a
    // buffer, stops as StopFromDesktop.
    virtual void PauseFromDesktop() = 0;
    // Within the timeshift buffer, in microseconds: by offset, or to a point counted from
    // its oldest.
    virtual void SeekFromDesktop(qint64 offset) = 0;
    virtual void SetPositionFromDesktop(qint64 position) = 0;
    // +1 the next channel of the list the current one was started from, -1 the previous.
    virtual void ZapFromDesktop(int step) = 0;
    // 0..100, as the volume slider.
    virtual void SetVolumeFromDesktop(int volume) = 0;

protected:
    ~MediaPlayerTarget() = default;
};
