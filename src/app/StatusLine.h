#pragma once
// The status line's words: what the player is doing with the channel played (connecting,
// buffering with its progress, the channel with its programme, paused or behind live,
// unavailable and why), and the card that takes the picture's place once a channel ended.

#include "LanguageStrings.h"
#include "PlayState.h"

#include <QBasicTimer>
#include <QObject>
#include <QString>

class CWMPWindow;
class FilmControls;
class LiveControls;
class OnAir;

class StatusLine : public QObject
{
    Q_OBJECT
public:
    static constexpr int kBufferingPeriodMs = 200;

    StatusLine(const LanguageStrings& texts, const LiveControls& live, const FilmControls& films, const OnAir& onAir,
               CWMPWindow& player);

    // The player's state; buffering shows its progress, a tick at a time.
    void ShowPlayState(const PlayState& state);
    // A channel was asked for: connecting, before the player says anything.
    void ShowConnecting(const ChannelRequest& request);
    // The programme on the channel played, pauses, seeks and recordings changed.
    void ShowPlayingAgain();
    // The state shown again, in the texts now loaded.
    void ShowAgain();
    // A word of something else than the channel, until the player's state changes.
    void ShowNotice(const QString& notice) { SetText(notice); }

    const QString& Text() const { return text; }
    // The text ends with a reason, which is to be read whole.
    bool NamesReason() const { return namesReason; }
    bool IsBufferingTimerActive() const { return bufferingTimer.isActive(); }

signals:
    void Changed();

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void Show(const PlayState& state);
    void ShowBuffering();
    void ShowCard(const PlayState& state);
    void SetText(const QString& newText, bool withReason = false);
    // The unavailable text, followed by the reason when there is one.
    QString UnavailableText(UnavailableReason reason) const;
    const QString& String(int index) const;

    const LanguageStrings& texts;
    const LiveControls& live;
    const FilmControls& films;
    const OnAir& onAir;
    CWMPWindow& player;
    PlayState shown;            // the player's last report
    PlayState status;           // whose text the line shows, unless buffering
    bool showsBuffering = false;
    QString text;
    bool namesReason = false;
    QBasicTimer bufferingTimer;
};
