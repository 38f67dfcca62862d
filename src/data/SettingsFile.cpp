#include "SettingsFile.h"

#include "XmlFile.h"
#include "XmlValues.h"

#include <tinyxml.h>

#include <climits>

namespace {

constexpr int kMaxLanguageNameLength = 255;

// Shortens length so that QRect's arithmetic on start + length - 1 and on its width
// stays inside int: any values read are applied, but never with integer overflow.
int FitSpan(int start, int length)
{
    const qint64 end = qBound(qint64(INT_MIN) + 1, qint64(start) + length, qint64(INT_MAX));
    return static_cast<int>(qMax(end - start, qint64(INT_MIN) + 1));
}

QRect ReadRect(const TiXmlElement* item)
{
    const int x = IntegerAttribute(item, "posx");
    const int y = IntegerAttribute(item, "posy");
    return QRect(x, y, FitSpan(x, IntegerAttribute(item, "width")),
                 FitSpan(y, IntegerAttribute(item, "height")));
}

void LinkValue(TiXmlElement& root, const char* name, int value)
{
    auto* item = new TiXmlElement(name);
    item->SetAttribute("id", value);
    root.LinkEndChild(item);
}

void LinkRect(TiXmlElement& root, const char* name, const QRect& rect)
{
    auto* item = new TiXmlElement(name);
    item->SetAttribute("posx", rect.x());
    item->SetAttribute("posy", rect.y());
    item->SetAttribute("width", rect.width());
    item->SetAttribute("height", rect.height());
    root.LinkEndChild(item);
}

} // namespace

bool LoadSettings(const QString& path, Settings& settings)
{
    TiXmlDocument document;
    if (ReadXmlFile(path, document) != XmlReadResult::Parsed)
        return false;

    // Items are matched by position; their names are never compared.
    const TiXmlElement* item = FirstNodeAsElement(document.RootElement());
    if (!item)
        return true;
    if (item->Attribute("name"))
        settings.languageName = TextAttribute(item, "name", kMaxLanguageNameLength);

    QRect* const rects[] = {&settings.mainWindowRect, &settings.channelWindowRect};
    for (QRect* rect : rects) {
        if (!(item = item->NextSiblingElement()))
            return true;
        *rect = ReadRect(item);
    }
    int* const values[] = {&settings.volume,      &settings.mute,     &settings.originalSize,
                           &settings.hideControl, &settings.hideMenu, &settings.alwaysOnTop};
    for (int* value : values) {
        if (!(item = item->NextSiblingElement()))
            return true;
        *value = IntegerAttribute(item, "id");
    }
    return true;
}

bool SaveSettings(const QString& path, const Settings& settings, QString* reason)
{
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    auto* root = new TiXmlElement("Settings");
    document.LinkEndChild(root);

    auto* language = new TiXmlElement("Language");
    language->SetAttribute("name", AttributeUtf8(settings.languageName, kMaxLanguageNameLength).constData());
    root->LinkEndChild(language);
    LinkRect(*root, "MainWindowPos", settings.mainWindowRect);
    LinkRect(*root, "ChannelWindowPos", settings.channelWindowRect);
    LinkValue(*root, "VolumeSound", settings.volume);
    LinkValue(*root, "MuteSound", settings.mute);
    LinkValue(*root, "OriginalSize", settings.originalSize);
    LinkValue(*root, "HideControl", settings.hideControl);
    LinkValue(*root, "HideMenu", settings.hideMenu);
    LinkValue(*root, "AlwaysOnTop", settings.alwaysOnTop);

    return WriteXmlFile(path, document, XmlFileReaders::AsBefore, reason);
}
