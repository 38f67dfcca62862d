#include "XmltvTime.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include <strings.h>

namespace {

constexpr qint64 kSecondsPerDay = 86400;
constexpr qint64 kSecondsPerHour = 3600;
constexpr qint64 kSecondsPerMinute = 60;

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
qint64 DaysFromCivil(qint64 year, unsigned month, unsigned day)
{
    year -= month <= 2;
    const qint64 era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<qint64>(dayOfEra) - 719468;
}

bool ReadDigits(const char*& text, int count, int& value)
{
    value = 0;
    for (int i = 0; i < count; ++i, ++text) {
        if (*text < '0' || *text > '9')
            return false;
        value = value * 10 + (*text - '0');
    }
    return true;
}

struct NamedZone {
    const char* name;
    int hours;
};

// The zones guides name rather than give as an offset. IST is Ireland's summer time, as
// in the guides of these islands; India's would be +05:30.
constexpr NamedZone kNamedZones[] = {
    {"UTC", 0},  {"GMT", 0},  {"UT", 0},    {"Z", 0},     {"BST", 1},  {"IST", 1},  {"WET", 0},
    {"WEST", 1}, {"CET", 1},  {"CEST", 2},  {"EET", 2},   {"EEST", 3}, {"MSK", 3},  {"EST", -5},
    {"EDT", -4}, {"CST", -6}, {"CDT", -5},  {"MST", -7},  {"MDT", -6}, {"PST", -8}, {"PDT", -7},
    {"JST", 9},  {"KST", 9},  {"AEST", 10}, {"AEDT", 11},
};

// A numeric offset, "+0100" or "-05:30", read into offset; false when it is not one.
bool ReadOffset(const char*& text, qint64& offset)
{
    const int sign = *text == '-' ? -1 : 1;
    int zoneHours = 0, zoneMinutes = 0;
    ++text;
    if (!ReadDigits(text, 2, zoneHours))
        return false;
    if (*text == ':')
        ++text;
    if (!ReadDigits(text, 2, zoneMinutes))
        return false;
    offset = sign * (zoneHours * kSecondsPerHour + zoneMinutes * kSecondsPerMinute);
    return true;
}

// A zone name, "BST", maybe with an offset from it, "GMT+0100". False for a name not known,
// which is then read as UTC.
bool ReadZoneName(const char*& text, qint64& offset)
{
    const char* const start = text;
    while (std::isalpha(static_cast<unsigned char>(*text)))
        ++text;
    const std::string_view name(start, static_cast<std::size_t>(text - start));
    const auto known = std::find_if(std::begin(kNamedZones), std::end(kNamedZones), [&](const NamedZone& zone) {
        return strncasecmp(zone.name, start, name.size()) == 0 && zone.name[name.size()] == '\0';
    });
    offset = known != std::end(kNamedZones) ? known->hours * kSecondsPerHour : 0;
    qint64 more = 0;
    if ((*text == '+' || *text == '-') && ReadOffset(text, more))
        offset += more;
    return known != std::end(kNamedZones);
}

} // namespace

bool ParseXmltvTime(const char* text, qint64& secondsSinceEpoch, bool* unknownZone)
{
    if (text == nullptr)
        return false;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!ReadDigits(text, 4, year) || !ReadDigits(text, 2, month) || !ReadDigits(text, 2, day))
        return false;
    // Hours, minutes and seconds may each be left out, from the right.
    for (int* part : {&hour, &minute, &second}) {
        if (*text < '0' || *text > '9')
            break;
        if (!ReadDigits(text, 2, *part))
            return false;
    }
    constexpr int kMonths = 12, kDays = 31, kHours = 23, kMinutes = 59, kSeconds = 60;
    if (month < 1 || month > kMonths || day < 1 || day > kDays || hour > kHours || minute > kMinutes
        || second > kSeconds)
        return false;
    qint64 offset = 0;
    while (*text == ' ')
        ++text;
    if (*text == '+' || *text == '-') {
        if (!ReadOffset(text, offset))
            return false;
    } else if (std::isalpha(static_cast<unsigned char>(*text))) {
        const bool known = ReadZoneName(text, offset);
        if (unknownZone != nullptr)
            *unknownZone = *unknownZone || !known;
    }
    secondsSinceEpoch = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * kSecondsPerDay
                        + hour * kSecondsPerHour + minute * kSecondsPerMinute + second - offset;
    return true;
}
