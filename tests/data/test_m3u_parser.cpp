// M3U playlists as they are found in the wild, one case per quirk.

#include "M3uParser.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

const QUrl kDownloaded(QStringLiteral("http://lists.example/tv/all.m3u"));
const QUrl kLocal = QUrl::fromLocalFile(QStringLiteral("/home/v/lists/mine.m3u"));

// name|address|group|tvgId|logo|userAgent|referrer, and #number when there is one
QString Describe(const PlaylistChannel& c)
{
    const QString described =
        QStringList{c.name, c.address, c.group, c.tvgId, c.logo, c.userAgent, c.referrer}.join(QLatin1Char('|'));
    return c.number.isEmpty() ? described : described + QStringLiteral("|#") + c.number;
}

struct EntryCase {
    const char* quirk;
    QByteArray input;
    QStringList channels;
    int skipped = 0;
    QUrl location = kDownloaded;
};

struct RefusalCase {
    const char* quirk;
    QByteArray input;
    M3uProblem problem;
    int line = 0;
};

QByteArray Repeated(const char* line, int count)
{
    return QByteArray(line).repeated(count);
}

// Comment lines past the part of the file where a NUL marks it as binary.
const QByteArray kPastSniffedPart = Repeated("# padding padding padding padding padding padding padding\n", 1200);

} // namespace

TEST(M3uParser, ReadsEveryQuirkOfTheWild)
{
    const EntryCase cases[] = {
        {"header with guide attributes, CR LF",
         "#EXTM3U url-tvg=\"http://e/g.xml\" x-tvg-url=\"http://e/h.xml\"\r\n"
         "#EXTINF:-1 tvg-id=\"a.us\" tvg-logo=\"http://l/a.png\" group-title=\"News\" tvg-chno=\"7\",A One\r\n"
         "http://s/a.m3u8\r\n",
         {"A One|http://s/a.m3u8|News|a.us|http://l/a.png|||#7"}},
        {"no header, bare CR", "http://s/a.m3u8\rhttp://s/dir/b.ts", {"a.m3u8|http://s/a.m3u8|||||", "b.ts|http://s/dir/b.ts|||||"}},
        {"UTF-8 with BOM", "\xEF\xBB\xBF#EXTM3U\n#EXTINF:0,\xC3\x9Cn\xC3\xAF\nhttp://s/u\n", {"\u00DCn\u00EF|http://s/u|||||"}},
        {"Latin-1 fallback", "#EXTINF:-1,Caf\xE9\nhttp://s/c\n", {"Caf\u00E9|http://s/c|||||"}},
        {"quote styles and commas",
         "#EXTINF:-1 tvg-id='s.q' group-title=Unq tvg-name=\"D, q\",Title, with comma\nhttp://s/q",
         {"Title, with comma|http://s/q|Unq|s.q|||"}},
        {"missing title",
         "#EXTINF:-1 tvg-name=\"From Tvg\",\nhttp://s/x\n#EXTINF:-1 tvg-id=\"x\"\nhttp://s/path/last.m3u8?token=1\n"
         "#EXTINF:-1,\nhttp://host.example/\n",
         {"From Tvg|http://s/x|||||", "last.m3u8|http://s/path/last.m3u8?token=1||x|||",
          "host.example|http://host.example/|||||"}},
        {"EXTGRP, group-title first",
         "#EXTINF:-1,G\n#EXTGRP:Sport\nhttp://s/g\n#EXTGRP:Sport\n#EXTINF:-1 group-title=\"Film\",H\nhttp://s/h\nhttp://s/i\n",
         {"G|http://s/g|Sport||||", "H|http://s/h|Film||||", "i|http://s/i|||||"}},
        {"player options for one channel only",
         "#EXTINF:-1,V\n#EXTVLCOPT:http-user-agent=Agent/1 (X)\n#EXTVLCOPT:http-referrer=http://r/\nhttp://s/v\n"
         "#EXTINF:-1,W\nhttp://s/w\n",
         {"V|http://s/v||||Agent/1 (X)|http://r/", "W|http://s/w|||||"}},
        {"header suffix on the address",
         "http://s/p.m3u8|User-Agent=Mozilla%2F5.0&referer=\"http://r/\"&x=1\n",
         {"p.m3u8|http://s/p.m3u8||||Mozilla/5.0|http://r/"}},
        {"relative to the download", "sub/a.m3u8\n/root/b.ts\n../up.ts\n",
         {"a.m3u8|http://lists.example/tv/sub/a.m3u8|||||", "b.ts|http://lists.example/root/b.ts|||||",
          "up.ts|http://lists.example/up.ts|||||"}},
        {"stream schemes kept, local files refused in a download",
         "rtmp://h/a\nrtsp://h/b\nudp://@239.0.0.1:1234\nrtp://h:5\nmms://h/c\nHTTPS://h/d\nfile:///etc/passwd\n"
         "javascript:alert(1)\nC:\\tv\\x.ts\n<p>\n",
         {"a|rtmp://h/a|||||", "b|rtsp://h/b|||||", "239.0.0.1|udp://@239.0.0.1:1234|||||", "h|rtp://h:5|||||",
          "c|mms://h/c|||||", "d|https://h/d|||||"},
         4},
        {"as the public lists are: feed ids, marked names, placeholders, every network scheme",
         "#EXTM3U\n#EXTINF:-1 tvg-id=\"TG4.ie@SD\",TG4 (1080p)\nmmsh://h/a\n#EXTINF:-1,Two (720p) [Geo-blocked]\n"
         "[NO PUBLIC STREAM]\n#EXTINF:-1,Three\nudp://@239.0.0.1:1234|User-Agent=A\nSRT://h:9000\nrtsps://h/b\nrtmps://h/c\n"
         "NO PUBLIC STREAM\n",
         {"TG4 (1080p)|mmsh://h/a||TG4.ie@SD|||", "Three|udp://@239.0.0.1:1234||||A|", "h|srt://h:9000|||||",
          "b|rtsps://h/b|||||", "c|rtmps://h/c|||||"},
         2},
        {"local playlist names local files", "clip.ts\n../other/x.mkv\n/abs/y.ts\nFILE:///abs/z.ts\nfile:///a%00b.ts\nFILE:FILE:rel.ts\n",
         {"clip.ts|/home/v/lists/clip.ts|||||", "x.mkv|/home/v/other/x.mkv|||||", "y.ts|/abs/y.ts|||||",
          "z.ts|/abs/z.ts|||||"},
         2, kLocal},
        {"blank and unknown lines skipped, orphans counted",
         "#EXTM3U\n\n  \n#PLAYLIST:x\n# comment\n#EXTINF:-1,Orphan\n#EXTINF:-1,Real\n  http://s/r  \n#EXTINF:-1,End\n",
         {"Real|http://s/r|||||"}, 2},
        {"unterminated quote", "#EXTINF:-1 tvg-name=\"open,Title\nhttp://s/t.ts", {"t.ts|http://s/t.ts|||||"}, 1},
        {"NUL late in the file refuses its line and the entry it belongs to",
         kPastSniffedPart + QByteArrayLiteral("#EXTINF:-1,Cut\0Name\nhttp://s/a\nhttp://s/b\0c\n#EXTINF:-1,B\n"
                                              "#EXTVLCOPT:http-user-agent=A\0B\nhttp://s/d\n"),
         {"a|http://s/a|||||", "d|http://s/d|||||"}, 3},
    };
    for (const EntryCase& c : cases) {
        M3uParser parser(c.location);
        const M3uResult result = parser.Parse(c.input);
        EXPECT_EQ(result.problem, M3uProblem::None) << c.quirk;
        QStringList channels;
        for (const PlaylistChannel& channel : result.channels)
            channels.append(Describe(channel));
        EXPECT_EQ(channels, c.channels) << c.quirk;
        EXPECT_EQ(result.skippedLines, c.skipped) << c.quirk;
    }
}

TEST(M3uParser, TextInPlaceOfAnAddressIsKeptOnlyWhereAFileHasThatName)
{
    TempDir dir;
    dir.WriteFile(QStringLiteral("news [live].ts"), "x");
    const QUrl local = QUrl::fromLocalFile(dir.FilePath(QStringLiteral("mine.m3u")));
    const M3uResult result =
        M3uParser(local).Parse("news [live].ts\n[NO PUBLIC STREAM]\n/media/usb/My Films/a.mkv\nclip.ts\n");
    QStringList addresses;
    for (const PlaylistChannel& channel : result.channels)
        addresses.append(channel.address);
    EXPECT_EQ(addresses, QStringList({dir.FilePath(QStringLiteral("news [live].ts")),
                                      QStringLiteral("/media/usb/My Films/a.mkv"), dir.FilePath(QStringLiteral("clip.ts"))}));
    ASSERT_EQ(result.firstRefused.size(), 1u);
    EXPECT_EQ(result.firstRefused[0].line, 2);
    EXPECT_EQ(result.firstRefused[0].refusal, M3uRefusal::NotAnAddress);
    EXPECT_EQ(result.refusedLines, 0); // not a line refused as not allowed: one that names nothing
}

TEST(M3uParser, HeaderValuesThatWouldEndTheirHeaderRefuseTheEntry)
{
    const std::pair<const char*, const char*> cases[] = { // the entry; agent|referrer, or refused
        {"http://s/a|User-Agent=UA%0D%0AX-Injected:%20yes", nullptr},
        {"http://s/a|User-Agent=UA%0Ax", nullptr},
        {"http://s/a|Referer=http://r/%0D", nullptr},
        {"http://s/a|referrer=\"r%00b\"", nullptr},
        {"#EXTVLCOPT:http-referrer=x\nhttp://s/a|User-Agent=%0A", nullptr},
        {"http://s/a|User-Agent=Agent%09%2F1%20(X)&Referer=http://r/?a=%25", "Agent\t/1 (X)|http://r/?a=%"},
        {"#EXTVLCOPT:http-user-agent=UA%0D%0AX\nhttp://s/a", "UA%0D%0AX|"}, // read as written
    };
    for (const auto& [entry, headers] : cases) {
        M3uParser parser(kDownloaded);
        const M3uResult result = parser.Parse(QByteArray(entry) + "\nhttp://s/next\n");
        ASSERT_EQ(result.channels.size(), headers ? 2u : 1u) << entry;
        EXPECT_EQ(result.skippedLines, headers ? 0 : 1) << entry;
        const PlaylistChannel& first = result.channels.front();
        if (headers) {
            EXPECT_EQ(first.userAgent + QLatin1Char('|') + first.referrer, QString::fromUtf8(headers)) << entry;
        }
        EXPECT_TRUE(result.channels.back().userAgent.isEmpty()) << entry;
    }
}

TEST(M3uParser, NamesTheFirstRefusedLinesAndWhy)
{
    using R = M3uRefusal;
    const struct {
        QByteArray input;
        QUrl location;
        int skipped;
        std::vector<std::pair<int, M3uRefusal>> first;
    } cases[] = {
        {"#EXTM3U\nfile:///etc/passwd\nhttp://s/a\nC:\\tv\\x.ts\njavascript:alert(1)\n<p>\n", kDownloaded, 4,
         {{2, R::LocalFile}, {4, R::LocalFile}, {5, R::AddressNotAllowed}}},
        {"#EXTINF:-1,Orphan\n#EXTINF:-1 tvg-name=\"open\nhttp://s/a|Referer=%0D\nlavfi://x\nhttp://s/b\n#EXTINF:-1,End\n",
         kLocal, 5, {{1, R::NoAddress}, {2, R::UnclosedQuote}, {3, R::UnsafeHeader}}},
        {kPastSniffedPart + QByteArray("http://s/a\n\0\n", 13), kLocal, 1, {{1202, R::NulCharacter}}},
    };
    for (const auto& c : cases) {
        const M3uResult result = M3uParser(c.location).Parse(c.input);
        EXPECT_EQ(result.skippedLines, c.skipped) << c.input.right(80).constData();
        std::vector<std::pair<int, M3uRefusal>> first;
        for (const M3uRefusedLine& refused : result.firstRefused)
            first.emplace_back(refused.line, refused.refusal);
        EXPECT_EQ(first, c.first) << c.input.right(80).constData();
    }
}

TEST(M3uParser, RefusesWhatIsNoPlaylistOrBeyondTheLimits)
{
    const RefusalCase cases[] = {
        {"empty", "", M3uProblem::Empty},
        {"only a BOM and white space", "\xEF\xBB\xBF \r\n\t", M3uProblem::Empty},
        {"web page", "\n <!DOCTYPE html>\n<html><body>http://s/a</body></html>", M3uProblem::WebPage},
        {"binary", QByteArray("\x1F\x8B\x08\x00\x00\x00http://s/a\n", 16), M3uProblem::NotText},
        {"no channels", "#EXTM3U\n#EXTINF:-1,x\n", M3uProblem::NoChannels},
        {"over 64 MiB", QByteArray(M3uParser::kMaxBytes + 1, '\n'), M3uProblem::TooLarge},
        {"line over 8 KiB", "#EXTM3U\nhttp://s/a\n#" + QByteArray(M3uParser::kMaxLineBytes, 'a'), M3uProblem::LineTooLong, 3},
        {"too many entries", "#EXTM3U\r\n" + Repeated("http://s/a\r\n", M3uParser::kMaxEntries + 1),
         M3uProblem::TooManyEntries, M3uParser::kMaxEntries + 2},
    };
    for (const RefusalCase& c : cases) {
        M3uParser parser(kDownloaded);
        const M3uResult result = parser.Parse(c.input);
        EXPECT_EQ(result.problem, c.problem) << c.quirk;
        EXPECT_EQ(result.problemLine, c.line) << c.quirk;
        EXPECT_TRUE(result.channels.empty()) << c.quirk;
    }

    // Right at the limits everything is read.
    M3uParser parser(kDownloaded);
    const QByteArray longest = "http://s/" + QByteArray(M3uParser::kMaxLineBytes - 9, 'a') + "\n";
    EXPECT_EQ(parser.Parse(longest + Repeated("http://s/a\n", M3uParser::kMaxEntries - 1)).channels.size(),
              static_cast<size_t>(M3uParser::kMaxEntries));
}

TEST(M3uParser, ReadsTheGuideAddressesAndTimeShifts)
{
    const M3uResult result = M3uParser(kDownloaded).Parse(
        "#EXTM3U x-tvg-url=\"http://e/a.xml.gz, http://e/b.xml\" url-tvg=\"http://e/a.xml.gz\" tvg-url='http://e/c.xml'"
        " tvg-shift=\"-1.5\"\n"
        "#EXTINF:-1 tvg-name=\"One HD\",One\nhttp://s/1\n"
        "#EXTINF:-1 tvg-name=\"Two\" tvg-shift=2,Two\nhttp://s/2\n"
        "#EXTINF:-1 tvg-shift=\"x\",Three\nhttp://s/3\n");
    EXPECT_EQ(result.guideAddresses,
              QStringList({QStringLiteral("http://e/a.xml.gz"), QStringLiteral("http://e/b.xml"), QStringLiteral("http://e/c.xml")}));
    ASSERT_EQ(result.channels.size(), 3u);
    const struct {
        const char* tvgName;
        int shiftMinutes;
    } expected[] = {{"One HD", -90}, {"", 120}, {"", -90}}; // a tvg-name equal to the name is not kept twice
    for (std::size_t i = 0; i < result.channels.size(); ++i) {
        EXPECT_EQ(result.channels[i].tvgName.toStdString(), expected[i].tvgName) << i;
        EXPECT_EQ(result.channels[i].guideShiftMinutes, expected[i].shiftMinutes) << i;
    }
}
