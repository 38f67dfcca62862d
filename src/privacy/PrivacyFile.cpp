#include "PrivacyFile.h"

#include "ChannelCatalogue.h"
#include "XmlFile.h"
#include "XmlValues.h"

#include <tinyxml.h>

namespace {

constexpr const char* kRootName = "Privacy";
constexpr const char* kHidden = "Hidden";
constexpr const char* kLocked = "Locked";
constexpr int kMaxNameLength = 1023;
constexpr int kMaxDigestLength = 256;

constexpr const char* kCountriesSection = "countries";

// A built-in place names its section (a number, or the countries' node) and maybe a
// position; anything else there names no place.
PrivacyPlace BuiltinPlaceOf(const TiXmlElement* element)
{
    PrivacyPlace place;
    const QString section = TextAttribute(element, "section", kMaxNameLength);
    bool number = false;
    place.section = section == QLatin1String(kCountriesSection) ? PrivacyPlace::kAllCountries : section.toInt(&number);
    if (place.section != PrivacyPlace::kAllCountries && (!number || place.section < 1 || place.section > kSectionCount))
        return {};
    if (element->Attribute("position") != nullptr) {
        place.position = IntegerAttribute(element, "position");
        if (place.position < 0 || place.section == PrivacyPlace::kAllCountries)
            return {};
    }
    return place;
}

PrivacyPlace PlaceOf(const TiXmlElement* element)
{
    if (element->Attribute("section") != nullptr)
        return BuiltinPlaceOf(element);
    return {TextAttribute(element, "playlist", kMaxNameLength), TextAttribute(element, "group", kMaxNameLength),
            TextAttribute(element, "channel", kMaxNameLength)};
}

void WriteBuiltinPlace(TiXmlElement* element, const PrivacyPlace& place)
{
    if (place.section == PrivacyPlace::kAllCountries)
        element->SetAttribute("section", kCountriesSection);
    else
        element->SetAttribute("section", place.section);
    if (place.position >= 0)
        element->SetAttribute("position", place.position);
}

void ReadPlaces(const TiXmlElement* root, const char* name, std::vector<PrivacyPlace>& places)
{
    for (const TiXmlElement* element = root->FirstChildElement(name); element != nullptr;
         element = element->NextSiblingElement(name)) {
        PrivacyPlace place = PlaceOf(element);
        if (!place.IsNone())
            places.push_back(std::move(place));
    }
}

void WritePlaces(TiXmlElement* root, const char* name, const std::vector<PrivacyPlace>& places)
{
    for (const PrivacyPlace& place : places) {
        auto* element = root->LinkEndChild(new TiXmlElement(name))->ToElement();
        if (place.IsBuiltin()) {
            WriteBuiltinPlace(element, place);
            continue;
        }
        element->SetAttribute("playlist", AttributeUtf8(place.playlist, kMaxNameLength).constData());
        element->SetAttribute("group", AttributeUtf8(place.group, kMaxNameLength).constData());
        element->SetAttribute("channel", AttributeUtf8(place.channel, kMaxNameLength).constData());
    }
}

QByteArray HexAttribute(const TiXmlElement* element, const char* name)
{
    return QByteArray::fromHex(TextAttribute(element, name, kMaxDigestLength).toLatin1());
}

} // namespace

PrivacyMarks LoadPrivacyMarks(const QString& path)
{
    PrivacyMarks marks;
    TiXmlDocument document;
    if (ReadXmlFile(path, document) != XmlReadResult::Parsed || document.RootElement()->ValueStr() != kRootName)
        return marks;
    const TiXmlElement* root = document.RootElement();
    if (const TiXmlElement* pin = root->FirstChildElement("Pin"))
        marks.pin = {HexAttribute(pin, "salt"), HexAttribute(pin, "key"), IntegerAttribute(pin, "rounds")};
    if (!marks.pin.IsSet())
        marks.pin = {};
    ReadPlaces(root, kHidden, marks.hidden);
    ReadPlaces(root, kLocked, marks.locked);
    return marks;
}

bool SavePrivacyMarks(const QString& path, const PrivacyMarks& marks, QString* reason)
{
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    auto* root = document.LinkEndChild(new TiXmlElement(kRootName))->ToElement();
    if (marks.pin.IsSet()) {
        auto* pin = root->LinkEndChild(new TiXmlElement("Pin"))->ToElement();
        pin->SetAttribute("salt", marks.pin.salt.toHex().constData());
        pin->SetAttribute("key", marks.pin.key.toHex().constData());
        pin->SetAttribute("rounds", marks.pin.rounds);
    }
    WritePlaces(root, kHidden, marks.hidden);
    WritePlaces(root, kLocked, marks.locked);
    return WriteXmlFile(path, document, XmlFileReaders::OwnerOnly, reason);
}
