#pragma once
// Shared pieces of the dialog tests: texts made to order, a recording URL opener, and a
// working directory switched for the length of a test.

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

class CurrentDirectory
{
public:
    explicit CurrentDirectory(const QString& path);
    ~CurrentDirectory();

private:
    QString previous;
};
