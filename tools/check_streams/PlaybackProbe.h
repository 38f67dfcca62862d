#pragma once
// Hands one address to the player engine with picture and sound off and waits for the
// first frame: the check closest to what a viewer sees.

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <chrono>

struct mpv_handle;

class PlaybackProbe : public QObject
{
    Q_OBJECT
public:
    PlaybackProbe(const QUrl& address, std::chrono::milliseconds timeout, QObject* parent = nullptr);
    ~PlaybackProbe() override;

    void Start();

    bool Played() const { return firstFrameMs >= 0; }
    bool TimedOut() const { return timedOut; }
    qint64 FirstFrameMs() const { return firstFrameMs; }
    // Why nothing played.
    const QString& Error() const { return error; }

signals:
    void Finished();

private:
    static void Wakeup(void* context);
    void DrainEvents();
    void Finish(const QString& why);
    void Destroy();

    const QUrl address;
    const std::chrono::milliseconds timeout;
    mpv_handle* player = nullptr;
    QElapsedTimer clock;
    QTimer deadline;
    qint64 firstFrameMs = -1;
    bool timedOut = false;
    bool done = false;
    QString error;
};
