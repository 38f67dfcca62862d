#pragma once
// Runs tests/support/hls_server.py for a test: start, steer, kill and bring back at the
// same port.

#include <QByteArray>
#include <QProcess>
#include <QString>

class HlsServer
{
public:
    HlsServer();
    ~HlsServer();

    // Starts the server (at the previous port after a Kill); false if it did not come up.
    bool Start();
    // Ends it abruptly, as a crashed server would.
    void Kill();
    // Sends /control?query, e.g. "mode=404" or "delay=2".
    bool Control(const QString& query);

    int Port() const { return port; }
    QString Url(const QString& path) const;

private:
    QProcess process;
    int port = 0;
};

// Folder with the generated test media, shared by all runs of all tests.
QString HlsMediaFolder();

// Runs the event loop until pred() holds or timeoutMs passes; returns pred().
template <class Pred>
bool WaitFor(Pred pred, int timeoutMs);

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

template <class Pred>
bool WaitFor(Pred pred, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!pred()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}
