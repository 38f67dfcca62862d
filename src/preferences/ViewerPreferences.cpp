#include "ViewerPreferences.h"

#include "XmlFile.h"
#include "StreamRules.h"
#include "XmlValues.h"

#include <tinyxml.h>

#include <QDir>
#include <QFileInfo>

#include <string_view>

namespace {

constexpr const char* kRootName = "Preferences";
constexpr const char* kAutomatic = "auto";
constexpr const char* kOff = "no";
constexpr int kMaxFolderLength = 4096;

// The attribute of element when it is a number within bounds, else fallback.
int Bounded(const TiXmlElement* element, const char* name, int low, int high, int fallback)
{
    int value = 0;
    if (element == nullptr || element->QueryIntAttribute(name, &value) != TIXML_SUCCESS)
        return fallback;
    return value >= low && value <= high ? value : fallback;
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
}

void ReadOthers(const TiXmlElement* root, PreferenceValues& values)
{
    const TiXmlElement* timeshift = root->FirstChildElement("Timeshift");
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
    values.guideRefreshHours = Bounded(root->FirstChildElement("Guide"), "refreshHours", PreferenceValues::kMinGuideRefreshHours,
                                       PreferenceValues::kMaxGuideRefreshHours, values.guideRefreshHours);
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
    TiXmlElement* timeshift = Child(root, "Timeshift");
    timeshift->SetAttribute("minutes", values.timeshiftMinutes);
    timeshift->SetAttribute("diskCapMiB", values.timeshiftDiskCapMiB);
    TiXmlElement* recording = Child(root, "Recording");
    recording->SetAttribute("folder", AttributeUtf8(values.recordingFolder, kMaxFolderLength).constData());
    recording->SetAttribute("beforeMinutes", values.recordBeforeMinutes);
    recording->SetAttribute("afterMinutes", values.recordAfterMinutes);
    recording->SetAttribute("atOnce", values.recordingsAtOnce);
    Child(root, "Guide")->SetAttribute("refreshHours", values.guideRefreshHours);
    Child(root, "Logos")->SetAttribute("cacheMB", values.logoCacheMB);
    TiXmlElement* network = Child(root, "Network");
    network->SetAttribute("userAgent", AttributeUtf8(values.userAgent, PreferenceValues::kMaxUserAgentLength).constData());
    network->SetAttribute("timeoutSeconds", values.downloadTimeoutSeconds);
    return document;
}

} // namespace

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
