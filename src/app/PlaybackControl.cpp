#include "PlaybackControl.h"

#include "CPanelPlay.h"
#include "CWMPWindow.h"
#include "CommandId.h"
#include "LiveControls.h"
#include "Settings.h"
#include "SkinColours.h"
#include "StatusLine.h"
#include "WinApp.h"
#include "Zapper.h"

#include <QMetaObject>

PlaybackControl::PlaybackControl(CWMPWindow& player, CPanelPlay& panel, Settings& settings, LiveControls& live,
                                 StatusLine& status, Zapper& zapper)
    : player(player), panel(panel), settings(settings), live(live), status(status), zapper(zapper)
{
}

void PlaybackControl::Start(const ChannelRequest& request)
{
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
    player.PlayURL(request);
    emit Started(request);
}

void PlaybackControl::PlayStopRequested(PlayStop request)
{
    playing = request == PlayStop::Play;
    if (playing)
        player.Play();
    else
        player.Stop();
}

void PlaybackControl::PlayPause()
{
    if (!playEnabled)
        return;
    playing = !playing;
    panel.SetPaused(!playing);
    if (playing)
        player.Play();
    else
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
    if (live.Paused() || (live.CanSeek() && playing))
        live.Command(ID_PAUSE, current);
    else
        PlayPause();
}

void PlaybackControl::PlayFromDesktop()
{
    if (live.Paused())
        live.Command(ID_RESUME, current);
    else if (!playing)
        PlayPause();
}

void PlaybackControl::PauseFromDesktop()
{
    if (live.CanSeek())
        live.Command(ID_PAUSE, current);
    else
        StopFromDesktop();
}

void PlaybackControl::SeekFromDesktop(qint64 offset)
{
    live.SeekByUs(offset);
}

void PlaybackControl::SetPositionFromDesktop(qint64 position)
{
    live.SeekToUs(position);
}

void PlaybackControl::StopFromDesktop()
{
    if (playing)
        PlayPause();
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
