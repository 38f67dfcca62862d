#pragma once
// Runs stream_server.py, the loopback stand-in for stream hosts, for the length of a test.

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

class StreamServer
{
public:
    // extraArguments: --root DIR, --cert FILE --key FILE.
    explicit StreamServer(const QStringList& extraArguments = {});
    ~StreamServer();

    // False when the server did not come up; Error() says why.
    bool Start();
    const QString& Error() const { return error; }

    QString Url(const QString& path) const;
    QString TlsUrl(const QString& path) const;

    // Requests in flight now ("inflight"), the most seen at once ("max") and hits per
    // path and query ("hits"), counted since the last Reset.
    QJsonObject Stats() const;
    void Reset() const;

private:
    QByteArray Get(const QString& path) const;

    QStringList arguments;
    QProcess process;
    int port = 0;
    int tlsPort = 0;
    QString error;
};
