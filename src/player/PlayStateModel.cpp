#include "PlayStateModel.h"

#include <algorithm>

namespace {
constexpr int kKeep = -1;            // the published state stays as it is
constexpr int kPlayingIfStarted = -2; // playing once frames have flowed, else unchanged

struct Row
{
    PlayerEvent event;
    int state;
};

constexpr Row kTable[] = {
    {PlayerEvent::Open, PLAYSTATE_TRANSITIONING},
    {PlayerEvent::Reopen, PLAYSTATE_RECONNECTING},
    {PlayerEvent::StartFile, kKeep}, // transitioning, or reconnecting on a re-open
    {PlayerEvent::FileLoaded, PLAYSTATE_BUFFERING},
    {PlayerEvent::PlaybackRestart, PLAYSTATE_PLAYING},
    {PlayerEvent::CacheStarved, PLAYSTATE_BUFFERING},
    {PlayerEvent::CacheRefilled, kPlayingIfStarted},
    {PlayerEvent::Stop, PLAYSTATE_STOPPED},
    {PlayerEvent::FiniteEnd, PLAYSTATE_MEDIA_ENDED},
    {PlayerEvent::ConnectionLost, PLAYSTATE_RECONNECTING},
    {PlayerEvent::OpenFailed, PLAYSTATE_READY},
    {PlayerEvent::GaveUp, PLAYSTATE_READY},
};

int TableState(PlayerEvent event)
{
    for (const auto& row : kTable) {
        if (row.event == event)
            return row.state;
    }
    return kKeep;
}
} // namespace

bool PlayStateModel::Apply(PlayerEvent event)
{
    if (event == PlayerEvent::PlaybackRestart)
        restarted = true;
    else if (event != PlayerEvent::CacheStarved && event != PlayerEvent::CacheRefilled)
        restarted = false;
    if (event == PlayerEvent::Open)
        progress = 0;

    int next = TableState(event);
    if (next == kPlayingIfStarted)
        next = restarted ? PLAYSTATE_PLAYING : kKeep;
    if (next == kKeep || next == state)
        return false;
    state = static_cast<PlayStateCode>(next);
    return true;
}

void PlayStateModel::SetBufferingProgress(int percent)
{
    progress = std::clamp(percent, 0, 100);
}
