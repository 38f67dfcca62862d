#include "GuideInflater.h"

#include <zlib.h>

namespace {
constexpr int kMaxLayers = 3;        // gzip inside gzip inside gzip; more is not a guide
constexpr int kGzipWindowBits = 15 + 16;
constexpr char kGzipMagic[] = "\x1f\x8b";

bool IsGzip(const QByteArray& bytes)
{
    return bytes.startsWith(QByteArrayView(kGzipMagic, 2));
}
} // namespace

// One layer: the source file itself, or a gzip stream read from the layer before.
class GuideInflater::Stage
{
public:
    virtual ~Stage() = default;
    // Up to kChunkBytes; false once nothing more comes.
    virtual bool Read(QByteArray& out) = 0;
    virtual Ending End() const { return Ending::Complete; }
};

namespace {

class FileStage : public GuideInflater::Stage
{
public:
    explicit FileStage(QIODevice& device) : device(device) {}
    bool Read(QByteArray& out) override
    {
        out.resize(GuideInflater::kChunkBytes);
        const qint64 read = device.read(out.data(), out.size());
        if (read < 0)
            failed = true;
        out.resize(std::max<qint64>(read, 0));
        return read > 0;
    }
    GuideInflater::Ending End() const override
    {
        return failed ? GuideInflater::Ending::Unreadable : GuideInflater::Ending::Complete;
    }
    qint64 Position() const { return device.pos(); }

private:
    QIODevice& device;
    bool failed = false;
};

class GunzipStage : public GuideInflater::Stage
{
public:
    // first: bytes already read from upstream while sniffing.
    GunzipStage(GuideInflater::Stage& upstream, QByteArray first, qint64 maxBytes)
        : upstream(upstream), input(std::move(first)), maxBytes(maxBytes)
    {
        if (inflateInit2(&stream, kGzipWindowBits) != Z_OK)
            ending = GuideInflater::Ending::Damaged;
        Feed();
    }
    ~GunzipStage() override { inflateEnd(&stream); }

    bool Read(QByteArray& out) override
    {
        out.resize(GuideInflater::kChunkBytes);
        stream.next_out = reinterpret_cast<Bytef*>(out.data());
        stream.avail_out = static_cast<uInt>(out.size());
        while (stream.avail_out > 0 && !finished) {
            if (stream.avail_in == 0 && !Refill())
                break;
            Step();
        }
        out.resize(out.size() - stream.avail_out);
        total += out.size();
        if (total > maxBytes) {
            ending = GuideInflater::Ending::TooLarge;
            finished = true;
            out.clear();
        }
        return !out.isEmpty();
    }
    GuideInflater::Ending End() const override
    {
        return ending == GuideInflater::Ending::Complete ? upstream.End() : ending;
    }

private:
    void Feed()
    {
        stream.next_in = reinterpret_cast<Bytef*>(input.data());
        stream.avail_in = static_cast<uInt>(input.size());
    }

    bool Refill()
    {
        if (!upstream.Read(input)) {
            if (!betweenMembers)
                ending = GuideInflater::Ending::Truncated;
            finished = true;
            return false;
        }
        Feed();
        return true;
    }

    void Step()
    {
        if (betweenMembers) {
            // Another member may follow (concatenated gzip); anything else is trailing
            // padding, ignored as gzip itself does.
            if (stream.next_in[0] != 0x1f) {
                finished = true;
                return;
            }
            inflateReset(&stream);
            betweenMembers = false;
        }
        const int result = inflate(&stream, Z_NO_FLUSH);
        if (result == Z_STREAM_END)
            betweenMembers = true;
        else if (result != Z_OK && result != Z_BUF_ERROR) {
            ending = GuideInflater::Ending::Damaged;
            finished = true;
        }
    }

    GuideInflater::Stage& upstream;
    QByteArray input;
    z_stream stream{};
    qint64 maxBytes;
    qint64 total = 0;
    bool betweenMembers = false;
    bool finished = false;
    GuideInflater::Ending ending = GuideInflater::Ending::Complete;
};

} // namespace

GuideInflater::GuideInflater(QIODevice& source, qint64 maxBytes) : maxBytes(maxBytes)
{
    stages.push_back(std::make_unique<FileStage>(source));
}

GuideInflater::~GuideInflater() = default;

qint64 GuideInflater::SourceBytesRead() const
{
    return static_cast<const FileStage&>(*stages.front()).Position();
}

void GuideInflater::Sniff()
{
    sniffedOnce = true;
    stages.back()->Read(sniffed);
    while (IsGzip(sniffed) && static_cast<int>(stages.size()) <= kMaxLayers) {
        stages.push_back(std::make_unique<GunzipStage>(*stages.back(), std::move(sniffed), maxBytes));
        sniffed.clear();
        stages.back()->Read(sniffed);
    }
}

bool GuideInflater::Next(QByteArray& chunk)
{
    if (tooLarge)
        return false;
    if (!sniffedOnce) {
        Sniff();
        if (!sniffed.isEmpty()) {
            plainBytes = sniffed.size();
            chunk = std::move(sniffed);
            sniffed.clear();
            return true;
        }
    } else if (stages.back()->Read(chunk)) {
        plainBytes += chunk.size();
        if (plainBytes <= maxBytes)
            return true;
        tooLarge = true;
    }
    chunk.clear();
    ending = tooLarge ? Ending::TooLarge : stages.back()->End();
    return false;
}
