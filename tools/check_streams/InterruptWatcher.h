#pragma once
// Turns Ctrl+C (SIGINT) into a Qt signal. The handler only writes a byte to a socket pair;
// the event loop reads it and does the work. A second Ctrl+C ends the program at once.

#include <QObject>

class QSocketNotifier;

class InterruptWatcher : public QObject
{
    Q_OBJECT
public:
    explicit InterruptWatcher(QObject* parent = nullptr);
    ~InterruptWatcher() override;

    // False when the socket pair or the handler could not be set up.
    bool IsWatching() const { return notifier != nullptr; }

signals:
    void Interrupted();

private:
    static void HandleSignal(int signalNumber);
    void OnReadable();

    QSocketNotifier* notifier = nullptr;
};
