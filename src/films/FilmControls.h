#pragma once
// An entry of the viewer's playlists that the engine finds to have a length and to seek is
// played as a film: pause and resume in place of stop, jumps by the seek keys and the bar,
// its place kept every few seconds and at every end, resumed a little before it, a mark
// once watched, and the next episode of a series after a countdown. Live channels, the
// built-in ones and archives are none of its business.

#include "ChannelRequest.h"
#include "FilmPlaces.h"
#include "LanguageStrings.h"
#include "PlayState.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

class MpvPlayer;

class FilmControls : public QObject
{
    Q_OBJECT
public:
    static constexpr double kSaveEverySeconds = 10;
    static constexpr double kResumeBeforeSeconds = 5;
    static constexpr double kWatchedShare = 0.9;
    static constexpr double kWatchedTailSeconds = 180;
    // Shorter than this, the last minutes are too much of it to count as its end.
    static constexpr double kWatchedTailFromSeconds = 900;
    static constexpr int kCountdownSeconds = 10;
    static constexpr int kOfferMs = 5000;
    static constexpr int kTickMs = 500;

    FilmControls(MpvPlayer& engine, FilmPlaces& places, const LanguageStrings& texts);

    // What follows an episode (an empty request: nothing) and a film's poster address.
    using NextOf = std::function<ChannelRequest(const ChannelRequest&)>;
    using PosterOf = std::function<QString(const ChannelRequest&)>;
    void SetCatalogue(NextOf next, PosterOf poster);

    // request is handed to the player: where it starts, in seconds (below 0: its beginning).
    // What played before keeps its place.
    double Starting(const ChannelRequest& request);
    void ShowPlayState(const PlayState& state);
    // Keeps the place of what plays (at exit) and waits until it is on disk.
    void Leave();

    // A film plays (or is paused) now.
    bool Playing() const { return film; }
    bool Paused() const;
    double Position() const { return position; }
    double Length() const { return length; }
    bool CountingDown() const { return countdown.isActive(); }

    // The viewer's commands on a film (CommandId); false when no film plays or the command
    // is none of a film's.
    bool Command(int id);
    void TogglePause();
    void SetPaused(bool paused);
    void SeekTo(double seconds);
    // Escape or Stop while the next episode is counted down: it does not start.
    bool CancelNext();

    // The status line: the title, where it plays and its length, or the offer to start over.
    QString StatusText(const QString& name) const;

signals:
    // Where it plays, its length or its pause changed.
    void Changed();
    // A jump, for the desktop's controls, in seconds from the start.
    void Seeked(double seconds);
    // The countdown's text over the picture; empty when it ended or was cancelled.
    void CountdownChanged(const QString& text);
    void StartRequested(const ChannelRequest& request);

private:
    void Tick();
    void Detected();
    void Keep(bool quiet);
    void Ended();
    void CountDown();
    bool ReachedWatched() const;

    MpvPlayer& engine;
    FilmPlaces& places;
    const LanguageStrings& texts;
    NextOf nextOf;
    PosterOf posterOf;
    ChannelRequest request; // a candidate: an own, live-addressed entry; else empty
    QString key;
    bool film = false;
    bool watched = false;
    double position = 0;
    double length = 0;
    double resumedAt = -1; // where this start went on from a kept place
    QElapsedTimer sinceSaved;
    QTimer ticker;
    QTimer offer;
    QTimer countdown;
    int secondsLeft = 0;
    ChannelRequest next;
};
