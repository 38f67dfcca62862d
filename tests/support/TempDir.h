#pragma once
// A fresh folder per test, removed afterwards; optionally made the XDG config home so the
// program's data folder lands inside it.

#include <QString>
#include <QTemporaryDir>

class TempDir
{
public:
    TempDir();
    ~TempDir();

    QString Path() const { return dir.path(); }
    QString FilePath(const QString& name) const { return dir.filePath(name); }

    void WriteFile(const QString& relativePath, const QByteArray& bytes) const;
    QByteArray ReadFile(const QString& relativePath) const;

    // Points XDG_CONFIG_HOME here until destruction.
    void UseAsConfigHome();

private:
    QTemporaryDir dir;
    bool configHome = false;
    QByteArray previousConfigHome;
    QByteArray previousDataHome;
};
