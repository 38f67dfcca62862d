#pragma once
// What the viewer set in the preferences, typed, with each value's bounds. The defaults are
// the values the program had before it had preferences.

#include "PlaybackFile.h"

#include <QString>
#include <QStringList>

struct PreferenceValues
{
    static constexpr int kDefaultNumberDelayMs = 1500;
    static constexpr int kMinNumberDelayMs = 500;
    static constexpr int kMaxNumberDelayMs = 10000;
    static constexpr int kDefaultTimeshiftMinutes = PlaybackSettings::kDefaultTimeshiftMinutes;
    static constexpr int kMinTimeshiftMinutes = 1;
    static constexpr int kMaxTimeshiftMinutes = PlaybackSettings::kMaxTimeshiftMinutes;
    static constexpr int kDefaultDiskCapMiB = PlaybackSettings::kDefaultDiskCapMiB;
    static constexpr int kMinDiskCapMiB = PlaybackSettings::kMinDiskCapMiB;
    static constexpr int kMaxDiskCapMiB = 1024 * 1024;
    static constexpr int kDefaultGuideRefreshHours = 12;
    static constexpr int kMinGuideRefreshHours = 1;
    static constexpr int kMaxGuideRefreshHours = 7 * 24;
    static constexpr int kDefaultReminderLeadMinutes = 1;
    static constexpr int kMinReminderLeadMinutes = 0;
    static constexpr int kMaxReminderLeadMinutes = 120;
    static constexpr int kDefaultDownloadTimeoutSeconds = 30;
    static constexpr int kMinDownloadTimeoutSeconds = 5;
    static constexpr int kMaxDownloadTimeoutSeconds = 600;
    static constexpr int kMaxUserAgentLength = 512;
    static constexpr int kMaxGuideCorrectionMinutes = 12 * 60; // as the guide's own bound
    static constexpr int kDefaultGuideDaysBack = 7;
    static constexpr int kMaxGuideDaysBack = 7; // as far back as the guide window reaches
    static constexpr int kMaxLanguages = 8;
    static constexpr int kDefaultLogoCacheMB = 200;
    static constexpr int kMinLogoCacheMB = 1;
    static constexpr int kMaxLogoCacheMB = 100 * 1000;
    static constexpr int kDefaultRecordBeforeMinutes = 2;
    static constexpr int kDefaultRecordAfterMinutes = 5;
    static constexpr int kMaxPaddingMinutes = 120;
    static constexpr int kDefaultRecordingsAtOnce = 2;
    static constexpr int kMaxRecordingsAtOnce = 8;

    // The engine's safe automatic choice, which falls back to software by itself; else off.
    bool hardwareDecoding = true;
    int numberDelayMs = kDefaultNumberDelayMs;
    // Language codes (eng, deu, fr), most wanted first, before the remembered choice.
    QStringList audioLanguages;
    QStringList subtitleLanguages;
    bool startWithLastChannel = false;
    bool timeshiftOn = true;
    int timeshiftMinutes = kDefaultTimeshiftMinutes;
    int timeshiftDiskCapMiB = kDefaultDiskCapMiB;
    QString recordingFolder; // the system's videos folder until set
    int recordBeforeMinutes = kDefaultRecordBeforeMinutes; // a scheduled recording's padding
    int recordAfterMinutes = kDefaultRecordAfterMinutes;
    int recordingsAtOnce = kDefaultRecordingsAtOnce;
    int guideRefreshHours = kDefaultGuideRefreshHours;
    int guideCorrectionMinutes = 0; // added to every guide's times
    int guideDaysBack = kDefaultGuideDaysBack;
    int reminderLeadMinutes = kDefaultReminderLeadMinutes; // a reminder is told this long before
    int logoCacheMB = kDefaultLogoCacheMB;
    QString userAgent; // for the playlists and streams that name none; empty: the player's own
    int downloadTimeoutSeconds = kDefaultDownloadTimeoutSeconds; // of a playlist

    bool operator==(const PreferenceValues&) const = default;
};

// Two or three letters: how streams tag a track's language (en, eng, deu).
bool IsLanguageCode(const QString& code);
