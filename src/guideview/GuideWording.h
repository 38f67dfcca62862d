#pragma once
// What the guide says, in the viewer's words: the reason a guide could not be read, times
// of day, now and next.

#include "GuideImport.h"
#include "GuideTypes.h"
#include "LanguageStrings.h"

#include <QDateTime>
#include <QString>

QString GuideReasonText(const LanguageStrings& texts, GuideProblem problem, const QString& detail);

// A moment on the viewer's clock in the pack's language, as every "last read" and "last
// refresh" tells it.
QString ViewerDateTime(const LanguageStrings& texts, const QDateTime& at);

// A time of day on the viewer's clock, hours and minutes.
QString GuideTimeText(qint64 secondsSinceEpoch);

// "20:00–21:00", or "20:00–" for a programme of no known end.
QString GuideSpanText(const GuideProgramme& programme);

// The line about the programme on now (with how far along it is, when its end is known)
// and the one about the next; an empty text for what the guide does not know.
QString GuideNowText(const LanguageStrings& texts, const GuideProgramme& programme, qint64 now);
QString GuideNextText(const LanguageStrings& texts, const GuideProgramme& programme);

// What the description box shows above a channel's own description: the now and next
// lines and a blank line, or nothing where the guide knows neither.
QString GuideOnAirText(const LanguageStrings& texts, const GuideNowNext& onAir, qint64 now);
