#pragma once
// Playback.xml: how far back live channels can be rewound and how much disk that may
// take. A missing or damaged file, or a value out of range, leaves the defaults.
//
//   <Playback>
//       <Timeshift minutes="120" diskCapMiB="4096" />
//   </Playback>

#include <QString>

struct PlaybackSettings {
    static constexpr int kDefaultTimeshiftMinutes = 2 * 60;
    static constexpr int kMaxTimeshiftMinutes = 24 * 60;
    static constexpr int kDefaultDiskCapMiB = 4 * 1024;
    static constexpr int kMinDiskCapMiB = 16;

    int timeshiftMinutes = kDefaultTimeshiftMinutes;
    int timeshiftDiskCapMiB = kDefaultDiskCapMiB;
};

PlaybackSettings LoadPlaybackSettings(const QString& path);
