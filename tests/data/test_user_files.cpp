// Settings.xml and Favorites.xml: exact bytes, lenient reading, limits and safe saving.

#include "FavoritesFile.h"
#include "SettingsFile.h"
#include "XmlFile.h"

#include "TempDir.h"

#include <QDir>

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <array>
#include <climits>
#include <csignal>
#include <sys/resource.h>

namespace {

const QByteArray kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>";

QByteArray Rect(const char* name, const char* x, const char* y, const char* w, const char* h)
{
    return QByteArray("<") + name + " posx=\"" + x + "\" posy=\"" + y + "\" width=\"" + w + "\" height=\"" + h + "\" />";
}

} // namespace

TEST(SettingsFile, DefaultsAreWrittenByteForByte)
{
    TempDir dir;
    ASSERT_TRUE(SaveSettings(dir.FilePath("Settings.xml"), Settings()));
    EXPECT_EQ(dir.ReadFile("Settings.xml"),
              kDeclaration + "\r\n<Settings>\r\n    <Language name=\"English\" />\r\n"
              "    <MainWindowPos posx=\"298\" posy=\"161\" width=\"550\" height=\"471\" />\r\n"
              "    <ChannelWindowPos posx=\"10\" posy=\"10\" width=\"219\" height=\"484\" />\r\n"
              "    <VolumeSound id=\"100\" />\r\n    <MuteSound id=\"0\" />\r\n    <OriginalSize id=\"0\" />\r\n"
              "    <HideControl id=\"0\" />\r\n    <HideMenu id=\"0\" />\r\n    <AlwaysOnTop id=\"0\" />\r\n"
              "</Settings>\r\n");
}

TEST(SettingsFile, RoundTripsNegativePositionsAndNonAsciiNames)
{
    TempDir dir;
    Settings saved;
    saved.languageName = QString::fromUtf8("Русский 日本語");
    saved.mainWindowRect = QRect(-1700, -20, 800, 600);
    saved.volume = 37;
    saved.mute = saved.originalSize = saved.alwaysOnTop = 1;
    ASSERT_TRUE(SaveSettings(dir.FilePath("a.xml"), saved));
    Settings loaded;
    ASSERT_TRUE(LoadSettings(dir.FilePath("a.xml"), loaded));
    ASSERT_TRUE(SaveSettings(dir.FilePath("b.xml"), loaded));
    EXPECT_EQ(dir.ReadFile("b.xml"), dir.ReadFile("a.xml"));
    EXPECT_EQ(loaded.languageName, saved.languageName);
    EXPECT_EQ(loaded.mainWindowRect, saved.mainWindowRect);
    EXPECT_EQ(loaded.alwaysOnTop, 1);
}

TEST(SettingsFile, ReadsItemsByPositionWithLenientIntegers)
{
    TempDir dir;
    // Renamed items still count; the two windows are swapped, so they trade places.
    dir.WriteFile("s.xml", "<Root><A name=\"Deutsch\" />" + Rect("ChannelWindowPos", "5", "6", "7", "8")
                               + Rect("MainWindowPos", "  -7", "12abc", "abc", "+3")
                               + "<B id=\"40\" /><C id=\"letters\" /><D /><E id=\"2\" /><F id=\"1\" /><G id=\"9\" /></Root>");
    Settings s;
    ASSERT_TRUE(LoadSettings(dir.FilePath("s.xml"), s));
    EXPECT_EQ(s.languageName, "Deutsch");
    EXPECT_EQ(s.mainWindowRect, QRect(5, 6, 7, 8));
    EXPECT_EQ(s.channelWindowRect, QRect(-7, 12, 0, 3));
    EXPECT_EQ((std::array{s.volume, s.mute, s.originalSize, s.hideControl, s.hideMenu, s.alwaysOnTop}),
              (std::array{40, 0, 0, 2, 1, 9}));
}

TEST(SettingsFile, ShortFilesKeepTheRestAndExtremeValuesDoNotOverflow)
{
    TempDir dir;
    dir.WriteFile("short.xml", "<S><L name=\"Polski\" />" + Rect("M", "2147483647", "-2147483648", "2147483647",
                                                                  "-99999999999") + "</S>");
    dir.WriteFile("comment.xml", "<S><!-- c --><L name=\"Polski\" /></S>");
    dir.WriteFile("noname.xml", "<S><L />" + Rect("M", "1", "2", "3", "4") + "</S>");
    Settings s;
    ASSERT_TRUE(LoadSettings(dir.FilePath("comment.xml"), s));
    ASSERT_TRUE(LoadSettings(dir.FilePath("noname.xml"), s));
    EXPECT_EQ(s.languageName, "English");
    EXPECT_EQ(s.mainWindowRect, QRect(1, 2, 3, 4));
    ASSERT_TRUE(LoadSettings(dir.FilePath("short.xml"), s));
    EXPECT_EQ(s.languageName, "Polski");
    EXPECT_EQ(s.mainWindowRect.topLeft(), QPoint(INT_MAX, INT_MIN));
    EXPECT_EQ(s.mainWindowRect.size(), QSize(0, 1));
    EXPECT_EQ(s.channelWindowRect, Settings().channelWindowRect);
    EXPECT_EQ(s.volume, 100);
}

TEST(SettingsFile, DamagedFilesChangeNothing)
{
    TempDir dir;
    const QByteArray valid = kDeclaration + "<S><L name=\"Polski\" /></S>";
    dir.WriteFile("cut.xml", valid.left(valid.size() - 3));
    dir.WriteFile("noroot.xml", kDeclaration + "<!-- -->");
    dir.WriteFile("deep.xml", QByteArray("<a>").repeated(100000)); // would exhaust the parser's stack
    QDir(dir.Path()).mkdir("folder.xml");
    for (const char* name : {"missing.xml", "cut.xml", "noroot.xml", "deep.xml", "folder.xml"}) {
        Settings s;
        EXPECT_FALSE(LoadSettings(dir.FilePath(name), s)) << name;
        EXPECT_EQ(s.languageName, "English");
    }
}

TEST(SettingsFile, NamesAreLimitedWithoutSplittingCharacters)
{
    TempDir dir;
    Settings s;
    s.languageName = QString(300, QChar(0x00E9)); // 600 bytes of UTF-8, 255 allowed
    ASSERT_TRUE(SaveSettings(dir.FilePath("s.xml"), s));
    ASSERT_TRUE(LoadSettings(dir.FilePath("s.xml"), s));
    EXPECT_EQ(s.languageName, QString(127, QChar(0x00E9)));
    dir.WriteFile("long.xml", "<S><L name=\"" + QByteArray(400, 'x') + "\" /></S>");
    ASSERT_TRUE(LoadSettings(dir.FilePath("long.xml"), s));
    EXPECT_EQ(s.languageName.size(), 255);
}

TEST(SettingsFile, FailedSavesLeaveTheOldFileIntact)
{
    TempDir dir;
    QDir(dir.Path()).mkpath("Dir.xml/inside");
    EXPECT_FALSE(SaveSettings(dir.FilePath("Dir.xml"), Settings()));
    EXPECT_TRUE(QDir(dir.FilePath("Dir.xml/inside")).exists());
    EXPECT_FALSE(SaveSettings(dir.FilePath("Missing/Settings.xml"), Settings()));

    // The disk refuses the data half way through.
    dir.WriteFile("Old.xml", "old bytes");
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = SaveSettings(dir.FilePath("Old.xml"), Settings());
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, handler);
    EXPECT_FALSE(saved);
    EXPECT_EQ(dir.ReadFile("Old.xml"), "old bytes");
    EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files), QStringList{"Old.xml"});
}

TEST(FavoritesFile, EmptyListIsAnEmptyRoot)
{
    TempDir dir;
    ASSERT_TRUE(SaveFavorites(dir.FilePath("f.xml"), {}, {}, {}));
    EXPECT_EQ(dir.ReadFile("f.xml"), kDeclaration + "\r\n<Favorites />\r\n");
}

TEST(FavoritesFile, RoundTripsNamesIdsAndIcons)
{
    TempDir dir;
    const QStringList names{QString::fromUtf8("Первый канал"), "Tom & \"Jerry\" <'s>", QString(200, QChar(0xE9))};
    const QList<quint32> ids{0x20001, 0xFFFF0016, 0};
    const QList<quint32> icons{3, 0xFFFFFFFF, 7};
    ASSERT_TRUE(SaveFavorites(dir.FilePath("f.xml"), names, ids, icons));
    EXPECT_TRUE(dir.ReadFile("f.xml").contains("\r\n    <Channel name=\"" + names[0].toUtf8() + "\" id=\"131073\" icon=\"3\" />\r\n"));
    QStringList n{"kept"};
    QList<quint32> i{5}, c{6};
    ASSERT_TRUE(LoadFavorites(dir.FilePath("f.xml"), n, i, c));
    EXPECT_EQ(n, (QStringList{"kept", names[0], names[1], QString(127, QChar(0xE9))}));
    EXPECT_EQ(i, (QList<quint32>{5} + ids));
    EXPECT_EQ(c, (QList<quint32>{6} + icons));
}

TEST(FavoritesFile, ReadsEntriesOfAnyNameAndKeepsListsOnFailure)
{
    TempDir dir;
    dir.WriteFile("f.xml", "<R><Channel name=\"a\" id=\"7\" icon=\"4\" /><X name=\"b\" id=\"12abc\" /><!-- -->"
                           "<Y id=\" -1\" icon=\"x\" /><Channel name=\"a\" id=\"7\" icon=\"4\" /></R>");
    dir.WriteFile("cut.xml", "<R><Channel name=\"a\" id=\"7\" icon=\"4\" ");
    dir.WriteFile("text.xml", "<R>text<Channel name=\"a\" /></R>");
    QStringList n;
    QList<quint32> i, c;
    ASSERT_TRUE(LoadFavorites(dir.FilePath("f.xml"), n, i, c));
    EXPECT_EQ(n, (QStringList{"a", "b", "", "a"}));
    EXPECT_EQ(i, (QList<quint32>{7, 12, 0xFFFFFFFF, 7}));
    EXPECT_EQ(c, (QList<quint32>{4, 0, 0, 4}));
    EXPECT_FALSE(LoadFavorites(dir.FilePath("cut.xml"), n, i, c));
    EXPECT_FALSE(LoadFavorites(dir.FilePath("missing.xml"), n, i, c));
    EXPECT_TRUE(LoadFavorites(dir.FilePath("text.xml"), n, i, c));
    EXPECT_EQ(n.size(), 4);
}

TEST(FavoritesFile, OwnChannelsKeepTheirStreamWhileBuiltInOnesReadAsBefore)
{
    TempDir dir;
    const QStringList names{"Built-in", "Own", "Own bare"};
    const QList<quint32> ids{0x20001, 0, 0};
    const QList<quint32> icons{3, 12, 12};
    const OwnStream own{"http://127.0.0.1/a.m3u8?x=1&y=\"2\"", "Agent/1.0", "http://r.example/", "My list", "News"};
    OwnStream bare;
    bare.address = "rtsp://127.0.0.1/b";
    ASSERT_TRUE(SaveFavorites(dir.FilePath("own.xml"), names, ids, icons, {{}, own, bare}));
    ASSERT_TRUE(SaveFavorites(dir.FilePath("plain.xml"), {"Built-in"}, {0x20001}, {3}, {OwnStream()}));
    ASSERT_TRUE(SaveFavorites(dir.FilePath("builtin.xml"), {"Built-in"}, {0x20001}, {3}));

    // Without own channels nothing changes, byte for byte.
    EXPECT_EQ(dir.ReadFile("plain.xml"), dir.ReadFile("builtin.xml"));
    EXPECT_TRUE(dir.ReadFile("own.xml").contains(
        "    <Channel name=\"Own bare\" id=\"0\" icon=\"12\" address=\"rtsp://127.0.0.1/b\" />\r\n"));

    // A reader knowing only the original attributes sees id 0: no built-in channel.
    QStringList n;
    QList<quint32> i, c;
    ASSERT_TRUE(LoadFavorites(dir.FilePath("own.xml"), n, i, c));
    EXPECT_EQ(n, names);
    EXPECT_EQ(i, ids);
    EXPECT_EQ(c, icons);

    QList<OwnStream> streams;
    n.clear(), i.clear(), c.clear();
    ASSERT_TRUE(LoadFavorites(dir.FilePath("own.xml"), n, i, c, &streams));
    EXPECT_EQ(streams, (QList<OwnStream>{{}, own, bare}));

    // A built-in id wins over an address added by hand; a file of built-in favourites has no streams.
    dir.WriteFile("edited.xml", "<R><Channel name=\"a\" id=\"7\" icon=\"4\" address=\"http://x/\" /></R>");
    streams.clear();
    ASSERT_TRUE(LoadFavorites(dir.FilePath("edited.xml"), n, i, c, &streams));
    ASSERT_TRUE(LoadFavorites(dir.FilePath("builtin.xml"), n, i, c, &streams));
    EXPECT_EQ(streams, (QList<OwnStream>{{}, {}}));
    EXPECT_EQ(i.mid(3), (QList<quint32>{7, 0x20001}));
}

TEST(XmlNestingDepth, CountsOnlyElementLevels)
{
    EXPECT_EQ(XmlNestingDepth("<?xml version=\"1.0\" ?><a><b /><b x=\"/>\" y='>'><c /></b></a>"), 3);
    EXPECT_EQ(XmlNestingDepth("<a><!-- <b><b> --><![CDATA[<c><c>]]></a></a></a><a/>"), 1);
    EXPECT_EQ(XmlNestingDepth(QByteArray("<a>").repeated(5000).constData()), 5000);
}

TEST(XmlFile, FilesEndingInsideAUtf8SequenceAreRefusedWithoutReadingPastThem)
{
    // Found by fuzzing: the parser skips a sequence by its lead byte, over the file's end.
    const QByteArray tails[] = {
        "<R>a<R>\"\xB4<<>\xFF\xFB\xDD", "<R><a\xD0", "<R><P />\r\n>/Play\x91\x96\xC1\xF2\xF5", "<a e='\xE8'",
    };
    TempDir dir;
    for (const QByteArray& tail : tails) {
        dir.WriteFile("t.xml", tail);
        TiXmlDocument document;
        EXPECT_EQ(ReadXmlFile(dir.FilePath("t.xml"), document), XmlReadResult::Malformed) << tail.toHex().constData();
    }
}
