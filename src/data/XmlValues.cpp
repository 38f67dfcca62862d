#include "XmlValues.h"

#include <tinyxml.h>

#include <climits>

namespace {

int ParseInteger(const char* text)
{
    if (!text)
        return 0;
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        return static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

// At most maxLength UTF-16 units, never splitting a surrogate pair.
QString Truncated(QString text, int maxLength)
{
    if (text.size() > maxLength) {
        const bool splitsPair = text.at(maxLength - 1).isHighSurrogate() && text.at(maxLength).isLowSurrogate();
        text.truncate(splitsPair ? maxLength - 1 : maxLength);
    }
    return text;
}

} // namespace

int IntegerAttribute(const TiXmlElement* element, const char* name)
{
    return ParseInteger(element->Attribute(name));
}

QString TextAttribute(const TiXmlElement* element, const char* name, int maxLength)
{
    return Truncated(QString::fromUtf8(element->Attribute(name)), maxLength);
}

QString ElementText(const TiXmlElement* element, int maxLength)
{
    return Truncated(QString::fromUtf8(element->GetText()), maxLength);
}

QByteArray AttributeUtf8(const QString& text, int maxBytes)
{
    QByteArray utf8 = text.toUtf8();
    // A C buffer ends at the first zero byte.
    const qsizetype zero = utf8.indexOf('\0');
    if (zero >= 0)
        utf8.truncate(zero);
    if (utf8.size() > maxBytes) {
        qsizetype cut = maxBytes;
        while (cut > 0 && (static_cast<unsigned char>(utf8.at(cut)) & 0xC0) == 0x80)
            --cut;
        utf8.truncate(cut);
    }
    return utf8;
}

const TiXmlElement* FirstNodeAsElement(const TiXmlNode* parent)
{
    const TiXmlNode* first = parent ? parent->FirstChild() : nullptr;
    return first ? first->ToElement() : nullptr;
}
