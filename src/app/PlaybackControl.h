#pragma once
// The one place that starts, stops, mutes, sets the volume and zaps, holding the one
// current state: the channel started last, whether it plays, the sound. The play panel,
// the keys, the menus and the desktop's media controls all ask it.

#include "MediaPlayerTarget.h"
#include "PlayState.h"

#include <QObject>

#include <functional>

class CPanelPlay;
class CWMPWindow;
class FilmControls;
class LiveControls;
class StatusLine;
class Zapper;
struct Settings;
enum class PlayStop;

class PlaybackControl : public QObject, public MediaPlayerTarget
{
    Q_OBJECT
public:
    PlaybackControl(CWMPWindow& player, CPanelPlay& panel, Settings& settings, LiveControls& live, FilmControls& films,
                    StatusLine& status, Zapper& zapper);

    // Shows "connecting" at once and hands the request to the player on the next turn of the
    // event loop, once that has painted; a channel started meanwhile wins. Nothing starts
    // when the status line's texts are missing.
    void Start(const ChannelRequest& request);
    // Asked before every start: false keeps what plays (a locked channel whose PIN was not
    // given).
    void SetGate(std::function<bool(const ChannelRequest&)> mayStart) { gate = std::move(mayStart); }
    // The play panel's button: a film pauses and resumes, a channel stops and plays.
    void PlayStopRequested(PlayStop request);
    // Space and the menus: pauses or resumes a film; stops what else plays, plays again
    // what was stopped; nothing before any channel was started.
    void PlayPause();
    void Mute(bool muted);
    void ToggleMute();
    void SetVolume(int volume);
    void Zap(int step);
    bool CanZap() const;
    bool PlayNumber(int number);
    // The player's state: what plays, and what the play button offers.
    void ShowPlayState(const PlayState& state);
    // A command on the live channel (pause, rewind, record, tracks).
    void Command(int id);

    const ChannelRequest& Current() const { return current; }
    // What the player said last of the channel it plays.
    const PlayState& State() const { return shown; }
    quint64 Starts() const { return starts; }

    void RaiseFromDesktop() override;
    void QuitFromDesktop() override;
    void PlayPauseFromDesktop() override;
    void PlayFromDesktop() override;
    void StopFromDesktop() override;
    void PauseFromDesktop() override;
    void SeekFromDesktop(qint64 offset) override;
    void SetPositionFromDesktop(qint64 position) override;
    void ZapFromDesktop(int step) override;
    void SetVolumeFromDesktop(int volume) override;

signals:
    // The player has the request.
    void Started(const ChannelRequest& request);
    void VolumeChanged(int volume);
    void RaiseRequested();
    void QuitRequested();

private:
    void Load(quint64 start, const ChannelRequest& request);
    // A film plays on, or is paused: the play commands pause and resume it.
    bool FilmUnderway() const;
    void Stop();
    void PlayAgain();

    CWMPWindow& player;
    CPanelPlay& panel;
    Settings& settings;
    LiveControls& live;
    FilmControls& films;
    StatusLine& status;
    Zapper& zapper;
    ChannelRequest current; // started last
    std::function<bool(const ChannelRequest&)> gate;
    PlayState shown;
    bool playEnabled = false;
    bool playing = false;
    quint64 starts = 0;
};
