#include "TinyHttpServer.h"

#include <QTcpSocket>

#include <zlib.h>

namespace {

constexpr int kGzipWindowBits = 15 + 16;
constexpr int kMemoryLevel = 8;

class Deflater
{
public:
    Deflater() { deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, kGzipWindowBits, kMemoryLevel, Z_DEFAULT_STRATEGY); }
    ~Deflater() { deflateEnd(&stream); }

    QByteArray Compress(const QByteArray& data, int flush)
    {
        QByteArray out(static_cast<qsizetype>(deflateBound(&stream, static_cast<uLong>(data.size()))), '\0');
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
        stream.avail_in = static_cast<uInt>(data.size());
        stream.next_out = reinterpret_cast<Bytef*>(out.data());
        stream.avail_out = static_cast<uInt>(out.size());
        deflate(&stream, flush);
        out.resize(out.size() - static_cast<qsizetype>(stream.avail_out));
        return out;
    }

private:
    z_stream stream{};
};

} // namespace

TinyHttpServer::TinyHttpServer()
{
    server.listen(QHostAddress::LocalHost);
    connect(&server, &QTcpServer::newConnection, this, [this] {
        QTcpSocket* socket = server.nextPendingConnection();
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            const QByteArray request = socket->peek(socket->bytesAvailable());
            if (!request.contains("\r\n\r\n"))
                return;
            const QByteArray path = request.split(' ').value(1);
            ++requests[path];
            lastHeaders[path] = request.left(request.indexOf("\r\n\r\n"));
            const auto found = responses.find(path);
            if (found == responses.end())
                return;
            const auto held = heldBack.find(path);
            if (held == heldBack.end()) {
                socket->write(found->second);
                socket->disconnectFromHost();
            } else {
                socket->write(found->second.chopped(held->second));
            }
        });
    });
}

QString TinyHttpServer::Url(const char* path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(QString::number(server.serverPort()), QLatin1String(path));
}

QByteArray HttpResponse(const QByteArray& status, const QByteArray& body, const QByteArray& headers)
{
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n" + headers
           + "Connection: close\r\n\r\n" + body;
}

QByteArray Gzip(const QByteArray& data)
{
    return Deflater().Compress(data, Z_FINISH);
}

QByteArray GzipBomb(int mebibytes)
{
    const QByteArray zeros(1024 * 1024, '\0');
    Deflater deflater;
    const QByteArray first = deflater.Compress(zeros, Z_FULL_FLUSH);
    return first + deflater.Compress(zeros, Z_FULL_FLUSH).repeated(mebibytes - 1);
}
