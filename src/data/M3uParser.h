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

// Why a line was skipped, in the order the Playlists texts name them.
enum class M3uRefusal {
    NulCharacter,
    Markup,            // never an address
    NoAddress,         // a description no address followed
    UnclosedQuote,     // its address still plays, unnamed
    LocalFile,         // named by a downloaded playlist
    AddressNotAllowed, // a scheme no channel may use
    UnsafeHeader,      // a header value holding CR, LF or NUL
    NotAnAddress,      // text in place of an address, "[NO PUBLIC STREAM]", naming no file either
};

// The refusals of lines a playlist may not hold, as against lines that cannot be read.
inline bool IsNotAllowed(M3uRefusal refusal)
{
    return refusal == M3uRefusal::LocalFile || refusal == M3uRefusal::AddressNotAllowed
           || refusal == M3uRefusal::UnsafeHeader;
}

struct M3uRefusedLine {
    int line = 0; // 1-based
    M3uRefusal refusal = M3uRefusal::NulCharacter;
};

struct M3uResult {
    std::vector<PlaylistChannel> channels;
    M3uProblem problem = M3uProblem::None;
    int problemLine = 0;  // 1-based, for the problems found on a line
    int skippedLines = 0; // lines that looked like entries but could not be read or were refused
    int refusedLines = 0; // of them, those refused as not allowed (IsNotAllowed)
    std::vector<M3uRefusedLine> firstRefused; // the first kReportedRefusals of them
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
    static constexpr size_t kReportedRefusals = 3;

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
        int line = 0;           // of that #EXTINF
    };

    void ReadLine(QStringView line);
    void ReadHeader(QStringView info);
    void AddGuideAddresses(QStringView list);
    void RefuseLine();
    void Skip(int line, M3uRefusal refusal);
    void ReadExtInf(QStringView info);
    void ReadOption(QStringView option);
    void ReadAddress(QStringView line);
    QString AbsoluteAddress(QStringView address) const;
    bool NamesNothing(QStringView line, const QString& address) const;
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
