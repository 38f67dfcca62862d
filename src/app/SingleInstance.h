#pragma once
// One running program per user and data folder, so that only one writes the settings: a
// second start hands its playlist arguments to the first and ends. The socket lives in a
// folder only this user may enter, and each end checks that the other is this user, so no
// other user's program can receive the arguments (which may carry access tokens) or send any.

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // path: of the socket; empty when there is no private folder for it.
    explicit SingleInstance(const QString& path);

    // The socket's path for the given data folder and the current user: in
    // $XDG_RUNTIME_DIR, else in a folder of ours among the temporary files; empty when
    // neither is private to this user.
    static QString NameFor(const QString& dataFolder);

    // True when a running instance of this user took the arguments; blocks for at most a
    // few seconds.
    bool HandOver(const QStringList& arguments) const;
    // Becomes the running instance; Received() then brings what later starts hand over.
    // A failure is reported on standard error: the program then runs on its own.
    bool Listen();

signals:
    void Received(const QStringList& arguments);

private:
    void Accept();

    QString path;
    QLocalServer server;
};

// The playlist sources among the program's arguments: addresses as given, files made
// absolute against the directory the program was started from (the launcher changes it).
QStringList PlaylistArguments(const QStringList& arguments, const QString& callerDirectory);
