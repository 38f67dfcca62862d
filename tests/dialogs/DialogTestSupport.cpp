#include "DialogTestSupport.h"

#include <QDir>

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

CurrentDirectory::CurrentDirectory(const QString& path) : previous(QDir::currentPath())
{
    QDir::setCurrent(path);
}

CurrentDirectory::~CurrentDirectory()
{
    QDir::setCurrent(previous);
}
