#pragma once
// What the guide gives the rest of the program: programmes, the guide's channels, and the
// link from one of the viewer's channels to a guide channel.

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The longest a programme without a known end is taken to run: the store looks no further
// back for the one on now.
constexpr qint64 kGuideLongestProgramme = 24 * 3600;

struct GuideProgramme {
    qint64 start = 0;       // seconds since 1970, UTC, with the channel's time offset applied
    qint64 stop = 0;
    bool hasStop = false;   // false: no end is known, neither the guide's nor a next programme's
    QString title, subTitle, description, category, episode, icon;

    // When it ends, or at the latest, when no end is known.
    qint64 RunsUntil() const { return hasStop ? stop : start + kGuideLongestProgramme; }
};

struct GuideNowNext {
    std::optional<GuideProgramme> now, next;
};

// What the viewer set for one of their guides.
struct GuideSetting {
    static constexpr qint64 kMaxCorrectionSeconds = 12 * 3600;
    static constexpr int kMaxRefreshHours = 7 * 24;

    bool off = false;             // its programmes are neither shown nor fetched
    qint64 correctionSeconds = 0; // added to its times
    int refreshHours = 0;         // 0: as the preferences say

    bool IsDefault() const { return *this == GuideSetting(); }
    bool operator==(const GuideSetting&) const = default;
};

// A channel of a stored guide, for matching and for the viewer's own choice.
struct GuideChannelInfo {
    qint64 number = 0;  // the store's number of the channel, unique across all guides
    QString source;     // the guide it belongs to
    QString id;
    QStringList names;
    QString icon;
};

// Where the guides before one leave this long free or more, it fills the time; a shorter
// pause in them stays as it is.
constexpr qint64 kGuideGapFilled = 3600;

// A guide channel linked after the first, with the shift of its guide's times.
struct GuideLinkedChannel {
    qint64 channel = 0;
    qint64 shiftSeconds = 0;
    bool operator==(const GuideLinkedChannel&) const = default;
};

struct GuideLink {
    qint64 channel = 0;      // GuideChannelInfo::number; 0: no guide
    qint64 shiftSeconds = 0; // added to the guide's times
    // The same channel in later guides, in the guides' order: their programmes fill the
    // times the earlier ones have none for.
    std::vector<GuideLinkedChannel> later = {};
    bool IsValid() const { return channel != 0; }
    bool operator==(const GuideLink&) const = default;
};
