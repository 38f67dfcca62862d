// The parts of the checker that decide from bytes alone: what an answer is, where a master
// playlist's variant lives, and what the channel list says.

#include "ChannelListReader.h"
#include "StreamContent.h"

#include <gtest/gtest.h>

using Kind = StreamContent::Kind;

namespace {

const QByteArray kMediaPlaylist = "#EXTM3U\n#EXT-X-TARGETDURATION:6\n#EXTINF:6,\nseg1.ts\n";
const QByteArray kMaster = "#EXTM3U\r\n#EXT-X-STREAM-INF:BANDWIDTH=1\r\nlow/index.m3u8?token=a b\r\n";

QByteArray TransportStream()
{
    QByteArray packets;
    for (int i = 0; i < 8; ++i)
        packets += '\x47' + QByteArray(187, '\0');
    return packets;
}

} // namespace

TEST(StreamContent, RecognisesPlaylistsWhateverTheirLabelOrPreamble)
{
    EXPECT_EQ(Kind::MediaPlaylist, StreamContent::Classify("application/vnd.apple.mpegurl", kMediaPlaylist, true));
    EXPECT_EQ(Kind::MasterPlaylist, StreamContent::Classify("application/x-mpegURL", kMaster, true));
    EXPECT_EQ(Kind::MediaPlaylist, StreamContent::Classify("text/plain", "\xEF\xBB\xBF\r\n  " + kMediaPlaylist, true));
    // A playlist is judged only once it is whole.
    EXPECT_EQ(Kind::Undecided, StreamContent::Classify("application/vnd.apple.mpegurl", "#EXTM3U\n", false));
    EXPECT_EQ(Kind::Undecided, StreamContent::Classify("application/vnd.apple.mpegurl", "#EXT", false));
    EXPECT_EQ(Kind::NotAStream, StreamContent::Classify("audio/x-mpegurl", "#EXTM3U\n#EXTVLCOPT:x\n", true));
}

TEST(StreamContent, RecognisesMediaByLabelOrBySignature)
{
    EXPECT_EQ(Kind::Media, StreamContent::Classify("application/octet-stream", TransportStream(), false));
    EXPECT_EQ(Kind::Media, StreamContent::Classify("", QByteArray("\0\0\0\x18" "ftypisom", 12) + QByteArray(2000, 'x'), false));
    EXPECT_EQ(Kind::Media, StreamContent::Classify("audio/aac; charset=x", QByteArray(2000, '\x01'), false));
    EXPECT_EQ(Kind::Media, StreamContent::Classify("application/dash+xml", "<?xml version=\"1.0\"?><MPD/>", true));
    // A short live answer is not judged before enough of it has come.
    EXPECT_EQ(Kind::Undecided, StreamContent::Classify("video/mp2t", "\x47\x00", false));
}

TEST(StreamContent, RejectsPagesAndEmptyOrMislabelledAnswers)
{
    EXPECT_EQ(Kind::NotAStream, StreamContent::Classify("text/html", "<!DOCTYPE html><html></html>", true));
    EXPECT_EQ(Kind::NotAStream, StreamContent::Classify("video/mp2t", "<html>Access denied</html>", true));
    EXPECT_EQ(Kind::NotAStream, StreamContent::Classify("application/vnd.apple.mpegurl", "{\"error\":1}", true));
    EXPECT_EQ(Kind::NotAStream, StreamContent::Classify("video/mp2t", "", true));
    EXPECT_EQ(Kind::NotAStream, StreamContent::Classify("text/plain", QByteArray(5000, 'a'), false));
}

TEST(StreamContent, FindsTheFirstVariantRelativeToThePlaylist)
{
    const QUrl base("https://cdn.example/live/master.m3u8?auth=1");
    EXPECT_EQ(QUrl("https://cdn.example/live/low/index.m3u8?token=a%20b"),
              StreamContent::FirstVariant(kMaster, base));
    EXPECT_EQ(QUrl("https://other.example/hi.m3u8"),
              StreamContent::FirstVariant("#EXTM3U\n#EXT-X-STREAM-INF:B=2\n#EXT-X-COMMENT\n\n"
                                          "https://other.example/hi.m3u8\nsecond.m3u8\n", base));
    EXPECT_EQ(QUrl("https://cdn.example/root.m3u8"),
              StreamContent::FirstVariant("#EXTM3U\n#EXT-X-STREAM-INF:B=2\n/root.m3u8\n", base));
    // A URI before any stream entry (a media list) is not a variant.
    EXPECT_TRUE(StreamContent::FirstVariant("#EXTM3U\nseg.ts\n#EXT-X-STREAM-INF:B=1\n", base).isEmpty());
}

TEST(ChannelListReader, ReadsRowsByColumnNameWithWindowsLineEndsAndMark)
{
    ChannelListReader reader;
    ASSERT_TRUE(reader.Parse("\xEF\xBB\xBFurl\tname\tposition\tsection\tcountry\r\n"
                             "https://a.example/1.m3u8\tOne\t0\t4\tgb\r\n"
                             "\r\n"
                             " https://a.example/1.m3u8 \tOne again\t7\t15\tgb\r\n"
                             "http://b.example/2\tTwo\t1\t22\tar\r\n"))
        << reader.Error().toStdString();
    ASSERT_EQ(3, reader.Slots().size());
    EXPECT_EQ(4, reader.Slots()[0].section);
    EXPECT_EQ(0, reader.Slots()[0].position);
    EXPECT_EQ(QString("One"), reader.Slots()[0].name);
    EXPECT_EQ(QString("https://a.example/1.m3u8"), reader.Slots()[1].url);
    EXPECT_EQ((QStringList{"https://a.example/1.m3u8", "http://b.example/2"}),
              ChannelListReader::DistinctAddresses(reader.Slots()));
}

TEST(ChannelListReader, RejectsMalformedListsNamingTheLine)
{
    const QByteArray header = "section\tposition\tname\turl\n";
    const struct
    {
        QByteArray text;
        const char* lineNamed;
    } cases[] = {
        {header + "0\t0\tA\thttp://x/\n", "line 2"},
        {header + "1\t0\tA\thttp://x/\n23\t0\tB\thttp://y/\n", "line 3"},
        {header + "1\t-1\tA\thttp://x/\n", "line 2"},
        {header + "1\tfirst\tA\thttp://x/\n", "line 2"},
        {header + "1\t0\tA\t  \n", "line 2"},
        {header + "1\t0\tA\n", "line 2"},
        {"section\tname\turl\n1\tA\thttp://x/\n", "line 1"},
        {"", "line 1"},
    };
    for (const auto& c : cases) {
        ChannelListReader reader;
        EXPECT_FALSE(reader.Parse(c.text)) << c.text.toStdString();
        EXPECT_TRUE(reader.Error().startsWith(QLatin1String(c.lineNamed))) << reader.Error().toStdString();
        EXPECT_TRUE(reader.Slots().isEmpty());
    }
}
