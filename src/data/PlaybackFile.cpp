#include "PlaybackFile.h"

#include "XmlFile.h"
#include "XmlValues.h"

#include <tinyxml.h>

#include <limits>

namespace {

constexpr const char* kRootName = "Playback";
constexpr int kMaxLanguageLength = 16;

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
    if (const TiXmlElement* tracks = document.RootElement()->FirstChildElement("Tracks")) {
        settings.audioLanguage = TextAttribute(tracks, "audio", kMaxLanguageLength);
        settings.subtitleLanguage = TextAttribute(tracks, "subtitles", kMaxLanguageLength);
    }
    return settings;
}

bool SavePlaybackSettings(const QString& path, const PlaybackSettings& settings)
{
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    auto* root = new TiXmlElement(kRootName);
    document.LinkEndChild(root);
    auto* timeshift = new TiXmlElement("Timeshift");
    timeshift->SetAttribute("minutes", settings.timeshiftMinutes);
    timeshift->SetAttribute("diskCapMiB", settings.timeshiftDiskCapMiB);
    root->LinkEndChild(timeshift);
    auto* tracks = new TiXmlElement("Tracks");
    tracks->SetAttribute("audio", AttributeUtf8(settings.audioLanguage, kMaxLanguageLength).constData());
    tracks->SetAttribute("subtitles", AttributeUtf8(settings.subtitleLanguage, kMaxLanguageLength).constData());
    root->LinkEndChild(tracks);
    return WriteXmlFile(path, document);
}
