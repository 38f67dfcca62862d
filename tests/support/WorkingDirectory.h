#pragma once
// Makes a folder the working directory for the lifetime of the object and restores the
// previous one however the test ends, so one test's folder never leaks into the next.

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
