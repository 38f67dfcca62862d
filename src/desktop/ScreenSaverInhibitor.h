#pragma once
// Keeps the screen on while a channel plays, and lets it blank while a channel is paused
// in its timeshift buffer, as a stopped one does. The video is drawn through the render API,
// so the engine's own screensaver handling never runs. The session's screensaver service
// is asked for an inhibition (and the cookie given back when playing ends); where there is
// no such service, the X screensaver is reset periodically instead.

#include "PlayState.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <optional>

class ScreenSaverInhibitor : public QObject
{
public:
    // How often the X screensaver is reset without the session service.
    static constexpr int kResetPeriodMs = 30000;

    ScreenSaverInhibitor();
    ~ScreenSaverInhibitor() override;

    // Inhibits while playing is true; anything else ends the inhibition at once.
    void SetPlaying(bool playing);
    // While the viewer watches: frames flow, or a playing channel refills its buffer.
    void ShowPlayState(const PlayState& state);
    // A paused picture does not hold the screen on, though the engine still reads on.
    void ShowPaused(bool paused);

    bool IsInhibiting() const { return cookie.has_value() || resetTimer.isActive(); }
    // Tests shorten the period so as not to wait half a minute for a reset.
    void SetResetPeriod(std::chrono::milliseconds period) { resetTimer.setInterval(period); }

private:
    bool InhibitThroughService();
    void UnInhibitThroughService();
    static void ResetXScreenSaver();

    std::optional<quint32> cookie;
    bool watched = false;
    bool paused = false;
    QTimer resetTimer;
};
