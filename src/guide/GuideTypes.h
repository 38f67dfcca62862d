#pragma once
// What the guide gives the rest of the program: programmes, the guide's channels, and the
// link from one of the viewer's channels to a guide channel.

#include <QString>
#include <QStringList>

#include <optional>

struct GuideProgramme {
    qint64 start = 0;       // seconds since 1970, UTC, with the channel's time offset applied
    qint64 stop = 0;
    bool hasStop = false;   // false: the guide gives no end
    QString title, subTitle, description, category, episode, icon;
};

struct GuideNowNext {
    std::optional<GuideProgramme> now, next;
};

// A channel of a stored guide, for matching and for the viewer's own choice.
struct GuideChannelInfo {
    qint64 number = 0;  // the store's number of the channel, unique across all guides
    QString source;     // the guide it belongs to
    QString id;
    QStringList names;
    QString icon;
};

struct GuideLink {
    qint64 channel = 0;      // GuideChannelInfo::number; 0: no guide
    qint64 shiftSeconds = 0; // added to the guide's times
    bool IsValid() const { return channel != 0; }
    bool operator==(const GuideLink&) const = default;
};
