#include "StatusLine.h"

#include "CWMPWindow.h"
#include "LanguageEntries.h"
#include "FilmControls.h"
#include "LiveControls.h"
#include "OnAir.h"
#include "SkinColours.h"

#include <QTimerEvent>

StatusLine::StatusLine(const LanguageStrings& texts, const LiveControls& live, const FilmControls& films, const OnAir& onAir,
                       CWMPWindow& player)
    : texts(texts), live(live), films(films), onAir(onAir), player(player)
{
}

void StatusLine::ShowPlayState(const PlayState& state)
{
    shown = state;
    if (state.state == PLAYSTATE_BUFFERING)
        bufferingTimer.start(kBufferingPeriodMs, this); // a second report restarts the same timer
    else
        Show(state);
    ShowCard(state);
}

void StatusLine::ShowConnecting(const ChannelRequest& request)
{
    Show({PLAYSTATE_TRANSITIONING, UnavailableReason::None, request, false});
}

void StatusLine::ShowPlayingAgain()
{
    if (shown.state == PLAYSTATE_PLAYING)
        Show(shown);
}

void StatusLine::ShowAgain()
{
    if (showsBuffering)
        ShowBuffering();
    else if (status.state != PLAYSTATE_UNDEFINED)
        Show(status);
    ShowCard(shown);
}

void StatusLine::Show(const PlayState& state)
{
    status = state;
    showsBuffering = false;
    switch (state.state) {
    case PLAYSTATE_STOPPED:
        SetText(String(StatusStopped));
        return;
    case PLAYSTATE_PLAYING: {
        const QString& title = onAir.Title();
        const QString& name = state.request.name;
        if (films.Playing())
            SetText(films.StatusText(name), true); // where it plays is to be read whole
        else
            SetText(live.StatusText(title.isEmpty() ? name : name + QStringLiteral(" \u2013 ") + title, state.request),
                    live.Shifted() || state.request.FromArchive());
        return;
    }
    case PLAYSTATE_TRANSITIONING:
    case PLAYSTATE_RECONNECTING:
        SetText(String(StatusConnecting));
        return;
    case PLAYSTATE_READY:
        SetText(UnavailableText(state.reason), state.reason != UnavailableReason::None);
        return;
    default:
        SetText(String(StatusWaiting));
        return;
    }
}

// A channel that ended leaves no frame behind: its name and the status line's word on why.
void StatusLine::ShowCard(const PlayState& state)
{
    if (state.Ended() && !state.request.IsEmpty())
        player.ShowCard(state.request.name, text, kSkinTextColour);
    else if (state.Underway())
        player.HideCard();
}

void StatusLine::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != bufferingTimer.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    // Stopped first: a text missing from the pack ends this tick with one error box, and a
    // running timer would raise another on every tick while that box is open.
    bufferingTimer.stop();
    if (player.PlayState() != PLAYSTATE_BUFFERING)
        return;
    ShowBuffering();
    bufferingTimer.start(kBufferingPeriodMs, this);
}

void StatusLine::ShowBuffering()
{
    SetText(String(StatusBuffering) + QLatin1Char(' ') + QString::number(player.BufferingProgress()) + QLatin1Char('%'));
    showsBuffering = true;
}

void StatusLine::SetText(const QString& newText, bool withReason)
{
    const bool changed = newText != text || withReason != namesReason;
    text = newText;
    namesReason = withReason;
    if (changed)
        emit Changed();
}

QString StatusLine::UnavailableText(UnavailableReason reason) const
{
    if (reason == UnavailableReason::None)
        return String(StatusUnavailable);
    return String(StatusUnavailable) + QStringLiteral(": ") + texts.Text(StatusReasons, ReasonTextIndex(reason));
}

const QString& StatusLine::String(int index) const
{
    return texts.Text(Status, index);
}
