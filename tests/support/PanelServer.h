#pragma once
// Runs tests/support/panel_server.py, a provider's panel on the loopback, for the length of
// a test; it dies with the test process however that ends.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

class PanelServer
{
public:
    explicit PanelServer(const QStringList& extraArguments = {});
    ~PanelServer();

    bool Start();
    void Kill();
    QString Server() const { return QStringLiteral("http://127.0.0.1:%1").arg(port); }
    // Every request so far, path and query, in order.
    QStringList Asked() const;

private:
    QStringList arguments;
    QProcess process;
    int port = 0;
};
