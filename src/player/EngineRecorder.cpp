#include "EngineRecorder.h"

#include "EngineCommands.h"

#include <mpv/client.h>

#include <QDateTime>

namespace {

constexpr std::uint64_t kDump = 0x5245'0001; // the engine's copying command
constexpr std::uint64_t kReadTo = 0x5245'0002; // how far it has read, asked at a stop
constexpr const char* kReadToProperty = "demuxer-cache-time";
// From the oldest of whatever the engine holds.
constexpr double kOldestHeld = -1e9;

} // namespace

EngineRecorder::EngineRecorder(RecordingPlace place, std::function<EngineReading()> reading)
    : place(std::move(place)), reading(std::move(reading))
{
}

RecordingRefusal EngineRecorder::Start(const QString& channel, double from, double heldSeconds)
{
    if (file)
        return RecordingRefusal::None; // one at a time; one being stopped ends within moments
    const RecordingTarget target = place.NewRecording(channel, QDateTime::currentDateTime());
    if (target.refusal != RecordingRefusal::None)
        return target.refusal;
    file = std::make_unique<RecordingFile>(target.path);
    heldAtStart = heldSeconds;
    clock.start();
    Dump(from);
    return RecordingRefusal::None;
}

void EngineRecorder::Stop()
{
    if (!file || stopping)
        return;
    if (!dumping) {
        End();
        return;
    }
    stopping = true; // the engine's reply ends it, once the stretch is closed
    // How far it has read is asked afresh before copying stops: as told while it reads, it
    // may be a segment behind, and the file would keep that much more.
    atStop = reading();
    askedReadTo = EngineCommands::GetDouble(engine, kReadTo, kReadToProperty) >= 0;
    if (!askedReadTo)
        EngineCommands::Abort(engine, kDump);
}

void EngineRecorder::Reopened()
{
    if (file && !dumping && !stopping)
        Dump(kOldestHeld);
}

// No reply comes once the engine ends, and it ends all the same: waiting for it here costs
// no more than the ending does.
void EngineRecorder::EngineEnding()
{
    double readTo = 0;
    if (askedReadTo && engine != nullptr && mpv_get_property(engine, kReadToProperty, MPV_FORMAT_DOUBLE, &readTo) >= 0)
        atStop.readTo = readTo;
    askedReadTo = false;
}

void EngineRecorder::EngineEnded()
{
    engine = nullptr;
    dumping = false;
    if (file)
        End(stopping ? UnseenAtStop() : 0);
    for (const std::unique_ptr<RecordingFile>& ended : finishing)
        ended->Finish();
    finishing.clear();
}

void EngineRecorder::End(double unseenSeconds)
{
    stopping = false;
    file->StretchEnded(unseenSeconds);
    std::erase_if(finishing, [](const std::unique_ptr<RecordingFile>& done) { return done->Done(); });
    finishing.push_back(std::move(file));
}

bool EngineRecorder::Handle(const mpv_event& event)
{
    if (event.reply_userdata == kReadTo && event.event_id == MPV_EVENT_GET_PROPERTY_REPLY) {
        const auto* property = static_cast<const mpv_event_property*>(event.data);
        if (askedReadTo && event.error >= 0 && property->format == MPV_FORMAT_DOUBLE)
            atStop.readTo = *static_cast<const double*>(property->data);
        askedReadTo = false;
        if (stopping && dumping)
            EngineCommands::Abort(engine, kDump);
        return true;
    }
    if (event.reply_userdata != kDump || event.event_id != MPV_EVENT_COMMAND_REPLY)
        return false;
    // The engine ends copying when its channel ends: a reconnect continues in Reopened.
    dumping = false;
    if (!file)
        return true;
    if (stopping)
        End(UnseenAtStop());
    else
        file->StretchEnded();
    return true;
}

double EngineRecorder::Seconds() const
{
    return file ? heldAtStart + clock.elapsed() / 1000.0 : 0;
}

void EngineRecorder::Dump(double from)
{
    if (engine != nullptr)
        dumping = EngineCommands::DumpCache(engine, kDump, from, file->NextStretch().toUtf8()) >= 0;
}
