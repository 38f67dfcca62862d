#pragma once
// One read of a playlist file (a local playlist or a cached copy) on a thread of its own,
// so that a file on a hung mount never holds the window. The result comes back on the
// thread that started the read, or TimedOut when the read takes too long; a read given up
// on, or whose object is gone, is left to end on its own.

#include "RegularFile.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class PlaylistFileRead : public QObject
{
    Q_OBJECT
public:
    PlaylistFileRead(const QString& path, qint64 maxBytes, int timeoutMs, QObject* parent = nullptr);
    ~PlaylistFileRead() override;

signals:
    // Once.
    void Finished(const FileReadResult& result);

private:
    struct Link; // between the reading thread and this object, while both exist

    void Finish(const FileReadResult& result);

    std::shared_ptr<Link> link;
    QTimer timer;
};
