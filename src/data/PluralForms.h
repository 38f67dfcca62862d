#pragma once
// Texts that count something hold one form per plural category of their language, split
// by '|', in the order the language numbers them:
//   English, German, Dutch, Italian, Spanish and the rest: 1 | every other number
//   French: 0 and 1 | every other number
//   Russian, Ukrainian, Belarusian: 1, 21, 31... not 11 | 2-4, 22-24... not 12-14 | the rest
// A text with fewer forms than its language has uses its last.

#include <QString>

// localeCode: the language pack's, such as "ru".
QString PluralForm(const QString& forms, const QString& localeCode, qint64 count);
