#include "StreamRules.h"

#include <algorithm>
#include <array>

namespace {

// The network protocols the engine plays streams over, with their secure and tunnelled
// forms.
constexpr std::array<QLatin1StringView, 11> kStreamSchemes = {
    QLatin1StringView("http"),  QLatin1StringView("https"), QLatin1StringView("rtmp"),
    QLatin1StringView("rtmps"), QLatin1StringView("rtsp"),  QLatin1StringView("rtsps"),
    QLatin1StringView("udp"),   QLatin1StringView("rtp"),   QLatin1StringView("mms"),
    QLatin1StringView("mmsh"),  QLatin1StringView("srt"),
};
constexpr QLatin1StringView kFileScheme("file");

} // namespace

QStringView SchemeOf(QStringView address)
{
    const qsizetype colon = address.indexOf(QLatin1Char(':'));
    if (colon < 2 || !address.front().isLetter())
        return {};
    const QStringView scheme = address.left(colon);
    const bool valid = std::all_of(scheme.begin(), scheme.end(), [](QChar c) {
        return c.isLetterOrNumber() || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('.');
    });
    return valid ? scheme : QStringView();
}

bool IsStreamScheme(QStringView scheme)
{
    return std::any_of(kStreamSchemes.begin(), kStreamSchemes.end(), [scheme](QLatin1StringView known) {
        return scheme.compare(known, Qt::CaseInsensitive) == 0;
    });
}

bool IsFileScheme(QStringView scheme)
{
    return scheme.compare(kFileScheme, Qt::CaseInsensitive) == 0;
}

QString WithLowerCaseScheme(QStringView address)
{
    const QStringView scheme = SchemeOf(address);
    if (!IsStreamScheme(scheme) && !IsFileScheme(scheme))
        return address.toString();
    return scheme.toString().toLower() + address.mid(scheme.size()).toString();
}

bool IsSafeHeaderValue(QStringView value)
{
    return std::none_of(value.begin(), value.end(), [](QChar c) {
        return c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar::Null;
    });
}

UnavailableReason RefusalOf(QStringView address, QStringView userAgent, QStringView referrer)
{
    const QStringView scheme = SchemeOf(address);
    const bool knownKind = scheme.isEmpty() || IsStreamScheme(scheme) || IsFileScheme(scheme);
    const bool whole = !address.contains(QChar::Null) && IsSafeHeaderValue(userAgent) && IsSafeHeaderValue(referrer);
    return knownKind && whole ? UnavailableReason::None : UnavailableReason::NotAllowed;
}
