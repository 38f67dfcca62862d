#include "PluralForms.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>

namespace {

constexpr QChar kFormSeparator = QLatin1Char('|');

int FormIndex(QLocale::Language language, qint64 count)
{
    switch (language) {
    case QLocale::French:
        return count <= 1 ? 0 : 1;
    case QLocale::Russian:
    case QLocale::Ukrainian:
    case QLocale::Belarusian: {
        const qint64 last = count % 10;
        const qint64 lastTwo = count % 100;
        if (last == 1 && lastTwo != 11)
            return 0;
        return last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14) ? 1 : 2;
    }
    default:
        return count == 1 ? 0 : 1;
    }
}

} // namespace

QString PluralForm(const QString& forms, const QString& localeCode, qint64 count)
{
    const QStringList list = forms.split(kFormSeparator);
    const int index = FormIndex(QLocale(localeCode).language(), count);
    return list.at(std::min<qsizetype>(index, list.size() - 1));
}
