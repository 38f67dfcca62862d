#include "GuideWording.h"

#include "AccessTexts.h"
#include "GuideTexts.h"
#include "ReaderTexts.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>

namespace {
constexpr int kPercent = 100;

// A day in the pack's own words, with its year or without.
QString DayText(const LanguageStrings& texts, qint64 secondsSinceEpoch, bool withYear)
{
    const QLocale locale(texts[Locale].value(LocaleCode));
    return locale.toString(QDateTime::fromSecsSinceEpoch(secondsSinceEpoch).date(),
                           texts.Text(Readers, withYear ? ReadersDayYearFormat : ReadersDayFormat));
}

int YearOf(qint64 secondsSinceEpoch)
{
    return QDateTime::fromSecsSinceEpoch(secondsSinceEpoch).date().year();
}

// "from 22 Aug to 25 Aug 2026; Korvanta keeps from 2 Dec to 23 Dec": the guide's days end
// with their year, the days kept are of this year unless they reach into the next.
QString OutsideDaysText(const LanguageStrings& texts, const QString& detail)
{
    const QStringList parts = detail.split(QLatin1Char(' '));
    const qint64 first = parts.value(0).toLongLong(), last = parts.value(1).toLongLong();
    const qint64 keptFrom = parts.value(2).toLongLong(), keptTo = parts.value(3).toLongLong();
    const bool keptYears = YearOf(keptFrom) != YearOf(keptTo);
    return texts.Text(Readers, ReadersOutsideDays)
        .arg(DayText(texts, first, YearOf(first) != YearOf(last)), DayText(texts, last, true),
             DayText(texts, keptFrom, keptYears), DayText(texts, keptTo, keptYears));
}
} // namespace

QString GuideReasonText(const LanguageStrings& texts, GuideProblem problem, const QString& detail)
{
    if (problem == GuideProblem::None)
        return {};
    if (problem == GuideProblem::OutsideDays)
        return OutsideDaysText(texts, detail);
    const QString& text = texts.Text(Guide, GuideUnreadable + static_cast<int>(problem) - 1);
    switch (problem) {
    case GuideProblem::Damaged:
    case GuideProblem::HttpStatus:
    case GuideProblem::Network:
        return QString(text).arg(detail);
    case GuideProblem::Unreadable:
    case GuideProblem::NotGuide:
        // The detail is the system's or the reader's own word, kept as it came.
        return detail.isEmpty() ? text : text + QStringLiteral(" (") + detail + QLatin1Char(')');
    default:
        return text;
    }
}

QString ViewerDateTime(const LanguageStrings& texts, const QDateTime& at)
{
    return QLocale(texts[Locale].value(LocaleCode)).toString(at.toLocalTime(), QLocale::ShortFormat);
}

QString GuideTimeText(qint64 secondsSinceEpoch)
{
    return QDateTime::fromSecsSinceEpoch(secondsSinceEpoch).toString(QStringLiteral("HH:mm"));
}

QString GuideSpanText(const GuideProgramme& programme)
{
    return GuideTimeText(programme.start) + QChar(0x2013) + (programme.hasStop ? GuideTimeText(programme.stop) : QString());
}

QString GuideNowText(const LanguageStrings& texts, const GuideProgramme& programme, qint64 now)
{
    // Without an end there is no share of it gone to tell.
    if (!programme.hasStop)
        return texts.Text(Readers, ReadersNowOpenLine).arg(programme.title, GuideTimeText(programme.start));
    const qint64 length = programme.stop - programme.start;
    const qint64 gone = length > 0 ? std::clamp<qint64>((now - programme.start) * kPercent / length, 0, kPercent) : 0;
    return texts.Text(Guide, GuideNowLine)
        .arg(programme.title, GuideTimeText(programme.start), GuideTimeText(programme.stop), QString::number(gone));
}

QString GuideNextText(const LanguageStrings& texts, const GuideProgramme& programme)
{
    return texts.Text(Guide, GuideNextLine)
        .arg(programme.title, GuideTimeText(programme.start), programme.hasStop ? GuideTimeText(programme.stop) : QString());
}

QString GuideOnAirText(const LanguageStrings& texts, const GuideNowNext& onAir, qint64 now)
{
    QStringList lines;
    if (onAir.now)
        lines.append(GuideNowText(texts, *onAir.now, now));
    if (onAir.next)
        lines.append(GuideNextText(texts, *onAir.next));
    return lines.isEmpty() ? QString() : lines.join(QLatin1Char('\n')) + QStringLiteral("\n\n");
}
