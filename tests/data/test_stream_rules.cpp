// One rule for the address of an own channel, however it comes in: a playlist entry, a
// favourite, the player. Schemes are read in lower case; the engine's own are refused.

#include "FavoritesFile.h"
#include "M3uParser.h"
#include "StreamRules.h"

#include "TempDir.h"

#include <gtest/gtest.h>

TEST(StreamRules, SchemesReadInLowerCaseAndTheEnginesOwnRefusedWhereverTheyComeFrom)
{
    const std::pair<const char*, const char*> cases[] = { // as written; as read, or refused
        {"HTTP://h/a.m3u8", "http://h/a.m3u8"},
        {"Https://h/A", "https://h/A"},
        {"rtmp://h/a", "rtmp://h/a"},
        {"UDP://@239.0.0.1:1234", "udp://@239.0.0.1:1234"},
        {"MMSH://h/a", "mmsh://h/a"},
        {"srt://h:9000?streamid=a", "srt://h:9000?streamid=a"},
        {"av://lavfi:testsrc", nullptr},
        {"AV://lavfi:sine", nullptr},
        {"edl://%10%http://h/a", nullptr},
        {"lavf://http://h/a", nullptr},
        {"memory://#EXTM3U", nullptr},
        {"fd://3", nullptr},
        {"ytdl://h/a", nullptr},
    };
    TempDir dir;
    for (const auto& [written, read] : cases) {
        const M3uResult listed =
            M3uParser(QUrl(QStringLiteral("http://lists.example/a.m3u"))).Parse(QByteArray(written) + "\nhttp://s/b\n");
        ASSERT_EQ(listed.channels.size(), read ? 2u : 1u) << written;
        EXPECT_EQ(listed.channels[0].address, QLatin1String(read ? read : "http://s/b")) << written;

        // A favourite edited by hand: read by the same rule; a refused one is kept as written.
        const QByteArray favorites = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<Favorites>\r\n"
                                     "    <Channel name=\"x\" id=\"0\" icon=\"0\" address=\""
                                     + QByteArray(written) + "\" />\r\n</Favorites>\r\n";
        dir.WriteFile(QStringLiteral("edited.xml"), favorites);
        QStringList names;
        QList<quint32> ids, icons;
        QList<OwnStream> streams;
        ASSERT_TRUE(LoadFavorites(dir.FilePath(QStringLiteral("edited.xml")), names, ids, icons, &streams));
        EXPECT_EQ(RefusalOf(streams[0].address, {}, {}), read ? UnavailableReason::None : UnavailableReason::NotAllowed)
            << written;
        if (read) {
            EXPECT_EQ(streams[0].address, QLatin1String(read));
            continue;
        }
        ASSERT_TRUE(SaveFavorites(dir.FilePath(QStringLiteral("saved.xml")), names, ids, icons, streams));
        EXPECT_EQ(dir.ReadFile(QStringLiteral("saved.xml")), favorites) << written;
    }
}
