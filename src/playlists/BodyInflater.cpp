#include "BodyInflater.h"

#include <zlib.h>

#include <algorithm>

namespace {
// Either wrapper: gzip as servers send it, zlib as "deflate" is meant to be.
constexpr int kAnyHeaderWindowBits = 15 + 32;
} // namespace

struct BodyInflater::Stream
{
    z_stream z{};
    Stream() { inflateInit2(&z, kAnyHeaderWindowBits); }
    ~Stream() { inflateEnd(&z); }
};

BodyInflater::BodyInflater(qint64 maxBytes) : stream(std::make_unique<Stream>()), maxBytes(maxBytes) {}

BodyInflater::~BodyInflater() = default;

void BodyInflater::Feed(const QByteArray& compressed)
{
    input.remove(0, inputUsed);
    inputUsed = 0;
    input.append(compressed);
}

bool BodyInflater::Step(qint64 stepBytes)
{
    if (state != State::Working)
        return false;
    z_stream& z = stream->z;
    // One byte past the limit tells a body that would grow beyond it.
    const qint64 room = std::min(stepBytes, maxBytes + 1 - inflated);
    QByteArray& piece = pieces.emplaceBack(static_cast<qsizetype>(room), Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef*>(input.data() + inputUsed);
    z.avail_in = static_cast<uInt>(input.size() - inputUsed);
    z.next_out = reinterpret_cast<Bytef*>(piece.data());
    z.avail_out = static_cast<uInt>(room);
    while (state == State::Working && z.avail_out > 0) {
        if (ended) {
            if (z.avail_in == 0)
                break;
            inflateReset(&z); // a further gzip member follows
            ended = false;
        }
        const int result = inflate(&z, Z_NO_FLUSH);
        if (result == Z_STREAM_END)
            ended = true;
        else if (result == Z_BUF_ERROR)
            break; // it needs more input
        else if (result != Z_OK)
            state = State::Damaged;
    }
    const qint64 produced = room - static_cast<qint64>(z.avail_out);
    piece.resize(static_cast<qsizetype>(produced));
    inflated += produced;
    inputUsed = input.size() - static_cast<qsizetype>(z.avail_in);
    if (inflated > maxBytes)
        state = State::TooLarge;
    // A full step may have left output inside the stream, or input behind it.
    return state == State::Working && z.avail_out == 0;
}

QByteArray BodyInflater::Body() const
{
    QByteArray body;
    body.reserve(static_cast<qsizetype>(inflated));
    for (const QByteArray& piece : pieces)
        body.append(piece);
    return body;
}
