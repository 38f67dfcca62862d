#include "PlaybackControl.h"

#include "CPanelPlay.h"
#include "CWMPWindow.h"
#include "CommandId.h"
#include "FilmControls.h"
#include "LiveControls.h"
#include "Settings.h"
#include "SkinColours.h"
#include "StatusLine.h"
#include "WinApp.h"
#include "Zapper.h"

#include <QMetaObject>

namespace {
constexpr double kMicrosecondsPerSecond = 1e6;
} // namespace

PlaybackControl::PlaybackControl(CWMPWindow& player, CPanelPlay& panel, Settings& settings, LiveControls& live,
                                 FilmControls& films, StatusLine& status, Zapper& zapper)
    : player(player), panel(panel), settings(settings), live(live), films(films), status(status), zapper(zapper)
{
}

void PlaybackControl::Start(const ChannelRequest& request)
{
    if (gate && !gate(request))
        return;
    CatchInvalidArgument([&] {
        status.ShowConnecting(request);
        current = request;
        playEnabled = playing = true;
        panel.EnablePlayButton();
        const quint64 start = ++starts;
        QMetaObject::invokeMethod(this, [this, start, request] { Load(start, request); }, Qt::QueuedConnection);
    });
}

void PlaybackControl::Load(quint64 start, const ChannelRequest& request)
{
    if (start != starts)
        return; // a later start is on its way
    // In full screen nothing else tells the viewer which channel the zap reached.
    if (player.IsFullScreen())
        player.ShowTitle(request.name, kSkinTextColour);
    player.PlayURL(request, films.Starting(request));
    emit Started(request);
}

bool PlaybackControl::FilmUnderway() const
{
    return films.Playing() && shown.Underway();
}

void PlaybackControl::PlayStopRequested(PlayStop request)
{
    if (FilmUnderway()) {
        films.SetPaused(request == PlayStop::Stop);
        return;
    }
    if (request == PlayStop::Stop && films.CancelNext())
        return;
    playing = request == PlayStop::Play;
    if (playing)
        PlayAgain();
    else
        player.Stop();
}

// A film stopped goes on where it was stopped; anything else starts again.
void PlaybackControl::PlayAgain()
{
    const double at = films.Starting(current);
    if (at >= 0)
        player.PlayURL(current, at);
    else
        player.Play();
}

void PlaybackControl::PlayPause()
{
    if (!playEnabled)
        return;
    if (FilmUnderway()) {
        films.TogglePause();
        panel.SetPaused(films.Paused());
        return;
    }
    if (playing && films.CancelNext())
        return;
    if (playing) {
        Stop();
        return;
    }
    playing = true;
    panel.SetPaused(false);
    PlayAgain();
}

void PlaybackControl::Stop()
{
    playing = false;
    panel.SetPaused(true);
    player.Stop();
}

void PlaybackControl::Mute(bool muted)
{
    settings.mute = muted ? 1 : 0;
    player.SetMute(settings.mute);
}

void PlaybackControl::ToggleMute()
{
    settings.mute = !settings.mute;
    panel.SetMuted(settings.mute);
    player.SetMute(settings.mute);
}

void PlaybackControl::SetVolume(int volume)
{
    settings.volume = volume;
    player.storedVolume = volume;
    player.SetVolume(volume);
    emit VolumeChanged(volume);
}

void PlaybackControl::Zap(int step)
{
    zapper.Zap(step, current);
}

bool PlaybackControl::CanZap() const
{
    return zapper.CanZap();
}

bool PlaybackControl::PlayNumber(int number)
{
    return zapper.PlayNumber(number);
}

void PlaybackControl::ShowPlayState(const PlayState& state)
{
    shown = state;
    playing = state.Underway();
}

void PlaybackControl::Command(int id)
{
    if (!films.Command(id))
        live.Command(id, current);
}

void PlaybackControl::RaiseFromDesktop()
{
    emit RaiseRequested();
}

void PlaybackControl::QuitFromDesktop()
{
    emit QuitRequested();
}

void PlaybackControl::PlayPauseFromDesktop()
{
    if (FilmUnderway())
        films.TogglePause();
    else if (live.Paused() || (live.CanSeek() && playing))
        live.Command(ID_PAUSE, current);
    else
        PlayPause();
}

void PlaybackControl::PlayFromDesktop()
{
    if (FilmUnderway())
        films.SetPaused(false);
    else if (live.Paused())
        live.Command(ID_RESUME, current);
    else if (!playing)
        PlayPause();
}

void PlaybackControl::PauseFromDesktop()
{
    if (FilmUnderway())
        films.SetPaused(true);
    else if (live.CanSeek())
        live.Command(ID_PAUSE, current);
    else
        StopFromDesktop();
}

void PlaybackControl::SeekFromDesktop(qint64 offset)
{
    if (FilmUnderway())
        films.SeekTo(films.Position() + double(offset) / kMicrosecondsPerSecond);
    else
        live.SeekByUs(offset);
}

void PlaybackControl::SetPositionFromDesktop(qint64 position)
{
    if (!FilmUnderway())
        live.SeekToUs(position);
    else if (position >= 0 && double(position) <= films.Length() * kMicrosecondsPerSecond)
        films.SeekTo(double(position) / kMicrosecondsPerSecond); // out of range: ignored, as the desktop expects
}

void PlaybackControl::StopFromDesktop()
{
    films.CancelNext();
    if (playing)
        Stop(); // a film too: the desktop's Stop is no pause
}

void PlaybackControl::ZapFromDesktop(int step)
{
    Zap(step);
}

void PlaybackControl::SetVolumeFromDesktop(int volume)
{
    panel.SetVolume(volume);
    SetVolume(volume);
}
