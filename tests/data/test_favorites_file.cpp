#include "FavoritesFile.h"

#include "TempDir.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

struct Favorites
{
    QStringList names;
    QList<quint32> ids;
    QList<quint32> icons;

    bool Load(const QString& path) { return LoadFavorites(path, names, ids, icons); }
    bool Save(const QString& path) const { return SaveFavorites(path, names, ids, icons); }
};

QByteArray FavoritesXml(const QByteArray& entries)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<Favorites>\n" + entries + "</Favorites>\n";
}

} // namespace

TEST(FavoritesFile, EmptyListHasTheExactBytes)
{
    TempDir dir;
    ASSERT_TRUE(Favorites().Save(dir.FilePath("Favorites.xml")));
    EXPECT_EQ(dir.ReadFile("Favorites.xml"),
              QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<Favorites />\r\n"));

    Favorites loaded;
    EXPECT_TRUE(loaded.Load(dir.FilePath("Favorites.xml")));
    EXPECT_TRUE(loaded.names.isEmpty());
}

TEST(FavoritesFile, EntriesRoundTripWithTheirExactText)
{
    TempDir dir;
    Favorites saved;
    saved.names = QStringList{QString::fromUtf8("Первый канал"), "Tom & \"Jerry\" <'s>", "A&#x42;C", "a&#xZZ",
                              "tab\there\nnewline", QString::fromUtf8("\xF0\x9F\x93\xBA TV")};
    saved.ids = {0x1, 0x20001, 0xFFFF0016, 0x16, 0, 0xB};
    saved.icons = {3, 0, 32, 0xFFFFFFFF, 7, 1};
    ASSERT_TRUE(saved.Save(dir.FilePath("Favorites.xml")));
    const QByteArray bytes = dir.ReadFile("Favorites.xml");
    EXPECT_TRUE(bytes.contains("    <Channel name=\"" + QString::fromUtf8("Первый канал").toUtf8()
                               + "\" id=\"1\" icon=\"3\" />\r\n"));

    Favorites loaded;
    ASSERT_TRUE(loaded.Load(dir.FilePath("Favorites.xml")));
    EXPECT_EQ(loaded.names, saved.names);
    EXPECT_EQ(loaded.ids, saved.ids);
    EXPECT_EQ(loaded.icons, saved.icons);
}

TEST(FavoritesFile, ReadsEntriesByOrderWhateverTheirNames)
{
    TempDir dir;
    dir.WriteFile("Favorites.xml",
                  "<Root><Channel name=\"one\" id=\"131073\" icon=\"4\" />\n"
                  "<Other name=\"two\" id=\"12abc\" /><!-- note --><X id=\"  -1\" icon=\"x\" />"
                  "<Channel name=\"dup\" id=\"131073\" icon=\"4\"><child /></Channel></Root>");
    Favorites f;
    ASSERT_TRUE(f.Load(dir.FilePath("Favorites.xml")));
    EXPECT_EQ(f.names, (QStringList{"one", "two", "", "dup"}));
    EXPECT_EQ(f.ids, (QList<quint32>{131073, 12, 0xFFFFFFFF, 131073}));
    EXPECT_EQ(f.icons, (QList<quint32>{4, 0, 0, 4}));
}

TEST(FavoritesFile, LongNamesAreLimited)
{
    TempDir dir;
    Favorites saved;
    saved.names = QStringList{QString(200, QChar(0x00E9)), QString(300, QLatin1Char('a'))};
    saved.ids = {1, 2};
    saved.icons = {0, 0};
    ASSERT_TRUE(saved.Save(dir.FilePath("Favorites.xml")));
    Favorites loaded;
    ASSERT_TRUE(loaded.Load(dir.FilePath("Favorites.xml")));
    EXPECT_EQ(loaded.names, (QStringList{QString(127, QChar(0x00E9)), QString(255, QLatin1Char('a'))}));

    dir.WriteFile("Long.xml", FavoritesXml("<Channel name=\"" + QByteArray(600, 'z') + "\" />"));
    Favorites longName;
    ASSERT_TRUE(longName.Load(dir.FilePath("Long.xml")));
    EXPECT_EQ(longName.names, QStringList{QString(255, QLatin1Char('z'))});
}

TEST(FavoritesFile, UnreadableFilesLeaveTheListsAlone)
{
    TempDir dir;
    const QByteArray full = FavoritesXml("<Channel name=\"one\" id=\"1\" icon=\"2\" />");
    dir.WriteFile("Truncated.xml", full.left(full.size() - 5));
    dir.WriteFile("Garbage.xml", "not xml at all");
    dir.WriteFile("Deep.xml", QByteArray("<Favorites>") + QByteArray("<C name='x'>").repeated(100000));
    for (const char* name : {"Missing.xml", "Truncated.xml", "Garbage.xml", "Deep.xml"}) {
        Favorites f;
        f.names = QStringList{"kept"};
        f.ids = {5};
        f.icons = {6};
        EXPECT_FALSE(f.Load(dir.FilePath(name))) << name;
        EXPECT_EQ(f.names, QStringList{"kept"});
        EXPECT_EQ(f.ids, QList<quint32>{5});
        EXPECT_EQ(f.icons, QList<quint32>{6});
    }

    dir.WriteFile("TextFirst.xml", FavoritesXml("text<Channel name=\"one\" />"));
    Favorites f;
    EXPECT_TRUE(f.Load(dir.FilePath("TextFirst.xml")));
    EXPECT_TRUE(f.names.isEmpty());
}

TEST(FavoritesFile, FailedSaveLeavesTheOldFileIntact)
{
    TempDir dir;
    Favorites f;
    f.names = QStringList{"one"};
    f.ids = {1};
    f.icons = {2};
    QDir(dir.Path()).mkpath("Favorites.xml/inside");
    EXPECT_FALSE(f.Save(dir.FilePath("Favorites.xml")));
    EXPECT_TRUE(QFileInfo(dir.FilePath("Favorites.xml/inside")).isDir());

    dir.WriteFile("Blocker", "a file, not a folder");
    EXPECT_FALSE(f.Save(dir.FilePath("Blocker/Favorites.xml")));
    EXPECT_EQ(dir.ReadFile("Blocker"), QByteArray("a file, not a folder"));
}
