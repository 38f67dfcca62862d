#pragma once
// The logos kept on disk ($XDG_CACHE_HOME/Korvanta/logos): each decoded once, scaled to a
// height every row can use and stored as PNG under a hash of its address; a logo that
// could not be had leaves a marker, so that it is not asked for again for a day. The
// folder is bounded; the least recently used logos go first. Used from one thread at a
// time (the logo cache's worker).

#include <QDateTime>
#include <QImage>
#include <QString>

class LogoFolder
{
public:
    static constexpr qint64 kDefaultMaxBytes = 200LL * 1024 * 1024;
    static constexpr qint64 kRetryAfterSeconds = 24 * 60 * 60;
    // What is stored: tall enough for the tallest row and the desktop's media panel.
    static constexpr int kStoredHeight = 64;

    static QString DefaultPath();

    explicit LogoFolder(const QString& path = DefaultPath(), qint64 maxBytes = kDefaultMaxBytes);

    enum class State { Missing, Stored, Failed };
    struct Found {
        State state = State::Missing;
        QImage image; // when Stored
    };
    // What the folder holds for address at now; a stored logo counts as used.
    Found Lookup(const QString& address, const QDateTime& now = QDateTime::currentDateTimeUtc());

    // Decodes a downloaded body (PNG, JPEG or SVG), stores it scaled and returns it; a null
    // image, with the failure marked, for anything else.
    QImage Store(const QString& address, const QByteArray& body);
    void MarkFailed(const QString& address);

    // The viewer's bound: the least recently used go at once down to it.
    void SetMaxBytes(qint64 bytes);
    // Every stored logo and every mark of one that failed goes.
    void Empty();

    // The stored PNG of address (whether or not it exists).
    QString FileOf(const QString& address) const;

private:
    QString MarkerOf(const QString& address) const;
    void Evict();

    QString path;
    qint64 maxBytes;
    qint64 usedBytes = -1; // -1 until the folder was first measured
};
