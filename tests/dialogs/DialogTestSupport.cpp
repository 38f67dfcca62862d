#include "DialogTestSupport.h"

LanguageStrings MakeStrings(int count)
{
    LanguageStrings strings;
    for (int group = 0; group < kLanguageGroupCount; ++group) {
        for (int i = 0; i < count; ++i)
            strings.lists[group].append(QStringLiteral("%1:%2").arg(group).arg(i));
    }
    return strings;
}

UrlRecorder::UrlRecorder()
{
    previous = SetUrlOpener([this](const QUrl& url) { urls.append(url); });
}

UrlRecorder::~UrlRecorder()
{
    SetUrlOpener(previous);
}
