#include "MpvPlayer.h"

#include "StreamRules.h"
#include "EngineCommands.h"
#include "EngineOptions.h"
#include "LogCategories.h"

#include <mpv/client.h>

#include <QByteArray>

#include <algorithm>
#include <utility>
#include <clocale>

namespace {
// The per-file options of loadfile for the headers; each goes whole, as a value of its own.
EngineCommands::FileOptions HeaderOptions(const StreamHeaders& headers)
{
    EngineCommands::FileOptions options;
    if (!headers.userAgent.isEmpty())
        options.emplace_back("user-agent", headers.userAgent.toUtf8());
    if (!headers.referrer.isEmpty())
        options.emplace_back("referrer", headers.referrer.toUtf8());
    return options;
}

// Reply numbers of the asynchronous requests: the property writes, then one per load.
enum Reply : std::uint64_t { kVolumeWrite = 1, kUnscaledWrite, kFirstLoad };

const char* WrittenProperty(std::uint64_t reply)
{
    return reply == kVolumeWrite ? "volume" : reply == kUnscaledWrite ? "video-unscaled" : "?";
}

enum Observed : std::uint64_t { kPausedForCache = 1, kCacheBufferingState = 2, kSeekable = 3 };

} // namespace

MpvPlayer::MpvPlayer(const PlayerTimings& timings) : timings(timings), nextLoad(kFirstLoad)
{
    SetUpLivePlayback({});
    retryTimer.setSingleShot(true);
    stallTimer.setSingleShot(true);
    openTimer.setSingleShot(true);
    connect(&openTimer, &QTimer::timeout, this, &MpvPlayer::OpenOverdue);
    connect(&retryTimer, &QTimer::timeout, this, &MpvPlayer::Retry);
    connect(&stallTimer, &QTimer::timeout, this, &MpvPlayer::ConnectionLost);
}

MpvPlayer::~MpvPlayer()
{
    UnhookWakeup();
    Destroy();
}

bool MpvPlayer::Create(bool withVideo)
{
    if (handle != nullptr)
        return true;
    // With video, addresses wait for the render context.
    videoReady = !withVideo;
    // libmpv refuses to start under a locale whose decimal separator is not a point.
    std::setlocale(LC_NUMERIC, "C");
    handle = mpv_create();
    if (handle == nullptr)
        return false;

    SetEngineOptions(handle, withVideo, HardwareDecodingOption(), timings.networkTimeoutSeconds);

    if (mpv_initialize(handle) < 0) {
        mpv_destroy(handle);
        handle = nullptr;
        return false;
    }
    mpv_observe_property(handle, kPausedForCache, "paused-for-cache", MPV_FORMAT_FLAG);
    mpv_observe_property(handle, kCacheBufferingState, "cache-buffering-state", MPV_FORMAT_INT64);
    // Observed, not read: when a file has loaded, the engine's core may be waiting for its
    // first picture to be drawn, which this thread does, and a synchronous read then stalled
    // every switch until the engine's 200 ms wait for the drawing ran out.
    mpv_observe_property(handle, kSeekable, "seekable", MPV_FORMAT_FLAG);
    timeshift->Attach(handle);
    recorder->Attach(handle);
    tracks->Attach(handle);
    film.Attach(handle);
    mpv_set_wakeup_callback(
        handle,
        [](void* self) {
            auto* player = static_cast<MpvPlayer*>(self);
            QMetaObject::invokeMethod(player, [player] { player->DrainEvents(); },
                                      Qt::QueuedConnection);
        },
        this);
    // A channel asked for before the engine existed starts now.
    if (loadPending && videoReady)
        Load();
    return true;
}

void MpvPlayer::SetUpLivePlayback(const LivePlaybackSetup& setup)
{
    timeshift = std::make_unique<EngineTimeshift>(setup.store, setup.window, [this] { ReopenFull(); });
    recorder = std::make_unique<EngineRecorder>(setup.recordings, [this] { return timeshift->Reading(); });
    tracks = std::make_unique<EngineTracks>(setup.languages);
}

const char* MpvPlayer::HardwareDecodingOption() const
{
    return automaticDecoding ? SafeHardwareDecoding() : "no";
}

void MpvPlayer::SetHardwareDecoding(bool automatic)
{
    automaticDecoding = automatic;
    if (handle != nullptr) // the engine applies it to the next video it decodes
        mpv_set_property_string(handle, "hwdec", HardwareDecodingOption());
}

void MpvPlayer::SetTimeshiftWindow(std::chrono::minutes window)
{
    timeshift->SetWindow(window);
}

void MpvPlayer::SetTimeshiftOnDisk(bool onDisk)
{
    timeshift->SetOnDisk(onDisk);
}

void MpvPlayer::SetPreferredLanguages(const QStringList& audio, const QStringList& subtitles)
{
    tracks->SetPreferred(audio, subtitles);
}

void MpvPlayer::SetRecordingFolder(const QString& folder)
{
    recorder->SetPlace(RecordingPlace(folder));
}

void MpvPlayer::UnhookWakeup()
{
    if (handle != nullptr)
        mpv_set_wakeup_callback(handle, nullptr, nullptr);
}

void MpvPlayer::Destroy()
{
    retryTimer.stop();
    stallTimer.stop();
    openTimer.stop();
    if (handle == nullptr)
        return;
    mpv_handle* h = handle;
    handle = nullptr;
    recorder->EngineEnding();
    mpv_terminate_destroy(h);
    recorder->EngineEnded();
}

void MpvPlayer::SetVideoReady(bool ready)
{
    videoReady = ready;
    if (videoReady && loadPending)
        Load();
}

void MpvPlayer::Open(const ChannelRequest& asked, double start)
{
    request = asked;
    reconnecting = false;
    hasPlayed = false;
    attempts = 0;
    reason = UnavailableReason::None;
    lastFailure = UnavailableReason::None;
    retryTimer.stop();
    openTimer.start(timings.openDeadlineMs);
    recorder->Stop(); // another channel, or this one again from the start
    ChannelChanged();
    startAt = start;
    // The last gate before the engine: an address it must not see is never shown to it, and
    // what played before ends as with any failed start.
    const UnavailableReason refusal = RefusalOf(request.PlayedAddress(), request.headers.userAgent, request.headers.referrer);
    if (refusal == UnavailableReason::None) {
        // The engine has the address before anyone shows the new channel, so nothing they
        // look up for it holds the load up; one the engine refused at once is never on its way.
        if (Load())
            Publish(PlayerEvent::Open);
        return;
    }
    Publish(PlayerEvent::Open);
    loadPending = false;
    LetGo();
    OpenFailed(refusal);
}

void MpvPlayer::Resume()
{
    if (!request.IsEmpty() && !Published().Underway())
        Open(request);
}

void MpvPlayer::Stop()
{
    retryTimer.stop();
    openTimer.stop();
    reason = UnavailableReason::None;
    reconnecting = false;
    loadPending = false;
    recorder->Stop();
    ChannelChanged();
    LetGo();
    Publish(PlayerEvent::Stop);
}

// Whatever the entry asked for last still does is no longer news; a playing or stalled
// one is stopped.
void MpvPlayer::LetGo()
{
    currentEntry = -1;
    awaitedLoad = 0;
    loaded = false;
    if (handle != nullptr)
        EngineCommands::Stop(handle);
}

RecordingRefusal MpvPlayer::Record(const QString& name, bool fromBuffer)
{
    const TimeshiftControl& shift = timeshift->Control();
    if (!shift.Available())
        return RecordingRefusal::None; // nothing plays
    const double from = fromBuffer ? shift.Oldest() : shift.Position();
    return recorder->Start(name, from, fromBuffer ? shift.PositionFromOldest() : 0);
}

void MpvPlayer::ChannelChanged()
{
    timeshift->ChannelChanged();
    film.ChannelChanged();
}

// The buffer has reached the disk's bounds: the channel starts again with an empty one;
// a recording goes on in its file.
void MpvPlayer::ReopenFull()
{
    qCInfo(lcPlayer) << "timeshift buffer full, reopening" << request.PlayedAddress();
    // A film goes on where it was; a live channel at its live edge.
    const double at = film.IsFilm() ? film.Position() : -1;
    ChannelChanged();
    startAt = at;
    Load();
}

void MpvPlayer::SetVolume(int volume)
{
    if (handle == nullptr)
        return;
    EngineCommands::SetVolume(handle, kVolumeWrite, std::clamp(volume, 0, 100));
}

void MpvPlayer::SetUnscaled(bool unscaled)
{
    if (handle != nullptr)
        EngineCommands::SetString(handle, kUnscaledWrite, "video-unscaled", unscaled ? "downscale-big" : "no");
}

bool MpvPlayer::Load()
{
    loadPending = handle == nullptr || !videoReady;
    if (loadPending)
        return true;
    loaded = false;
    live = false;
    failureLog.Clear();
    RequestLog(FailureLog::kOpeningLevel);
    currentEntry = -1;
    awaitedLoad = nextLoad++;
    qCDebug(lcPlayer) << "loading" << request.PlayedAddress();
    StreamHeaders headers = request.headers;
    if (headers.userAgent.isEmpty())
        headers.userAgent = defaultUserAgent;
    EngineCommands::FileOptions options = HeaderOptions(headers);
    for (const EngineCommands::FileOptions& more : {timeshift->ChannelOptions(), tracks->ChannelOptions()})
        options.insert(options.end(), more.begin(), more.end());
    if (startAt >= 0)
        options.emplace_back("start", QByteArray::number(startAt, 'f', 3));
    startAt = -1;
    hiddenAddress = request.PlayedAddress().toUtf8();
    revealedAddress = revealer ? revealer(request.PlayedAddress()).toUtf8() : hiddenAddress;
    if (EngineCommands::LoadFile(handle, awaitedLoad, revealedAddress, options) >= 0)
        return true;
    Refused();
    return false;
}

void MpvPlayer::OnLoadReply(const mpv_event& reply)
{
    if (awaitedLoad == 0 || reply.reply_userdata != awaitedLoad)
        return; // a stop's, or a load's that was replaced or stopped since
    awaitedLoad = 0;
    currentEntry = EngineCommands::LoadedEntry(reply);
    if (currentEntry == -1)
        Refused();
}

void MpvPlayer::Refused()
{
    // No entry will ever report back, and what played before must not go on under the
    // new channel's name.
    qCInfo(lcPlayer) << "the engine refused" << request.PlayedAddress();
    LetGo();
    if (reconnecting)
        ConnectionLost();
    else
        OpenFailed(UnavailableReason::None);
}

void MpvPlayer::RequestLog(const char* level)
{
    if (handle != nullptr)
        mpv_request_log_messages(handle, level);
}

void MpvPlayer::DrainEvents()
{
    // A handler reached from here may close the engine; check the handle every round.
    while (handle != nullptr) {
        const mpv_event* event = mpv_wait_event(handle, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        HandleEvent(*event);
    }
    // libmpv hands out log messages only after all queued events, so the messages that
    // explain an end of file are read only now.
    const std::vector<EndFile> ends = std::exchange(pendingEnds, {});
    for (const EndFile& end : ends) {
        if (handle == nullptr)
            break;
        OnEndFile(end);
    }
}

void MpvPlayer::HandleEvent(const mpv_event& event)
{
    if (HandleLivePlayback(event))
        return;
    switch (event.event_id) {
    case MPV_EVENT_START_FILE: {
        const auto* start = static_cast<const mpv_event_start_file*>(event.data);
        activeEntry = start->playlist_entry_id;
        if (activeEntry == currentEntry)
            Publish(PlayerEvent::StartFile);
        break;
    }
    case MPV_EVENT_END_FILE: {
        const auto* end = static_cast<const mpv_event_end_file*>(event.data);
        // Copied: what the handlers do may invalidate libmpv's event memory.
        const EndFile copy{end->reason, end->error, end->playlist_entry_id, end->playlist_insert_id};
        if (copy.entry == activeEntry)
            activeEntry = -1;
        if (copy.reason == MPV_END_FILE_REASON_REDIRECT)
            OnEndFile(copy); // at once: the entries that follow belong to it
        else
            pendingEnds.push_back(copy);
        break;
    }
    case MPV_EVENT_COMMAND_REPLY:
        OnLoadReply(event);
        break;
    case MPV_EVENT_SET_PROPERTY_REPLY:
        if (event.error < 0)
            qCWarning(lcPlayer, "engine refused %s: %s", WrittenProperty(event.reply_userdata),
                      mpv_error_string(event.error));
        break;
    case MPV_EVENT_LOG_MESSAGE: {
        const auto* message = static_cast<const mpv_event_log_message*>(event.data);
        QByteArray text(message->text);
        if (revealedAddress != hiddenAddress && !revealedAddress.isEmpty())
            text.replace(revealedAddress, hiddenAddress);
        qCDebug(lcEngine, "[%s] %s", message->prefix, qPrintable(text.trimmed()));
        failureLog.Add(message->prefix, message->level, text.constData());
        // The engine's network layer asks again for seconds before it gives up on a port
        // nothing listens at or a host name that is unknown; the first such answer is final.
        // Lines come without their entry: only once the current one has started are they its.
        if (!loaded && !reconnecting && currentEntry != -1 && activeEntry == currentEntry && failureLog.Unreachable()) {
            LetGo();
            OpenFailed(failureLog.Reason(0));
        }
        break;
    }
    case MPV_EVENT_FILE_LOADED:
        if (activeEntry == currentEntry && currentEntry != -1)
            OnLoaded();
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        if (activeEntry == currentEntry && currentEntry != -1) {
            hasPlayed = true;
            reconnecting = false;
            attempts = 0;
            lastFailure = UnavailableReason::None;
            film.Watch(); // from the first picture on: watching costs a start nothing
            Publish(PlayerEvent::PlaybackRestart);
        }
        break;
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto* property = static_cast<const mpv_event_property*>(event.data);
        if (property->data == nullptr || activeEntry != currentEntry || currentEntry == -1)
            break;
        if (event.reply_userdata == kPausedForCache && property->format == MPV_FORMAT_FLAG)
            OnCacheFlag(*static_cast<const int*>(property->data) != 0);
        else if (event.reply_userdata == kSeekable && property->format == MPV_FORMAT_FLAG)
            live = *static_cast<const int*>(property->data) == 0;
        else if (event.reply_userdata == kCacheBufferingState &&
                 property->format == MPV_FORMAT_INT64)
            model.SetBufferingProgress(
                static_cast<int>(*static_cast<const std::int64_t*>(property->data)));
        break;
    }
    default:
        break;
    }
}

// The timeshift's, the recording's and the tracks' own events; what the engine observes
// of an entry that is no longer the current one is no news to them.
bool MpvPlayer::HandleLivePlayback(const mpv_event& event)
{
    if (event.event_id == MPV_EVENT_PROPERTY_CHANGE && (activeEntry != currentEntry || currentEntry == -1)) {
        const std::uint64_t id = event.reply_userdata;
        return id != kPausedForCache && id != kCacheBufferingState && id != kSeekable;
    }
    return timeshift->Handle(event) || recorder->Handle(event) || tracks->Handle(event) || film.Handle(event);
}

void MpvPlayer::OnLoaded()
{
    loaded = true;
    recorder->Reopened(); // a recording goes on through a reconnect
    openTimer.stop();
    RequestLog(FailureLog::kPlayingLevel);
    Publish(PlayerEvent::FileLoaded);
}

void MpvPlayer::OnCacheFlag(bool starved)
{
    Publish(starved ? PlayerEvent::CacheStarved : PlayerEvent::CacheRefilled);
}

void MpvPlayer::OnEndFile(const EndFile& end)
{
    if (end.entry != currentEntry || currentEntry == -1)
        return; // an entry we replaced or stopped: its end is no news
    if (end.reason == MPV_END_FILE_REASON_REDIRECT) {
        currentEntry = end.insertedEntry; // a playlist file: follow its first entry
        return;
    }
    if (end.reason == MPV_END_FILE_REASON_STOP || end.reason == MPV_END_FILE_REASON_QUIT)
        return;
    const bool wasLoaded = loaded;
    const UnavailableReason why = failureLog.Reason(end.error);
    // A server that dies mid-stream looks like a normal end of file to the engine.
    if ((wasLoaded && live) || reconnecting) {
        lastFailure = why;
        ConnectionLost();
        return;
    }
    currentEntry = -1;
    loaded = false;
    if (wasLoaded && end.reason == MPV_END_FILE_REASON_EOF) {
        Publish(PlayerEvent::FiniteEnd);
        return;
    }
    // Busy or restarting servers are asked again until the open deadline.
    if (FailureLog::Passing(why) && openTimer.isActive()) {
        lastFailure = why;
        retryTimer.start(timings.openRetryMs);
        return;
    }
    OpenFailed(why);
}

void MpvPlayer::OpenFailed(UnavailableReason why)
{
    qCInfo(lcPlayer) << "unavailable:" << request.PlayedAddress() << "reason" << static_cast<int>(why);
    openTimer.stop();
    retryTimer.stop();
    reason = why;
    Publish(PlayerEvent::OpenFailed);
}

void MpvPlayer::OpenOverdue()
{
    // A server that has answered is left to the engine's own network timeout.
    if (loaded || reconnecting || failureLog.Answered())
        return;
    UnavailableReason why = failureLog.Reason(0);
    if (why == UnavailableReason::None)
        why = lastFailure;
    LetGo();
    OpenFailed(why == UnavailableReason::None ? UnavailableReason::NoAnswer : why);
}

void MpvPlayer::ConnectionLost()
{
    if (!reconnecting) {
        reconnecting = true;
        attempts = 0;
    }
    LetGo();
    if (attempts >= timings.maxAttempts) {
        reconnecting = false;
        reason = lastFailure == UnavailableReason::None ? UnavailableReason::NoAnswer : lastFailure;
        Publish(PlayerEvent::GaveUp);
        return;
    }
    Publish(PlayerEvent::ConnectionLost);
    const int delay = std::min(timings.maxRetryMs, timings.firstRetryMs << std::min(attempts, 16));
    retryTimer.start(delay);
}

void MpvPlayer::Retry()
{
    if (reconnecting) {
        ++attempts;
        Publish(PlayerEvent::Reopen);
    }
    ChannelChanged();
    Load();
}

void MpvPlayer::Publish(PlayerEvent event)
{
    const bool changed = model.Apply(event);
    UpdateStallWatch();
    if (changed && sink)
        sink(Published());
}

PlayState MpvPlayer::Published() const
{
    return {model.State(), reason, request, model.Rebuffering()};
}

void MpvPlayer::UpdateStallWatch()
{
    const bool watch = model.State() == PLAYSTATE_BUFFERING && live && loaded &&
                       (hasPlayed || reconnecting);
    if (!watch)
        stallTimer.stop();
    else if (!stallTimer.isActive())
        stallTimer.start(timings.stallMs);
}
