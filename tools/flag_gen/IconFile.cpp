#include "IconFile.h"

#include <QFile>
#include <QtEndian>

namespace {
void put16(QByteArray& out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void put32(QByteArray& out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

// Bitmap header, bottom-up BGRA rows, then the AND mask (set where transparent).
QByteArray encode(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    const int maskStride = ((w + 31) / 32) * 4;
    QByteArray out;
    put32(out, 40);
    put32(out, static_cast<quint32>(w));
    put32(out, static_cast<quint32>(2 * h));
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);
    put32(out, static_cast<quint32>(w * h * 4 + maskStride * h));
    for (int i = 0; i < 4; ++i)
        put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x)
            put32(out, row[x]); // ARGB32 little-endian is B, G, R, A
    }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray mask(maskStride, '\0');
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            if (qAlpha(row[x]) == 0)
                mask[x / 8] = static_cast<char>(mask[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(mask);
    }
    return out;
}
} // namespace

bool WriteIconFile(const QString& path, const QList<QImage>& images)
{
    QByteArray header;
    put16(header, 0);
    put16(header, 1);
    put16(header, static_cast<quint16>(images.size()));
    QByteArray data;
    quint32 offset = 6 + 16 * static_cast<quint32>(images.size());
    for (const QImage& image : images) {
        const QByteArray bits = encode(image);
        header.append(static_cast<char>(image.width() & 0xFF)); // 256 is written as 0
        header.append(static_cast<char>(image.height() & 0xFF));
        header.append('\0');
        header.append('\0');
        put16(header, 1);
        put16(header, 32);
        put32(header, static_cast<quint32>(bits.size()));
        put32(header, offset);
        offset += static_cast<quint32>(bits.size());
        data.append(bits);
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(header + data) == header.size() + data.size();
}
