#include "EngineRecorder.h"

#include "EngineCommands.h"

#include <mpv/client.h>

#include <QDateTime>

namespace {

constexpr std::uint64_t kDump = 0x5245'0001; // the engine's copying command
// From the oldest of whatever the engine holds.
constexpr double kOldestHeld = -1e9;

} // namespace

EngineRecorder::EngineRecorder(RecordingPlace place) : place(std::move(place))
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
    EngineCommands::Abort(engine, kDump);
}

void EngineRecorder::Reopened()
{
    if (file && !dumping && !stopping)
        Dump(kOldestHeld);
}

void EngineRecorder::EngineEnded()
{
    engine = nullptr;
    dumping = false;
    if (file)
        End();
    for (const std::unique_ptr<RecordingFile>& ended : finishing)
        ended->Finish();
    finishing.clear();
}

void EngineRecorder::End()
{
    stopping = false;
    file->StretchEnded();
    std::erase_if(finishing, [](const std::unique_ptr<RecordingFile>& done) { return done->Done(); });
    finishing.push_back(std::move(file));
}

bool EngineRecorder::Handle(const mpv_event& event)
{
    if (event.reply_userdata != kDump || event.event_id != MPV_EVENT_COMMAND_REPLY)
        return false;
    // The engine ends copying when its channel ends: a reconnect continues in Reopened.
    dumping = false;
    if (!file)
        return true;
    if (stopping)
        End();
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
