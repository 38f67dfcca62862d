#pragma once
// Playback.xml: how far back live channels can be rewound and how much disk that may
// take, and the languages of sound and subtitles the viewer last chose. A missing or
// damaged file, or a value out of range, leaves the defaults.
//
//   <Playback>
//       <Timeshift minutes="120" diskCapMiB="4096" />
//       <Tracks audio="deu" subtitles="off" />
//   </Playback>

#include <QString>

struct PlaybackSettings {
    static constexpr int kDefaultTimeshiftMinutes = 2 * 60;
    static constexpr int kMaxTimeshiftMinutes = 24 * 60;
    static constexpr int kDefaultDiskCapMiB = 4 * 1024;
    static constexpr int kMinDiskCapMiB = 16;

    // A language code, empty while the viewer has not chosen; subtitles also kSubtitlesOff.
    static constexpr const char* kSubtitlesOff = "off";

    int timeshiftMinutes = kDefaultTimeshiftMinutes;
    int timeshiftDiskCapMiB = kDefaultDiskCapMiB;
    QString audioLanguage;
    QString subtitleLanguage;

    bool operator==(const PlaybackSettings&) const = default;
};

PlaybackSettings LoadPlaybackSettings(const QString& path);

// Writes atomically; false, leaving any old file as it was, on failure.
bool SavePlaybackSettings(const QString& path, const PlaybackSettings& settings);
