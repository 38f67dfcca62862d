#pragma once
// Inflates a gzip (or zlib) body a bounded step at a time, so that a small download that
// would inflate to gigabytes is refused once it passes the limit, having cost little
// memory and no long hold of the thread. The body is kept in pieces as inflated, so that
// it never has to be moved while it grows.

#include <QByteArray>
#include <QByteArrayList>

#include <memory>

class BodyInflater
{
public:
    enum class State { Working, TooLarge, Damaged };

    explicit BodyInflater(qint64 maxBytes);
    ~BodyInflater();
    BodyInflater(const BodyInflater&) = delete;
    BodyInflater& operator=(const BodyInflater&) = delete;

    // Queues compressed bytes as they arrive.
    void Feed(const QByteArray& compressed);
    // Inflates what is queued, at most stepBytes of it; true when another step may bring
    // more without further input.
    bool Step(qint64 stepBytes);
    // Working until the body grows too large or proves damaged.
    State Current() const { return state; }
    // Every member the input began has ended, and nothing is left over.
    bool Ended() const { return ended && inputUsed == input.size(); }
    // What was inflated, in one piece.
    QByteArray Body() const;

private:
    struct Stream;
    std::unique_ptr<Stream> stream;
    QByteArray input;
    qsizetype inputUsed = 0;
    qint64 maxBytes;
    QByteArrayList pieces;
    qint64 inflated = 0;
    bool ended = false; // the last member ended with nothing after it yet
    State state = State::Working;
};
