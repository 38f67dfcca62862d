#pragma once
// Runs tests/support/stream_zoo.py, the loopback server of every kind of stream, for the
// length of a test: start, steer, kill and bring back at the same port. The server dies
// with the test process however that ends.

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

class ZooServer
{
public:
    ZooServer() : ZooServer(QStringList()) {}
    // extraArguments: e.g. --root DIR, --segments N.
    explicit ZooServer(const QStringList& extraArguments);
    ~ZooServer();

    // Starts at port (0: a free one; after a Kill, the previous one). False when the server
    // did not come up; Error() says why, naming a busy port as such.
    bool Start(int port = 0);
    const QString& Error() const { return error; }
    // Ends it abruptly, as a crashed server would.
    void Kill();

    int Port() const { return port; }
    // Addresses on the plain port, the port with a certificate of the test CA, and the one
    // with a self-signed certificate; path with or without its leading slash.
    QString Url(const QString& path) const;
    QString TlsUrl(const QString& path) const;
    QString UntrustedUrl(const QString& path) const;
    // The test CA's certificate, for a client that is to trust TlsUrl.
    const QString& CaFile() const { return caFile; }

    // Sends /control?query, e.g. "mode=404" or "delay=2".
    bool Control(const QString& query) const;
    // Requests in flight now ("inflight"), the most seen at once ("max") and hits per
    // path and query ("hits"), counted since the last Reset.
    QJsonObject Stats() const;
    void Reset() const;
    // The body at path on the plain port; empty when it did not come.
    QByteArray Get(const QString& path, bool* ok = nullptr) const;

private:
    bool ReadAnnouncements();

    QStringList arguments;
    QProcess process;
    int port = 0;
    int tlsPort = 0;
    int untrustedPort = 0;
    QString caFile;
    QString error;
};

// Folder with the generated test media, shared by all runs of all tests.
QString ZooMediaFolder();

// An address on 127.0.0.1 where nothing listens, and one whose host name no resolver can
// find: its label is longer than 63 characters, so it is refused before any is asked.
QString ClosedPortUrl(const QString& path);
QString UnresolvableUrl(const QString& path);

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
