#include "PlaybackFile.h"

#include "XmlFile.h"
#include "XmlValues.h"

#include <tinyxml.h>

#include <limits>

namespace {

constexpr const char* kRootName = "Playback";

int InRange(int value, int low, int high, int fallback)
{
    return value >= low && value <= high ? value : fallback;
}

} // namespace

PlaybackSettings LoadPlaybackSettings(const QString& path)
{
    PlaybackSettings settings;
    TiXmlDocument document;
    if (ReadXmlFile(path, document) != XmlReadResult::Parsed || document.RootElement()->ValueStr() != kRootName)
        return settings;
    if (const TiXmlElement* timeshift = document.RootElement()->FirstChildElement("Timeshift")) {
        settings.timeshiftMinutes = InRange(IntegerAttribute(timeshift, "minutes"), 1, PlaybackSettings::kMaxTimeshiftMinutes,
                                            PlaybackSettings::kDefaultTimeshiftMinutes);
        settings.timeshiftDiskCapMiB = InRange(IntegerAttribute(timeshift, "diskCapMiB"), PlaybackSettings::kMinDiskCapMiB,
                                               std::numeric_limits<int>::max(), PlaybackSettings::kDefaultDiskCapMiB);
    }
    return settings;
}
