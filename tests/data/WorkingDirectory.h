#pragma once
// Makes a folder the working directory for the lifetime of the object, so that the
// language packs are looked up inside a test's own folder.

#include <QDir>
#include <QString>

class WorkingDirectory
{
public:
    explicit WorkingDirectory(const QString& path) : previous(QDir::currentPath()) { QDir::setCurrent(path); }
    ~WorkingDirectory() { QDir::setCurrent(previous); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    QString previous;
};
