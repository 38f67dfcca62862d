#include "SettingsFile.h"

#include "TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QByteArray SettingsXml(const QByteArray& items)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<Settings>\n" + items + "</Settings>\n";
}

const QByteArray kNineItems =
    "<Language name=\"Deutsch\" />"
    "<MainWindowPos posx=\"1\" posy=\"2\" width=\"3\" height=\"4\" />"
    "<ChannelWindowPos posx=\"5\" posy=\"6\" width=\"7\" height=\"8\" />"
    "<VolumeSound id=\"40\" />"
    "<MuteSound id=\"1\" />"
    "<OriginalSize id=\"2\" />"
    "<HideControl id=\"3\" />"
    "<HideMenu id=\"4\" />"
    "<AlwaysOnTop id=\"5\" />";

void ExpectDefaults(const Settings& s)
{
    const Settings defaults;
    EXPECT_EQ(s.languageName, defaults.languageName);
    EXPECT_EQ(s.mainWindowRect, defaults.mainWindowRect);
    EXPECT_EQ(s.channelWindowRect, defaults.channelWindowRect);
    EXPECT_EQ(s.volume, defaults.volume);
    EXPECT_EQ(s.mute, defaults.mute);
    EXPECT_EQ(s.originalSize, defaults.originalSize);
    EXPECT_EQ(s.hideControl, defaults.hideControl);
    EXPECT_EQ(s.hideMenu, defaults.hideMenu);
    EXPECT_EQ(s.alwaysOnTop, defaults.alwaysOnTop);
}

} // namespace

TEST(SettingsFile, DefaultFileHasTheExactBytes)
{
    TempDir dir;
    ASSERT_TRUE(SaveSettings(dir.FilePath("Settings.xml"), Settings()));
    EXPECT_EQ(dir.ReadFile("Settings.xml"),
              QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
                         "<Settings>\r\n"
                         "    <Language name=\"English\" />\r\n"
                         "    <MainWindowPos posx=\"298\" posy=\"161\" width=\"550\" height=\"471\" />\r\n"
                         "    <ChannelWindowPos posx=\"10\" posy=\"10\" width=\"219\" height=\"484\" />\r\n"
                         "    <VolumeSound id=\"100\" />\r\n"
                         "    <MuteSound id=\"0\" />\r\n"
                         "    <OriginalSize id=\"0\" />\r\n"
                         "    <HideControl id=\"0\" />\r\n"
                         "    <HideMenu id=\"0\" />\r\n"
                         "    <AlwaysOnTop id=\"0\" />\r\n"
                         "</Settings>\r\n"));
}

TEST(SettingsFile, EveryFieldRoundTrips)
{
    TempDir dir;
    Settings saved;
    saved.languageName = QString::fromUtf8("Русский 日本語");
    saved.mainWindowRect = QRect(-1700, -20, 800, 600);
    saved.channelWindowRect = QRect(3000, 5, 1, 0);
    saved.volume = 37;
    saved.mute = 1;
    saved.originalSize = 1;
    saved.hideControl = 1;
    saved.hideMenu = 0;
    saved.alwaysOnTop = 1;
    ASSERT_TRUE(SaveSettings(dir.FilePath("Settings.xml"), saved));
    EXPECT_TRUE(dir.ReadFile("Settings.xml").contains("posx=\"-1700\""));

    Settings loaded;
    ASSERT_TRUE(LoadSettings(dir.FilePath("Settings.xml"), loaded));
    EXPECT_EQ(loaded.languageName, saved.languageName);
    EXPECT_EQ(loaded.mainWindowRect, saved.mainWindowRect);
    EXPECT_EQ(loaded.channelWindowRect, saved.channelWindowRect);
    EXPECT_EQ(loaded.volume, 37);
    EXPECT_EQ(loaded.mute, 1);
    EXPECT_EQ(loaded.originalSize, 1);
    EXPECT_EQ(loaded.hideControl, 1);
    EXPECT_EQ(loaded.hideMenu, 0);
    EXPECT_EQ(loaded.alwaysOnTop, 1);

    // Saving what was read gives the same file again.
    ASSERT_TRUE(SaveSettings(dir.FilePath("Again.xml"), loaded));
    EXPECT_EQ(dir.ReadFile("Again.xml"), dir.ReadFile("Settings.xml"));
}

TEST(SettingsFile, ItemsAreMatchedByPositionNotByName)
{
    TempDir dir;
    QByteArray renamed = kNineItems;
    for (const char* name : {"Language", "MainWindowPos", "ChannelWindowPos", "VolumeSound", "MuteSound",
                             "OriginalSize", "HideControl", "HideMenu", "AlwaysOnTop"})
        renamed.replace(name, "Whatever");
    dir.WriteFile("Settings.xml", "<?xml version=\"1.0\" ?><Other>" + renamed + "</Other>");
    Settings s;
    ASSERT_TRUE(LoadSettings(dir.FilePath("Settings.xml"), s));
    EXPECT_EQ(s.languageName, "Deutsch");
    EXPECT_EQ(s.mainWindowRect, QRect(1, 2, 3, 4));
    EXPECT_EQ(s.channelWindowRect, QRect(5, 6, 7, 8));
    EXPECT_EQ(s.volume, 40);
    EXPECT_EQ(s.mute, 1);
    EXPECT_EQ(s.originalSize, 2);
    EXPECT_EQ(s.hideControl, 3);
    EXPECT_EQ(s.hideMenu, 4);
    EXPECT_EQ(s.alwaysOnTop, 5);

    // Swapped window items put each window at the other's place.
    dir.WriteFile("Swapped.xml", SettingsXml("<Language name=\"English\" />"
                                             "<ChannelWindowPos posx=\"5\" posy=\"6\" width=\"7\" height=\"8\" />"
                                             "<MainWindowPos posx=\"1\" posy=\"2\" width=\"3\" height=\"4\" />"));
    ASSERT_TRUE(LoadSettings(dir.FilePath("Swapped.xml"), s));
    EXPECT_EQ(s.mainWindowRect, QRect(5, 6, 7, 8));
    EXPECT_EQ(s.channelWindowRect, QRect(1, 2, 3, 4));
}

TEST(SettingsFile, IntegersAreReadLeniently)
{
    TempDir dir;
    dir.WriteFile("Settings.xml",
                  SettingsXml("<Language />"
                              "<MainWindowPos posx=\"  -7\" posy=\"12abc\" width=\"abc\" />"
                              "<ChannelWindowPos posx=\"+3\" posy=\"\" width=\"1e5\" height=\"0x10\" />"
                              "<VolumeSound id=\"letters\" /><MuteSound />"));
    Settings s;
    ASSERT_TRUE(LoadSettings(dir.FilePath("Settings.xml"), s));
    EXPECT_EQ(s.languageName, "");
    EXPECT_EQ(s.mainWindowRect, QRect(-7, 12, 0, 0));
    EXPECT_EQ(s.channelWindowRect, QRect(3, 0, 1, 0));
    EXPECT_EQ(s.volume, 0);
    EXPECT_EQ(s.mute, 0);
}

TEST(SettingsFile, ExtremeRectanglesAreHeldWithoutOverflow)
{
    TempDir dir;
    dir.WriteFile("Settings.xml",
                  SettingsXml("<L name=\"x\" />"
                              "<M posx=\"2147483647\" posy=\"-2147483648\" width=\"2147483647\" height=\"-2147483648\" />"
                              "<C posx=\"99999999999\" posy=\"0\" width=\"-99999999999\" height=\"2147483647\" />"));
    Settings s;
    ASSERT_TRUE(LoadSettings(dir.FilePath("Settings.xml"), s));
    EXPECT_EQ(s.mainWindowRect.x(), INT_MAX);
    EXPECT_EQ(s.mainWindowRect.y(), INT_MIN);
    EXPECT_EQ(s.mainWindowRect.right(), INT_MAX);
    EXPECT_GT(s.channelWindowRect.width(), INT_MIN);
    EXPECT_EQ(s.channelWindowRect.height(), INT_MAX);
    ASSERT_TRUE(SaveSettings(dir.FilePath("Out.xml"), s));
}

TEST(SettingsFile, ShortOrOddFilesKeepTheRestOfTheValues)
{
    TempDir dir;
    dir.WriteFile("Three.xml", SettingsXml("<Language name=\"Polski\" />"
                                           "<MainWindowPos posx=\"1\" posy=\"2\" width=\"3\" height=\"4\" />"
                                           "<!-- skipped -->text"
                                           "<ChannelWindowPos posx=\"5\" posy=\"6\" width=\"7\" height=\"8\" />"));
    Settings s;
    ASSERT_TRUE(LoadSettings(dir.FilePath("Three.xml"), s));
    EXPECT_EQ(s.languageName, "Polski");
    EXPECT_EQ(s.channelWindowRect, QRect(5, 6, 7, 8));
    EXPECT_EQ(s.volume, 100);
    EXPECT_EQ(s.hideMenu, 0);

    dir.WriteFile("CommentFirst.xml", SettingsXml("<!-- note -->" + kNineItems));
    Settings untouched;
    EXPECT_TRUE(LoadSettings(dir.FilePath("CommentFirst.xml"), untouched));
    ExpectDefaults(untouched);

    dir.WriteFile("Empty.xml", "<Settings />");
    EXPECT_TRUE(LoadSettings(dir.FilePath("Empty.xml"), untouched));
    ExpectDefaults(untouched);
}

TEST(SettingsFile, UnreadableFilesChangeNothing)
{
    TempDir dir;
    const QByteArray full = SettingsXml(kNineItems);
    dir.WriteFile("Truncated.xml", full.left(full.size() / 2));
    dir.WriteFile("Empty.xml", "");
    dir.WriteFile("NoRoot.xml", "<?xml version=\"1.0\" ?>\n<!-- nothing -->\n");
    dir.WriteFile("Binary.xml", QByteArray("\x00\xFF\xFE<Settings", 12));
    dir.WriteFile("Deep.xml", "<Settings>" + QByteArray("<a>").repeated(200000));
    QDir(dir.Path()).mkdir("Folder.xml");
    for (const char* name : {"Missing.xml", "Truncated.xml", "Empty.xml", "NoRoot.xml", "Binary.xml",
                             "Deep.xml", "Folder.xml"}) {
        Settings s;
        EXPECT_FALSE(LoadSettings(dir.FilePath(name), s)) << name;
        ExpectDefaults(s);
    }
}

TEST(SettingsFile, LongLanguageNamesAreLimited)
{
    TempDir dir;
    Settings s;
    s.languageName = QString(300, QChar(0x00E9)); // 600 bytes of UTF-8
    ASSERT_TRUE(SaveSettings(dir.FilePath("Settings.xml"), s));
    Settings loaded;
    ASSERT_TRUE(LoadSettings(dir.FilePath("Settings.xml"), loaded));
    EXPECT_EQ(loaded.languageName, QString(127, QChar(0x00E9)));

    dir.WriteFile("Long.xml", SettingsXml("<Language name=\"" + QByteArray(400, 'x') + "\" />"));
    ASSERT_TRUE(LoadSettings(dir.FilePath("Long.xml"), loaded));
    EXPECT_EQ(loaded.languageName, QString(255, QLatin1Char('x')));
}

TEST(SettingsFile, FailedSaveLeavesTheOldFileIntact)
{
    TempDir dir;
    const QByteArray old = SettingsXml(kNineItems);
    Settings s;
    s.languageName = QString(3000, QLatin1Char('n'));

    // A folder where the file should be.
    QDir(dir.Path()).mkdir("Settings.xml");
    EXPECT_FALSE(SaveSettings(dir.FilePath("Settings.xml"), s));
    EXPECT_TRUE(QFileInfo(dir.FilePath("Settings.xml")).isDir());

    // The folder does not exist.
    EXPECT_FALSE(SaveSettings(dir.FilePath("Missing/Settings.xml"), s));

    // The disk refuses the data half way: the write fails and the old file stays.
    dir.WriteFile("Old.xml", old);
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = SaveSettings(dir.FilePath("Old.xml"), Settings());
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(saved);
    EXPECT_EQ(dir.ReadFile("Old.xml"), old);
    EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files), QStringList{"Old.xml"});
}

TEST(SettingsFile, ReadOnlyFolderLeavesTheOldFileIntact)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    TempDir dir;
    const QByteArray old = SettingsXml(kNineItems);
    dir.WriteFile("Locked/Settings.xml", old);
    QFile::setPermissions(dir.FilePath("Locked"), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_FALSE(SaveSettings(dir.FilePath("Locked/Settings.xml"), Settings()));
    QFile::setPermissions(dir.FilePath("Locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(dir.ReadFile("Locked/Settings.xml"), old);
}
