#pragma once
// Shared pieces of the dialog tests: texts made to order and a recording URL opener.

#include "LanguageStrings.h"
#include "ShellOpen.h"

#include <QList>
#include <QString>
#include <QUrl>

// Every group filled with count entries "<group>:<index>", AboutDialog and the others alike.
LanguageStrings MakeStrings(int count);

class UrlRecorder
{
public:
    UrlRecorder();
    ~UrlRecorder();
    QList<QUrl> urls;

private:
    UrlOpener previous;
};
