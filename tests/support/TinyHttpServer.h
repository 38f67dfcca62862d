#pragma once
// A loopback HTTP server that answers each path with a fixed response, and the bodies the
// download tests serve with it: gzip-compressed ones, and gzip bombs.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpServer>

#include <map>

// Unknown paths are never answered.
class TinyHttpServer : public QObject
{
public:
    std::map<QByteArray, QByteArray> responses; // by path
    std::map<QByteArray, int> requests;         // how often each path was asked for
    std::map<QByteArray, QByteArray> lastHeaders; // by path: the last request's head
    // By path: the response's last bytes, kept back with the connection left open, as a
    // slow server does.
    std::map<QByteArray, qsizetype> heldBack;

    TinyHttpServer();
    QString Url(const char* path) const;

private:
    QTcpServer server;
};

QByteArray HttpResponse(const QByteArray& status, const QByteArray& body, const QByteArray& headers = {});

QByteArray Gzip(const QByteArray& data);

// A gzip body that would inflate to mebibytes MiB of zeros, about a thousandth of that on
// the wire: one compressed MiB, flushed so that every further one compresses to the same
// bytes, repeated; without the trailer, which nothing should read that far.
QByteArray GzipBomb(int mebibytes);
