#include "ViewerPreferences.h"

#include "XmlFile.h"
#include "StreamRules.h"
#include "XmlValues.h"

#include <tinyxml.h>

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <string_view>

namespace {

constexpr const char* kRootName = "Preferences";
constexpr const char* kAutomatic = "auto";
constexpr const char* kOff = "no";
constexpr const char* kYes = "yes";
constexpr int kMaxLanguageListLength = 64;
constexpr int kMaxFolderLength = 4096;

// The attribute of element when it is a number within bounds, else fallback.
int Bounded(const TiXmlElement* element, const char* name, int low, int high, int fallback)
{
    int value = 0;
    if (element == nullptr || element->QueryIntAttribute(name, &value) != TIXML_SUCCESS)
        return fallback;
    return value >= low && value <= high ? value : fallback;
}

bool Flag(const TiXmlElement* element, const char* name, bool fallback)
{
    const char* value = element != nullptr ? element->Attribute(name) : nullptr;
    return value == nullptr ? fallback : std::string_view(value) == kYes;
}

// Codes as the dialog checked them; anything else in the file is dropped.
QStringList Languages(const TiXmlElement* element, const char* name)
{
    QStringList codes;
    for (const QString& code : TextAttribute(element, name, kMaxLanguageListLength).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (IsLanguageCode(code) && codes.size() < PreferenceValues::kMaxLanguages)
            codes.append(code.toLower());
    }
    return codes;
}

void ReadPlayback(const TiXmlElement* root, PreferenceValues& values)
{
    const TiXmlElement* playback = root->FirstChildElement("Playback");
    if (playback == nullptr)
        return;
    if (const char* decoding = playback->Attribute("hardwareDecoding"))
        values.hardwareDecoding = std::string_view(decoding) != kOff;
    values.numberDelayMs = Bounded(playback, "numberDelayMs", PreferenceValues::kMinNumberDelayMs,
                                   PreferenceValues::kMaxNumberDelayMs, values.numberDelayMs);
    values.audioLanguages = Languages(playback, "audioLanguages");
    values.subtitleLanguages = Languages(playback, "subtitleLanguages");
    values.startWithLastChannel = Flag(playback, "startWithLastChannel", values.startWithLastChannel);
}

void ReadOthers(const TiXmlElement* root, PreferenceValues& values)
{
    const TiXmlElement* timeshift = root->FirstChildElement("Timeshift");
    values.timeshiftOn = Flag(timeshift, "on", values.timeshiftOn);
    values.timeshiftMinutes = Bounded(timeshift, "minutes", PreferenceValues::kMinTimeshiftMinutes,
                                      PreferenceValues::kMaxTimeshiftMinutes, values.timeshiftMinutes);
    values.timeshiftDiskCapMiB = Bounded(timeshift, "diskCapMiB", PreferenceValues::kMinDiskCapMiB,
                                         PreferenceValues::kMaxDiskCapMiB, values.timeshiftDiskCapMiB);
    const TiXmlElement* recording = root->FirstChildElement("Recording");
    if (recording != nullptr)
        values.recordingFolder = TextAttribute(recording, "folder", kMaxFolderLength);
    values.recordBeforeMinutes = Bounded(recording, "beforeMinutes", 0, PreferenceValues::kMaxPaddingMinutes,
                                         values.recordBeforeMinutes);
    values.recordAfterMinutes = Bounded(recording, "afterMinutes", 0, PreferenceValues::kMaxPaddingMinutes,
                                        values.recordAfterMinutes);
    values.recordingsAtOnce = Bounded(recording, "atOnce", 1, PreferenceValues::kMaxRecordingsAtOnce, values.recordingsAtOnce);
    const TiXmlElement* guide = root->FirstChildElement("Guide");
    values.guideRefreshHours = Bounded(guide, "refreshHours", PreferenceValues::kMinGuideRefreshHours,
                                       PreferenceValues::kMaxGuideRefreshHours, values.guideRefreshHours);
    values.guideCorrectionMinutes = Bounded(guide, "correctionMinutes", -PreferenceValues::kMaxGuideCorrectionMinutes,
                                            PreferenceValues::kMaxGuideCorrectionMinutes, values.guideCorrectionMinutes);
    values.guideDaysBack = Bounded(guide, "daysBack", 0, PreferenceValues::kMaxGuideDaysBack, values.guideDaysBack);
    values.reminderLeadMinutes = Bounded(guide, "reminderMinutes",
                                         PreferenceValues::kMinReminderLeadMinutes,
                                         PreferenceValues::kMaxReminderLeadMinutes, values.reminderLeadMinutes);
    values.logoCacheMB = Bounded(root->FirstChildElement("Logos"), "cacheMB", PreferenceValues::kMinLogoCacheMB,
                                 PreferenceValues::kMaxLogoCacheMB, values.logoCacheMB);
    const TiXmlElement* network = root->FirstChildElement("Network");
    values.downloadTimeoutSeconds = Bounded(network, "timeoutSeconds", PreferenceValues::kMinDownloadTimeoutSeconds,
                                            PreferenceValues::kMaxDownloadTimeoutSeconds, values.downloadTimeoutSeconds);
    if (network != nullptr) {
        const QString agent = TextAttribute(network, "userAgent", PreferenceValues::kMaxUserAgentLength);
        if (IsSafeHeaderValue(agent)) // a header never carries a line break
            values.userAgent = agent;
    }
}

TiXmlElement* Child(TiXmlElement* root, const char* name)
{
    return root->LinkEndChild(new TiXmlElement(name))->ToElement();
}

TiXmlDocument Document(const PreferenceValues& values)
{
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    auto* root = document.LinkEndChild(new TiXmlElement(kRootName))->ToElement();
    TiXmlElement* playback = Child(root, "Playback");
    playback->SetAttribute("hardwareDecoding", values.hardwareDecoding ? kAutomatic : kOff);
    playback->SetAttribute("numberDelayMs", values.numberDelayMs);
    playback->SetAttribute("audioLanguages", values.audioLanguages.join(QLatin1Char(',')).toUtf8().constData());
    playback->SetAttribute("subtitleLanguages", values.subtitleLanguages.join(QLatin1Char(',')).toUtf8().constData());
    playback->SetAttribute("startWithLastChannel", values.startWithLastChannel ? kYes : kOff);
    TiXmlElement* timeshift = Child(root, "Timeshift");
    timeshift->SetAttribute("on", values.timeshiftOn ? kYes : kOff);
    timeshift->SetAttribute("minutes", values.timeshiftMinutes);
    timeshift->SetAttribute("diskCapMiB", values.timeshiftDiskCapMiB);
    TiXmlElement* recording = Child(root, "Recording");
    recording->SetAttribute("folder", AttributeUtf8(values.recordingFolder, kMaxFolderLength).constData());
    recording->SetAttribute("beforeMinutes", values.recordBeforeMinutes);
    recording->SetAttribute("afterMinutes", values.recordAfterMinutes);
    recording->SetAttribute("atOnce", values.recordingsAtOnce);
    TiXmlElement* guide = Child(root, "Guide");
    guide->SetAttribute("refreshHours", values.guideRefreshHours);
    guide->SetAttribute("correctionMinutes", values.guideCorrectionMinutes);
    guide->SetAttribute("daysBack", values.guideDaysBack);
    guide->SetAttribute("reminderMinutes", values.reminderLeadMinutes);
    Child(root, "Logos")->SetAttribute("cacheMB", values.logoCacheMB);
    TiXmlElement* network = Child(root, "Network");
    network->SetAttribute("userAgent", AttributeUtf8(values.userAgent, PreferenceValues::kMaxUserAgentLength).constData());
    network->SetAttribute("timeoutSeconds", values.downloadTimeoutSeconds);
    return document;
}

} // namespace

bool IsLanguageCode(const QString& code)
{
    constexpr int kShortest = 2;
    constexpr int kLongest = 3;
    return code.size() >= kShortest && code.size() <= kLongest
           && std::all_of(code.begin(), code.end(), [](QChar c) { return c.isLetter() && c.unicode() < 0x80; });
}

void ViewerPreferences::Load(const QString& file, const PreferenceValues& defaults)
{
    path = file;
    values = defaults;
    TiXmlDocument document;
    if (ReadXmlFile(path, document) == XmlReadResult::Parsed && document.RootElement()->ValueStr() == kRootName) {
        ReadPlayback(document.RootElement(), values);
        ReadOthers(document.RootElement(), values);
    }
    emit Changed(values);
}

bool ViewerPreferences::Set(const PreferenceValues& newValues, QString* reason)
{
    values = newValues;
    QDir().mkpath(QFileInfo(path).absolutePath()); // a first start may not have made it yet
    const bool written = WriteXmlFile(path, Document(values), XmlFileReaders::AsBefore, reason);
    emit Changed(values);
    return written;
}
