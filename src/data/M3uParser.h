#pragma once
// Reads M3U playlists as they are found in the wild: with or without the #EXTM3U header,
// UTF-8 or Latin-1, any line ends, extended entries with their attributes, groups and
// per-channel HTTP headers.

#include "Playlist.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>
#include <vector>

enum class M3uProblem {
    None,
    Empty,
    WebPage,
    NotText,
    NoChannels,
    TooLarge,
    LineTooLong,    // at problemLine
    TooManyEntries, // at problemLine
};

struct M3uResult {
    std::vector<PlaylistChannel> channels;
    M3uProblem problem = M3uProblem::None;
    int problemLine = 0;  // 1-based, for the problems found on a line
    int skippedLines = 0; // lines that looked like entries but could not be read
    // The header's guide addresses (x-tvg-url, url-tvg, tvg-url; each may list several,
    // comma-separated), each once, in their order.
    QStringList guideAddresses;
};

class M3uParser
{
public:
    static constexpr qsizetype kMaxBytes = 64 * 1024 * 1024;
    static constexpr qsizetype kMaxLineBytes = 8 * 1024;
    static constexpr int kMaxEntries = 200000;

    // location: where the playlist itself lives (a local file or a downloaded address);
    // relative entries are resolved against it. A downloaded playlist may not name local
    // files.
    explicit M3uParser(const QUrl& location);

    M3uResult Parse(const QByteArray& bytes);

private:
    // Catch-up attributes as written, of an entry or of the playlist's header.
    struct CatchupText {
        QString mode, days, source;
    };
    struct Pending {
        QString name, tvgName, group, extGroup, tvgId, logo, userAgent, referrer, number;
        CatchupText catchup;
        std::optional<int> shiftMinutes;
        bool described = false; // an #EXTINF line came before the address
    };

    void ReadLine(QStringView line);
    void ReadHeader(QStringView info);
    void AddGuideAddresses(QStringView list);
    void RefuseLine();
    void ReadExtInf(QStringView info);
    void ReadOption(QStringView option);
    void ReadAddress(QStringView line);
    QString AbsoluteAddress(QStringView address) const;
    const QString& Intern(const QString& text);
    void ReadCatchupAttribute(QStringView key, QStringView value, CatchupText& catchup);
    CatchupOffer CatchupOf(const CatchupText& entry);

    QUrl location;
    bool remote;
    M3uResult result;
    Pending pending;
    CatchupText headerCatchup; // defaults for every entry
    int headerShiftMinutes = 0;
    int lineNumber = 0;
    QHash<QString, QString> interned;
};
