#include "ChannelCatalogue.h"

#include "MessageBoxRecorder.h"
#include "TempDir.h"
#include "WorkingDirectory.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray Catalogue(const QByteArray& sections)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<Channels>\n" + sections + "</Channels>\n";
}

class ChannelCatalogueTest : public ::testing::Test
{
protected:
    TempDir dir;
    WorkingDirectory cwd{dir.Path()};
    MessageBoxRecorder boxes;
    ChannelLists names;
    ChannelLists descriptions;

    void ExpectAllEmpty() const
    {
        for (int section = 0; section < kSectionCount; ++section) {
            EXPECT_TRUE(names[section].isEmpty()) << section;
            EXPECT_TRUE(descriptions[section].isEmpty()) << section;
        }
    }
};

} // namespace

TEST_F(ChannelCatalogueTest, SectionsAreFoundByExactNameInAnyOrder)
{
    dir.WriteFile("Languages/Test/Channels.xml",
                  Catalogue("<Argentina><c name=\"A0\" description=\"first\" /><d name=\"A1\" /></Argentina>"
                            "<Music>\n<x name=\"M0\" description=\"d0\" /><!-- c --><y name=\"M1\" description=\"d1\" />"
                            "text<z name=\"M2\" description=\"Rock &amp; &quot;Roll&quot;\" /></Music>"
                            "<Music><c name=\"second copy\" /></Music>"
                            "<music><c name=\"wrong case\" /></music>"
                            "<News><!-- first --><c name=\"lost\" /></News>"
                            "<Games>  text<c name=\"lost\" /></Games>"
                            "<Kids><c description=\"no name\" /></Kids>"
                            "<Other><c name=\"" + QByteArray(1200, 'n') + "\" description=\""
                            + QByteArray(6000, 'd') + "\" /></Other>"));
    ASSERT_TRUE(LoadChannelCatalogue(QStringLiteral("Test"), names, descriptions));
    EXPECT_EQ(names[0], (QStringList{"M0", "M1", "M2"}));
    EXPECT_EQ(descriptions[0], (QStringList{"d0", "d1", "Rock & \"Roll\""}));
    EXPECT_EQ(names[21], (QStringList{"A0", "A1"}));
    EXPECT_EQ(descriptions[21], (QStringList{"first", ""}));
    EXPECT_TRUE(names[1].isEmpty());
    EXPECT_TRUE(names[3].isEmpty());
    EXPECT_EQ(names[7], QStringList{""});
    EXPECT_EQ(descriptions[7], QStringList{"no name"});
    EXPECT_EQ(names[9], QStringList{QString(999, QLatin1Char('n'))});
    EXPECT_EQ(descriptions[9], QStringList{QString(4999, QLatin1Char('d'))});
    for (int section : {2, 4, 5, 6, 8, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20})
        EXPECT_TRUE(names[section].isEmpty()) << section;
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ChannelCatalogueTest, MissingCatalogueFallsBackToEnglishSilently)
{
    dir.WriteFile("Languages/English/Channels.xml", Catalogue("<USA><c name=\"U0\" description=\"u\" /></USA>"));
    dir.WriteFile("Languages/Polski/Main.xml", "<Language />");
    for (const QString& name : {QStringLiteral("Polski"), QStringLiteral("Nowhere"), QStringLiteral(".."),
                                QStringLiteral("../Languages/English")}) {
        ChannelLists n;
        ChannelLists d;
        ASSERT_TRUE(LoadChannelCatalogue(name, n, d)) << qPrintable(name);
        EXPECT_EQ(n[10], QStringList{"U0"});
    }
    EXPECT_TRUE(boxes.Boxes().empty());

    QFile::remove(dir.FilePath("Languages/English/Channels.xml"));
    EXPECT_FALSE(LoadChannelCatalogue(QStringLiteral("Polski"), names, descriptions));
    EXPECT_FALSE(LoadChannelCatalogue(QStringLiteral("English"), names, descriptions));
    ExpectAllEmpty();
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ChannelCatalogueTest, DamagedCatalogueLoadsEmpty)
{
    const QByteArray full = Catalogue("<Music><c name=\"M0\" description=\"d0\" /></Music>");
    dir.WriteFile("Languages/English/Channels.xml", full);
    for (const QByteArray& damaged : {full.left(full.size() - 20), QByteArray(), QByteArray("\xEF\xBB\xBF"),
                                      QByteArray("<Channels><Music>") + QByteArray("<c>").repeated(50000)}) {
        dir.WriteFile("Languages/Broken/Channels.xml", damaged);
        EXPECT_TRUE(LoadChannelCatalogue(QStringLiteral("Broken"), names, descriptions));
        ExpectAllEmpty();
    }
}

TEST_F(ChannelCatalogueTest, AppendsToWhatTheListsHold)
{
    dir.WriteFile("Languages/English/Channels.xml", Catalogue("<Sport><c name=\"S0\" /></Sport>"));
    names[8] = QStringList{"kept"};
    descriptions[8] = QStringList{"kept"};
    ASSERT_TRUE(LoadChannelCatalogue(QStringLiteral("English"), names, descriptions));
    EXPECT_EQ(names[8], (QStringList{"kept", "S0"}));
    EXPECT_EQ(descriptions[8], (QStringList{"kept", ""}));
}

TEST(ShippedEnglishCatalogue, MatchesTheChannelListSlotForSlot)
{
    QFile list(QStringLiteral(KORVANTA_SOURCE_DIR "/data/channels.tsv"));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    QList<QByteArray> rows = list.readAll().split('\n');
    rows.removeFirst();
    ChannelLists expectedNames;
    ChannelLists expectedDescriptions;
    for (const QByteArray& row : rows) {
        const QList<QByteArray> fields = row.split('\t');
        if (fields.size() != 6)
            continue;
        const int section = fields[0].toInt();
        ASSERT_EQ(fields[1].toInt(), expectedNames[section - 1].size());
        expectedNames[section - 1].append(QString::fromUtf8(fields[2]));
        expectedDescriptions[section - 1].append(QString::fromUtf8(fields[5]));
    }

    WorkingDirectory cwd(QStringLiteral(KORVANTA_DATA_DIR));
    ChannelLists names;
    ChannelLists descriptions;
    ASSERT_TRUE(LoadChannelCatalogue(QStringLiteral("English"), names, descriptions));
    const int counts[kSectionCount] = {51, 8, 8, 31, 21, 14, 16, 6, 26, 7, 34,
                                       14, 57, 26, 21, 34, 42, 38, 23, 18, 47, 19};
    qsizetype total = 0;
    for (int section = 0; section < kSectionCount; ++section) {
        EXPECT_EQ(names[section].size(), counts[section]) << kSectionElementNames[section];
        EXPECT_EQ(names[section], expectedNames[section]) << kSectionElementNames[section];
        EXPECT_EQ(descriptions[section], expectedDescriptions[section]) << kSectionElementNames[section];
        total += names[section].size();
    }
    EXPECT_EQ(total, 561);

    // Identifiers decode to the catalogue entries they name.
    const ChannelId thirdMusic = 0x20001;
    EXPECT_EQ(names[SectionIndex(thirdMusic)][ChannelPosition(thirdMusic)], expectedNames[0][2]);
    const ChannelId firstArgentina = 0x16;
    EXPECT_EQ(names[SectionIndex(firstArgentina)][ChannelPosition(firstArgentina)], expectedNames[21][0]);
}
