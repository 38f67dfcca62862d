#pragma once
// The media engine: one libmpv handle, driven from the user-interface thread without
// waiting on it: every command is asynchronous, and libmpv's wakeup callback only queues a
// call here; events and replies are drained on this thread. Live streams that drop or
// stall are re-opened with growing delays, a bounded number of times.

#include "EngineFilm.h"
#include "EngineRecorder.h"
#include "EngineTimeshift.h"
#include "EngineTracks.h"
#include "FailureLog.h"
#include "PlayStateModel.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct mpv_handle;
struct mpv_event_end_file;
struct mpv_event;

struct PlayerTimings
{
    // Much shorter timeouts cut slow segments off and put the sound out of step.
    int networkTimeoutSeconds = 15;
    // A live stream that has played and then buffers this long is re-opened.
    int stallMs = 8000;
    // Delay before the first re-open; it doubles per attempt up to maxRetryMs.
    int firstRetryMs = 1000;
    int maxRetryMs = 8000;
    // Re-open attempts before giving up: about a minute with the delays above and
    // FFmpeg's own reconnects within each attempt.
    int maxAttempts = 6;
    // An address that has not loaded this long after it was asked for is unavailable;
    // until then, answers that may pass (server errors, no answer) are asked again.
    int openDeadlineMs = 10000;
    int openRetryMs = 1000;
};

// Where the timeshift buffer and the recordings go, and the sound and subtitle languages
// the viewer chose before.
struct LivePlaybackSetup
{
    const TimeshiftStore* store = nullptr; // null: the buffer stays in memory
    std::chrono::minutes window{120};
    RecordingPlace recordings{};
    EngineTracks::Languages languages;
};

class MpvPlayer : public QObject
{
public:
    using StateSink = std::function<void(const PlayState& state)>;

    explicit MpvPlayer(const PlayerTimings& timings = {});
    ~MpvPlayer() override;

    // Creates and starts the engine; video goes to a render context when withVideo,
    // nowhere otherwise. False when libmpv cannot be created. An address opened before
    // is loaded as soon as the video output is ready.
    bool Create(bool withVideo);
    // Teardown is in two steps so that the render context can be freed in between.
    void UnhookWakeup();
    void Destroy();
    mpv_handle* Handle() const { return handle; }

    // Addresses are held back while there is no engine or the video output is not ready.
    void SetVideoReady(bool ready);
    void SetStateSink(StateSink stateSink) { sink = std::move(stateSink); }
    // Before Create.
    void SetUpLivePlayback(const LivePlaybackSetup& setup);
    // The viewer's preferences, at any time: from the next channel opened, or at once.
    void SetHardwareDecoding(bool automatic);
    void SetTimeshiftWindow(std::chrono::minutes window);
    void SetTimeshiftOnDisk(bool onDisk);
    void SetPreferredLanguages(const QStringList& audio, const QStringList& subtitles);
    void SetRecordingFolder(const QString& folder);
    // Sent with the channels that name no user agent of their own; empty: the engine's.
    void SetDefaultUserAgent(const QString& agent) { defaultUserAgent = agent; }
    // What an address that hides its password becomes when it leaves for the server; only
    // the engine is given that, the log and everything shown keep the hidden one.
    void SetAddressRevealer(std::function<QString(const QString&)> reveal) { revealer = std::move(reveal); }

    // Opens and plays the request's address, its headers going with it and with no other's.
    // A film may start at a point, in seconds (below 0: at its beginning).
    void Open(const ChannelRequest& request, double startAt = -1);
    // The last request again, headers and all, unless it is on its way or plays.
    void Resume();
    void Stop();
    void SetVolume(int volume);
    void SetUnscaled(bool unscaled);

    // Pause, steps and the return to live of the playing channel; its recording; its tracks.
    TimeshiftControl& Shift() { return timeshift->Control(); }
    EngineRecorder& Recorder() { return *recorder; }
    EngineTracks& Tracks() { return *tracks; }
    // Where a film plays, its length; its jumps and pauses.
    EngineFilm& Film() { return film; }
    const EngineFilm& Film() const { return film; }
    // Starts recording the playing channel, named name, from what plays now or from the
    // oldest the buffer holds.
    RecordingRefusal Record(const QString& name, bool fromBuffer);

    PlayStateCode State() const { return model.State(); }
    int BufferingProgress() const { return model.BufferingProgress(); }

private:
    struct EndFile
    {
        int reason;
        int error;
        std::int64_t entry;
        std::int64_t insertedEntry;
    };

    void DrainEvents();
    const char* HardwareDecodingOption() const;
    void HandleEvent(const mpv_event& event);
    void OnEndFile(const EndFile& end);
    void OnLoaded();
    void OnCacheFlag(bool starved);
    void Publish(PlayerEvent event);
    PlayState Published() const;
    // Hands the request to the engine (or keeps it until the engine can take it); false when
    // the engine refused it at once.
    bool Load();
    void OnLoadReply(const mpv_event& reply);
    void Refused();
    void OpenFailed(UnavailableReason why);
    void LetGo();
    void OpenOverdue();
    void RequestLog(const char* level);
    void ConnectionLost();
    void Retry();
    void UpdateStallWatch();
    void ChannelChanged();
    void ReopenFull();
    bool HandleLivePlayback(const mpv_event& event);

    mpv_handle* handle = nullptr;
    PlayerTimings timings;
    PlayStateModel model;
    EngineFilm film;
    double startAt = -1; // where the next load starts, in seconds; below 0: at its beginning
    StateSink sink;
    ChannelRequest request;
    bool videoReady = true;
    bool automaticDecoding = true; // the viewer's preference; off is software alone
    QString defaultUserAgent;
    std::function<QString(const QString&)> revealer;
    QByteArray revealedAddress, hiddenAddress; // of the load under way, for the engine's log
    bool loadPending = false;
    std::uint64_t nextLoad;         // reply number of the next load
    std::uint64_t awaitedLoad = 0;  // the load whose reply names currentEntry; 0 none
    std::int64_t currentEntry = -1; // the playlist entry we asked for last; -1 none
    std::int64_t activeEntry = -1;  // the entry between its start-file and end-file
    bool loaded = false;            // file-loaded seen for the current entry
    bool live = false;              // the current entry cannot seek: a live stream
    bool hasPlayed = false;         // frames flowed since the address was opened
    bool reconnecting = false;
    int attempts = 0;
    FailureLog failureLog;              // what the engine logged for the current entry
    UnavailableReason lastFailure = UnavailableReason::None; // of the last lost attempt
    UnavailableReason reason = UnavailableReason::None;
    QTimer retryTimer;
    QTimer stallTimer;
    QTimer openTimer;
    std::vector<EndFile> pendingEnds;
    std::unique_ptr<EngineTimeshift> timeshift;
    std::unique_ptr<EngineRecorder> recorder;
    std::unique_ptr<EngineTracks> tracks;
};
