#include "GuideOrderFile.h"

#include "XmlFile.h"
#include "XmlValues.h"

#include <tinyxml.h>

#include <algorithm>

namespace {
constexpr int kMaxSourceLength = 4096;
constexpr qint64 kSecondsPerMinute = 60;
constexpr const char* kRootName = "GuideOrder";

// The attribute of entry within [low, high], else fallback.
int Bounded(const TiXmlElement* entry, const char* name, int low, int high, int fallback)
{
    int value = 0;
    if (entry->QueryIntAttribute(name, &value) != TIXML_SUCCESS)
        return fallback;
    return value >= low && value <= high ? value : fallback;
}
} // namespace

GuideArrangement LoadGuideOrder(const QString& path)
{
    TiXmlDocument document;
    GuideArrangement order;
    if (ReadXmlFile(path, document) != XmlReadResult::Parsed || document.RootElement()->ValueStr() != kRootName)
        return order;
    constexpr int kMaxMinutes = int(GuideSetting::kMaxCorrectionSeconds / kSecondsPerMinute);
    for (auto* entry = document.RootElement()->FirstChildElement("Guide"); entry;
         entry = entry->NextSiblingElement("Guide")) {
        const QString source = TextAttribute(entry, "source", kMaxSourceLength);
        if (source.isEmpty() || std::find(order.sources.begin(), order.sources.end(), source) != order.sources.end())
            continue;
        GuideSetting setting;
        setting.off = Bounded(entry, "off", 0, 1, 0) == 1;
        setting.correctionSeconds = Bounded(entry, "correctionMinutes", -kMaxMinutes, kMaxMinutes, 0) * kSecondsPerMinute;
        setting.refreshHours = Bounded(entry, "refreshHours", 1, GuideSetting::kMaxRefreshHours, 0);
        order.sources.push_back(source);
        if (!setting.IsDefault())
            order.settings[source] = setting;
    }
    return order;
}

bool SaveGuideOrder(const QString& path, const GuideArrangement& order, QString* reason)
{
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    auto* root = new TiXmlElement(kRootName);
    document.LinkEndChild(root);
    for (const QString& source : order.sources) {
        auto* entry = new TiXmlElement("Guide");
        entry->SetAttribute("source", AttributeUtf8(source, kMaxSourceLength).constData());
        const auto found = order.settings.find(source);
        const GuideSetting setting = found != order.settings.end() ? found->second : GuideSetting();
        if (setting.off)
            entry->SetAttribute("off", 1);
        if (setting.correctionSeconds != 0)
            entry->SetAttribute("correctionMinutes", int(setting.correctionSeconds / kSecondsPerMinute));
        if (setting.refreshHours != 0)
            entry->SetAttribute("refreshHours", setting.refreshHours);
        root->LinkEndChild(entry);
    }
    return WriteXmlFile(path, document, XmlFileReaders::OwnerOnly, reason); // addresses may hold tokens
}
