#pragma once
// One running program per user and data folder, so that only one writes the settings: a
// second start hands its playlist arguments to the first and ends.

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString& name);

    // The name for the given data folder and the current user.
    static QString NameFor(const QString& dataFolder);

    // True when a running instance took the arguments; blocks for at most a few seconds.
    bool HandOver(const QStringList& arguments) const;
    // Becomes the running instance; Received() then brings what later starts hand over.
    bool Listen();

signals:
    void Received(const QStringList& arguments);

private:
    void Accept();

    QString name;
    QLocalServer server;
};

// The playlist sources among the program's arguments: addresses as given, files made
// absolute against the directory the program was started from (the launcher changes it).
QStringList PlaylistArguments(const QStringList& arguments, const QString& callerDirectory);
