#pragma once
// The playing channel's sound and subtitle tracks: listed as the engine finds them, chosen
// by the viewer, and the choice, remembered by language, asked for on every channel opened
// after it.

#include "EngineCommands.h"
#include "MediaTracks.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

struct mpv_handle;
struct mpv_event;

class EngineTracks
{
public:
    // Languages as remembered (RememberedLanguage); subtitles may be kSubtitlesOff.
    struct Languages {
        QString audio;
        QString subtitles;
    };

    explicit EngineTracks(Languages remembered) : remembered(std::move(remembered)) {}

    // The viewer's preferred languages, most wanted first, asked for before the remembered
    // ones from the next channel opened. A remembered "no subtitles" still holds.
    void SetPreferred(const QStringList& audio, const QStringList& subtitles);

    void Attach(mpv_handle* engine);
    void SetChangeSink(std::function<void()> sink) { changed = std::move(sink); }
    // Options of every channel opened: the remembered languages first.
    EngineCommands::FileOptions ChannelOptions() const;
    // True for the events that were this one's.
    bool Handle(const mpv_event& event);

    const std::vector<MediaTrack>& Tracks() const { return tracks; }
    // The viewer picks a track, or no subtitles (id 0).
    void Choose(MediaTrack::Kind kind, long long id);
    const Languages& Remembered() const { return remembered; }

private:
    mpv_handle* engine = nullptr;
    Languages remembered;
    QStringList preferredAudio;
    QStringList preferredSubtitles;
    std::vector<MediaTrack> tracks;
    std::function<void()> changed;
};
