#include "ClockText.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr qint64 kSecondsPerHour = 3600;
constexpr qint64 kSecondsPerMinute = 60;
} // namespace

QString ClockText(double seconds)
{
    const qint64 whole = std::llround(std::max(0.0, seconds));
    const int minuteDigits = whole < kSecondsPerHour ? 1 : 2;
    const QString minutes = QStringLiteral("%1:%2")
                                .arg(whole / kSecondsPerMinute % kSecondsPerMinute, minuteDigits, 10, QLatin1Char('0'))
                                .arg(whole % kSecondsPerMinute, 2, 10, QLatin1Char('0'));
    return whole < kSecondsPerHour ? minutes : QString::number(whole / kSecondsPerHour) + QLatin1Char(':') + minutes;
}
