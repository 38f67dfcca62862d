#include "LiveControls.h"

#include "BuiltinTexts.h"
#include "CatchupAddress.h"
#include "CatchupTexts.h"
#include "ClockText.h"
#include "CommandId.h"
#include "LogCategories.h"
#include "MessageBox.h"
#include "MpvPlayer.h"
#include "TimeshiftTexts.h"

#include <QDateTime>
#include <QLocale>
#include <QMenu>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

constexpr int kTickMs = 1000;
constexpr qint64 kMiB = 1024 * 1024;
constexpr double kUsPerSecond = 1e6;
// A position further than this from where playing on would have brought it was sought.
constexpr double kSeekJumpSeconds = 1.5;
const QString kBehindSign = QStringLiteral("\u2212");
const QString kRecordingDot = QStringLiteral("\u25CF ");

} // namespace

LiveControls::LiveControls(MpvPlayer& engine, const LanguageStrings& texts, QWidget& window)
    : engine(engine), texts(texts), window(window)
{
    connect(&ticker, &QTimer::timeout, this, &LiveControls::Tick);
}

void LiveControls::SetUp(const QString& dataFolder)
{
    settingsPath = dataFolder + QStringLiteral("/Korvanta/Playback.xml");
    playback = LoadPlaybackSettings(settingsPath);
    const std::chrono::minutes window(playback.timeshiftMinutes);
    store = std::make_unique<TimeshiftStore>(TimeshiftStore::DefaultFolder(), window,
                                             qint64(playback.timeshiftDiskCapMiB) * kMiB);
    engine.SetUpLivePlayback({store.get(), window, RecordingPlace(), {playback.audioLanguage, playback.subtitleLanguage}});
}

// Ticks only while a channel is open: at rest the program does not wake.
void LiveControls::ShowPlayState(const PlayState& state)
{
    if (!state.Ended()) {
        if (!ticker.isActive())
            ticker.start(kTickMs);
        return;
    }
    if (ticker.isActive()) {
        ticker.stop();
        Tick(); // what the last second changed, and the buffer now closed
    }
}

void LiveControls::ApplyPreferences(const PreferenceValues& values)
{
    const std::chrono::minutes window(values.timeshiftMinutes);
    if (store)
        store->SetBounds(window, qint64(values.timeshiftDiskCapMiB) * kMiB);
    engine.SetTimeshiftWindow(window);
    engine.SetTimeshiftOnDisk(values.timeshiftOn);
    engine.SetPreferredLanguages(values.audioLanguages, values.subtitleLanguages);
    engine.SetRecordingFolder(values.recordingFolder);
}

qint64 LiveControls::TimeshiftFreeBytes() const
{
    return AvailableBytes(TimeshiftStore::DefaultFolder());
}

bool LiveControls::Command(int id, const ChannelRequest& playing)
{
    TimeshiftControl& shift = engine.Shift();
    switch (id) {
    case ID_PAUSE:
        shift.Paused() ? shift.Resume() : shift.Pause();
        break;
    case ID_RESUME:
        shift.Resume();
        break;
    case ID_BACK_TO_LIVE:
        if (playing.FromArchive())
            emit StartRequested(playing.Live());
        else
            shift.BackToLive();
        break;
    case ID_STEP_BACK:
        Step(-kStepSeconds, playing);
        break;
    case ID_STEP_FORWARD:
        Step(kStepSeconds, playing);
        break;
    case ID_MINUTE_BACK:
        Step(-kLongStepSeconds, playing);
        break;
    case ID_MINUTE_FORWARD:
        Step(kLongStepSeconds, playing);
        break;
    case ID_RECORD:
    case ID_RECORD_BUFFER:
        ToggleRecording(playing.name, id == ID_RECORD_BUFFER);
        break;
    default:
        if (id < ID_AUDIO_TRACK_FIRST || id > ID_TRACK_LAST)
            return false;
        ChooseTrack(id);
        break;
    }
    emit Changed();
    return true;
}

QString LiveControls::StatusText(const QString& channel, const ChannelRequest& playing) const
{
    const TimeshiftControl& shift = engine.Shift();
    QString text = shift.Paused() ? texts.Text(Timeshift, TimeshiftPaused) : channel;
    if (playing.FromArchive())
        text = texts.Text(Catchup, CatchupWatching)
                   .arg(text, QLocale().toString(QDateTime::fromSecsSinceEpoch(WatchedAt(playing)).time(),
                                                 QLocale::ShortFormat));
    else if (shift.Behind())
        text += QLatin1Char(' ') + kBehindSign + ClockText(shift.BehindSeconds());
    if (engine.Recorder().Recording())
        text += QStringLiteral("  ") + kRecordingDot + texts.Text(Timeshift, TimeshiftRecordingMark) + QLatin1Char(' ') +
                ClockText(engine.Recorder().Seconds());
    return text;
}

bool LiveControls::Shifted() const
{
    return engine.Shift().Behind() || engine.Recorder().Recording();
}

qint64 LiveControls::WatchedAt(const ChannelRequest& playing) const
{
    const TimeshiftControl& shift = engine.Shift();
    // The archive's stream begins at the moment asked for, and its buffer with it.
    if (playing.FromArchive())
        return playing.archiveStart + std::llround(shift.PositionFromOldest());
    return QDateTime::currentSecsSinceEpoch() - std::llround(shift.Behind() ? shift.BehindSeconds() : 0);
}

// A step back beyond what the buffer holds goes on in the channel's archive where it has one.
void LiveControls::Step(double seconds, const ChannelRequest& playing)
{
    TimeshiftControl& shift = engine.Shift();
    if (seconds >= 0 || shift.PositionFromOldest() + seconds >= 0 || !playing.catchup.Offered()) {
        shift.Step(seconds);
        return;
    }
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const ChannelRequest archived = CatchupAddress::Request(
        playing, ArchiveSpan::Between(WatchedAt(playing) + std::llround(seconds), now), QDateTime::currentDateTimeUtc());
    if (archived.IsEmpty())
        shift.Step(seconds); // beyond the archive too: as far back as the buffer goes
    else
        emit StartRequested(archived);
}

std::vector<std::unique_ptr<QMenu>> LiveControls::TrackMenus() const
{
    const std::vector<MediaTrack>& tracks = engine.Tracks().Tracks();
    const QString unnamed = texts.Text(Timeshift, TimeshiftUnnamedTrack);
    auto audio = std::make_unique<QMenu>(texts.Text(Timeshift, TimeshiftAudioMenu));
    auto subtitles = std::make_unique<QMenu>(texts.Text(Timeshift, TimeshiftSubtitlesMenu));
    const auto add = [](QMenu& menu, const QString& label, int command, bool selected) {
        QAction* item = menu.addAction(label);
        item->setData(command);
        item->setCheckable(true);
        item->setChecked(selected);
    };
    bool anySubtitles = false;
    for (const MediaTrack& track : tracks) {
        const bool isAudio = track.kind == MediaTrack::Kind::Audio;
        anySubtitles = anySubtitles || (!isAudio && track.selected);
        add(isAudio ? *audio : *subtitles, TrackLabel(track, tracks, unnamed),
            int((isAudio ? ID_AUDIO_TRACK_FIRST : ID_SUBTITLE_TRACK_FIRST) + track.id), track.selected);
    }
    std::vector<std::unique_ptr<QMenu>> menus;
    if (tracks.empty())
        return menus; // nothing plays
    QAction* off = new QAction(texts.Text(Timeshift, TimeshiftSubtitlesOff), subtitles.get());
    off->setData(int(ID_SUBTITLE_TRACK_FIRST));
    off->setCheckable(true);
    off->setChecked(!anySubtitles);
    subtitles->insertAction(subtitles->actions().value(0), off);
    audio->setEnabled(!audio->isEmpty());
    menus.push_back(std::move(audio));
    menus.push_back(std::move(subtitles));
    return menus;
}

bool LiveControls::CanSeek() const
{
    return engine.Shift().Available();
}

bool LiveControls::Paused() const
{
    return engine.Shift().Paused();
}

qint64 LiveControls::PositionUs() const
{
    return std::llround(engine.Shift().PositionFromOldest() * kUsPerSecond);
}

qint64 LiveControls::LengthUs() const
{
    return std::llround(engine.Shift().Length() * kUsPerSecond);
}

void LiveControls::SeekByUs(qint64 offset)
{
    engine.Shift().Step(double(offset) / kUsPerSecond);
    emit Changed();
}

void LiveControls::SeekToUs(qint64 position)
{
    if (position < 0 || position > LengthUs())
        return; // as the desktop's controls expect: out of range is ignored
    engine.Shift().SeekFromOldest(double(position) / kUsPerSecond);
    emit Changed();
}

void LiveControls::Tick()
{
    EngineRecorder& recorder = engine.Recorder();
    if (recorder.Recording() && !recorder.HasRoom()) {
        recorder.Stop();
        ReportRecording(TimeshiftDiskFullStopped);
    }
    // Seeks from anywhere (steps, the window passing a pause) are told to the desktop.
    const double position = engine.Shift().PositionFromOldest();
    const double expected = lastPosition + (lastPaused ? 0 : kTickMs / 1000.0);
    if (engine.Shift().Available() && std::abs(position - expected) > kSeekJumpSeconds)
        emit Seeked(PositionUs());
    lastPosition = position;
    lastPaused = engine.Shift().Paused();
    emit Changed(); // how far behind, how long recorded, how much the buffer holds
}

void LiveControls::ToggleRecording(const QString& channel, bool fromBuffer)
{
    if (engine.Recorder().Recording()) {
        engine.Recorder().Stop();
        return;
    }
    switch (engine.Record(channel, fromBuffer)) {
    case RecordingRefusal::None:
        return;
    case RecordingRefusal::NoFolder:
        ReportRecording(TimeshiftNoFolder);
        return;
    case RecordingRefusal::DiskFull:
        ReportRecording(TimeshiftDiskFullAtStart);
        return;
    }
}

void LiveControls::ReportRecording(int textIndex) const
{
    qCWarning(lcRecording).noquote() << BuiltinTexts(Timeshift).value(textIndex).arg(engine.Recorder().Place().Folder());
    MessageBox(&window, texts.Text(Timeshift, textIndex).arg(engine.Recorder().Place().Folder()),
               texts.Text(Timeshift, TimeshiftRecordMenu), MB_OK | MB_ICONWARNING);
}

void LiveControls::ChooseTrack(int id)
{
    const bool audio = id < ID_SUBTITLE_TRACK_FIRST;
    engine.Tracks().Choose(audio ? MediaTrack::Kind::Audio : MediaTrack::Kind::Subtitles,
                           id - (audio ? ID_AUDIO_TRACK_FIRST : ID_SUBTITLE_TRACK_FIRST));
    const EngineTracks::Languages& chosen = engine.Tracks().Remembered();
    if (chosen.audio == playback.audioLanguage && chosen.subtitles == playback.subtitleLanguage)
        return;
    playback.audioLanguage = chosen.audio;
    playback.subtitleLanguage = chosen.subtitles;
    SavePlaybackSettings(settingsPath, playback);
}
