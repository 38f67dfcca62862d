#include "LanguageStrings.h"

#include "InvalidArgument.h"

const QString& LanguageStrings::Text(LanguageGroup group, qsizetype index) const
{
    return CheckedAt(lists[group], index);
}

void LanguageStrings::Clear()
{
    for (auto& list : lists)
        list.clear();
}
