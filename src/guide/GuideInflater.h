#pragma once
// The plain bytes of a guide, whatever wraps them: gzip, gzip inside gzip, or nothing,
// decided by the bytes. Reads its source a block at a time and never holds more.

#include <QByteArray>
#include <QIODevice>

#include <memory>
#include <vector>

class GuideInflater
{
public:
    enum class Ending {
        Complete,
        Truncated, // the compressed stream stopped early: what came before is good
        Damaged,   // the compressed stream is corrupt from some point on
        TooLarge,  // more than the limit once inflated
        Unreadable,
    };

    static constexpr qint64 kMaxInflatedBytes = qint64(2) * 1024 * 1024 * 1024;
    static constexpr qsizetype kChunkBytes = 256 * 1024;

    explicit GuideInflater(QIODevice& source, qint64 maxBytes = kMaxInflatedBytes);
    ~GuideInflater();

    // The next piece of plain bytes; false at the end, then Ending() says how it ended.
    bool Next(QByteArray& chunk);
    Ending End() const { return ending; }
    // How much of the source has been read, for progress.
    qint64 SourceBytesRead() const;

    class Stage;

private:
    void Sniff();

    qint64 maxBytes;
    std::vector<std::unique_ptr<Stage>> stages; // each reads from the one before it
    QByteArray sniffed; // the first plain bytes, read while deciding the layers
    bool sniffedOnce = false;
    qint64 plainBytes = 0;
    bool tooLarge = false;
    Ending ending = Ending::Complete;
};
