#pragma once
// Recording what plays: the engine copies the streams it has read, without re-encoding,
// from a point of its buffer on and on as it reads, into one file per recording. Opening
// the same channel again (a reconnect) goes on in the same file; another channel, a stop
// or the end of the program ends the recording. A stopped recording ends where the viewer
// was, not where the engine had read to.

#include "EngineTimeshift.h"
#include "RecordingFile.h"
#include "RecordingPlace.h"

#include <utility>

#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

struct mpv_handle;
struct mpv_event;

class EngineRecorder
{
public:
    // reading: where the engine plays and has read to, as it last told.
    EngineRecorder(RecordingPlace place, std::function<EngineReading()> reading);
    // Once the engine has ended: every recording's file is complete when this returns.
    ~EngineRecorder() = default;

    void Attach(mpv_handle* engine) { this->engine = engine; }
    // Starts recording channel from the point from (the engine's time) of its buffer; seconds
    // of it are already held. Refused, with nothing started, when the disk has no room.
    RecordingRefusal Start(const QString& channel, double from, double heldSeconds);
    void Stop();
    // The playing channel was opened again: what it reads from now goes on in the file.
    void Reopened();
    // The engine is about to end: a stop still waiting to hear how far it had read asks now.
    void EngineEnding();
    // The engine has ended, and with it all copying: every file is completed.
    void EngineEnded();
    // True for the events that were this one's.
    bool Handle(const mpv_event& event);

    bool Recording() const { return file != nullptr && !stopping; }
    // How much the recording holds so far.
    double Seconds() const;
    // Whether the disk still has room beyond its reserve.
    bool HasRoom() const { return place.HasRoom(); }
    const RecordingPlace& Place() const { return place; }
    // Where the next recording goes; one under way stays where it is.
    void SetPlace(RecordingPlace newPlace) { place = std::move(newPlace); }

private:
    void Dump(double from);
    void End(double unseenSeconds = 0);
    // What the engine had read but not shown when asked to stop.
    double UnseenAtStop() const { return std::max(0.0, atStop.readTo - atStop.playing); }

    RecordingPlace place;
    std::function<EngineReading()> reading;
    mpv_handle* engine = nullptr;
    std::unique_ptr<RecordingFile> file;
    // Ended recordings whose last parts are still being appended.
    std::vector<std::unique_ptr<RecordingFile>> finishing;
    QElapsedTimer clock;
    double heldAtStart = 0;
    bool dumping = false;
    bool stopping = false; // asked the engine to stop copying, awaiting its reply
    EngineReading atStop;
    bool askedReadTo = false; // awaiting how far the engine has read, before copying stops
};
