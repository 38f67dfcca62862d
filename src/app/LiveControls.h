#pragma once
// What the viewer does with a live channel besides play and stop: pause and rewind within
// the timeshift buffer, record, pick sound and subtitles; and how the status line tells of
// it ("Paused −2:15", "● REC 1:23"). Its settings live in Playback.xml, beside Settings.xml,
// whose bytes stay as they are.

#include "ChannelRequest.h"
#include "LanguageStrings.h"
#include "PlayState.h"
#include "PlaybackFile.h"
#include "PreferenceValues.h"
#include "TimeshiftStore.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

class MpvPlayer;
class QMenu;
class QWidget;

class LiveControls : public QObject
{
    Q_OBJECT
public:
    static constexpr double kStepSeconds = 10;
    static constexpr double kLongStepSeconds = 60;

    LiveControls(MpvPlayer& engine, const LanguageStrings& texts, QWidget& window);

    // Before the engine is made: the buffer's folder and bounds, the languages chosen before.
    void SetUp(const QString& dataFolder);

    // The buffer's bounds Playback.xml held, which the preferences start from.
    int TimeshiftMinutes() const { return playback.timeshiftMinutes; }
    int TimeshiftDiskCapMiB() const { return playback.timeshiftDiskCapMiB; }
    // The viewer's preferences of the buffer and the recordings.
    void ApplyPreferences(const PreferenceValues& values);
    // Free space on the buffer's disk.
    qint64 TimeshiftFreeBytes() const;

    // The viewer's commands (CommandId) on what plays; false for the others.
    bool Command(int id, const ChannelRequest& playing);

    // The status line while a channel plays: its name, how far behind live or which time
    // of its archive, recording.
    QString StatusText(const QString& channel, const ChannelRequest& playing) const;
    // The moment of the channel's day on the picture, in seconds since 1970 (UTC).
    qint64 WatchedAt(const ChannelRequest& playing) const;
    // Paused, behind live or recording: the status line says more than the channel's name.
    bool Shifted() const;

    // The playing channel's sound and subtitle tracks, as two menus whose items carry their
    // commands as data; none while nothing plays.
    std::vector<std::unique_ptr<QMenu>> TrackMenus() const;

    // For the desktop's media controls: the buffer counted from its oldest point, in
    // microseconds.
    bool CanSeek() const;
    bool Paused() const;
    qint64 PositionUs() const;
    qint64 LengthUs() const;
    void SeekByUs(qint64 offset);
    void SeekToUs(qint64 position);
    void ShowPlayState(const PlayState& state);

signals:
    // The status line and the desktop's controls are to be brought up to date.
    void Changed();
    // A seek the desktop's controls should hear of, in microseconds from the oldest point.
    void Seeked(qint64 position);
    // The channel is to play from elsewhere: its archive, or its live edge again.
    void StartRequested(const ChannelRequest& request);

private:
    void Tick();
    void Step(double seconds, const ChannelRequest& playing);
    void ToggleRecording(const QString& channel, bool fromBuffer);
    void ReportRecording(int textIndex) const;
    void ChooseTrack(int id);

    MpvPlayer& engine;
    const LanguageStrings& texts;
    QWidget& window;
    QString settingsPath;
    PlaybackSettings playback;
    std::unique_ptr<TimeshiftStore> store;
    QTimer ticker;
    double lastPosition = 0; // at the last tick, from the oldest point
    bool lastPaused = false;
};
