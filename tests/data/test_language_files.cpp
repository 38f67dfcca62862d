// Main.xml and Channels.xml of the language packs, read relative to the working directory.

#include "BuiltinTexts.h"
#include "PluralForms.h"
#include "ChannelCatalogue.h"
#include "LanguagePack.h"

#include "MessageBoxRecorder.h"
#include "TempDir.h"
#include "WorkingDirectory.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

class LanguageFilesTest : public ::testing::Test
{
protected:
    TempDir dir;
    WorkingDirectory cwd{dir.Path()};
    MessageBoxRecorder boxes;
    LanguageStrings strings;
    ChannelLists names;
    ChannelLists descriptions;

    void WriteEnglish()
    {
        dir.WriteFile("Languages/English/Main.xml", "<L><Status><s>Ready</s></Status></L>");
        dir.WriteFile("Languages/English/Channels.xml", "<C><USA><c name=\"U0\" /></USA></C>");
    }
};

} // namespace

TEST_F(LanguageFilesTest, PackGroupsByExactNameEntriesByOrder)
{
    dir.WriteFile("Languages/Test/Main.xml",
                  "<L><Status><a>s0</a><b>s1</b></Status><Other><e>x</e></Other><mainMenu><e>case</e></mainMenu>"
                  "<MainMenu>\n <a>first</a> <x/> <b>  spaced \t\r\n  out\n </b><c>Tom &amp; &lt;&#x263A;&#65;&gt;</c>"
                  "<d><![CDATA[a <b>]]></d><e>" + QByteArray(2500, 'x') + "</e></MainMenu><MainMenu><e>2nd</e></MainMenu>"
                  "<Groups><!-- c --><e>lost</e></Groups><Countries>text<e>lost</e></Countries></L>");
    QString name = QStringLiteral("Test");
    ASSERT_TRUE(LoadLanguagePack(nullptr, name, strings));
    EXPECT_EQ(strings[Status], (QStringList{"s0", "s1"}));
    EXPECT_EQ(strings[MainMenu], (QStringList{"first", "", "spaced out", QString::fromUtf8("Tom & <\u263A" "A>"),
                                              "a <b>", QString(1999, QLatin1Char('x'))}));
    EXPECT_TRUE(strings[Groups].isEmpty());
    EXPECT_TRUE(strings[Countries].isEmpty());
    EXPECT_TRUE(strings[AboutDialog].isEmpty());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(LanguageFilesTest, LaterGroupsAreCompletedWithBuiltinEnglishSilently)
{
    const QStringList& english = BuiltinTexts(Playlists);
    ASSERT_GT(english.size(), 2);
    const QByteArray packs[] = {
        "<L><Status><s>Ready</s></Status></L>",             // made before the group existed
        "<L><Playlists><a>eigen</a><b>zwei</b></Playlists></L>", // older, shorter group
    };
    const QStringList expected[] = {
        english,
        QStringList{"eigen", "zwei"} + english.mid(2),
    };
    for (int i = 0; i < 2; ++i) {
        dir.WriteFile("Languages/Old/Main.xml", packs[i]);
        strings.Clear();
        QString name = QStringLiteral("Old");
        ASSERT_TRUE(LoadLanguagePack(nullptr, name, strings));
        EXPECT_EQ(strings[Playlists], expected[i]) << i;
        EXPECT_EQ(strings[StatusReasons], BuiltinTexts(StatusReasons)) << i;
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(LanguageFilesTest, MissingOrUnsafePackWarnsOnceThenUsesEnglish)
{
    WriteEnglish();
    dir.WriteFile("Main.xml", "<L><Status><s>outside</s></Status></L>");
    for (const QString& chosen : {QStringLiteral("Polski"), QStringLiteral(".."), QStringLiteral(""),
                                  QStringLiteral("../Languages/English"), QStringLiteral("..\\English")}) {
        boxes.Clear();
        strings.Clear();
        QString name = chosen;
        ASSERT_TRUE(LoadLanguagePack(nullptr, name, strings));
        EXPECT_EQ(name, "English");
        EXPECT_EQ(strings[Status], QStringList{"Ready"});
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, "Cannot open " + chosen + " language file, will be used English.");
        EXPECT_EQ(boxes.Boxes()[0].caption, "Warning");
        EXPECT_EQ(boxes.Boxes()[0].style, MB_OK | MB_ICONWARNING);
    }
}

TEST_F(LanguageFilesTest, NoEnglishPackFailsAfterOneWarning)
{
    QString name = QStringLiteral("English");
    EXPECT_FALSE(LoadLanguagePack(nullptr, name, strings));
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_FALSE(LoadChannelCatalogue(QStringLiteral("English"), names, descriptions));
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST_F(LanguageFilesTest, DamagedFilesCountAsMissing)
{
    WriteEnglish();
    dir.WriteFile("Languages/Bad/Main.xml", "<L><Status><s>Ready</s></Status>");
    dir.WriteFile("Languages/Bad/Channels.xml", "<C><USA>" + QByteArray("<c>").repeated(100000));
    QString name = QStringLiteral("Bad");
    EXPECT_TRUE(LoadLanguagePack(nullptr, name, strings));
    EXPECT_TRUE(LoadChannelCatalogue(QStringLiteral("Bad"), names, descriptions));
    EXPECT_EQ(name, "English");
    EXPECT_EQ(strings[Status], QStringList{"Ready"});
    EXPECT_EQ(names[10], QStringList{"U0"});
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Cannot open Bad language file, will be used English.");

    dir.WriteFile("Languages/English/Main.xml", "<L><Status>");
    dir.WriteFile("Languages/English/Channels.xml", "");
    strings.Clear();
    EXPECT_FALSE(LoadLanguagePack(nullptr, name, strings));
    EXPECT_FALSE(LoadChannelCatalogue(QStringLiteral("Bad"), names, descriptions));
}

TEST_F(LanguageFilesTest, CatalogueSectionsByExactNameInAnyOrder)
{
    dir.WriteFile("Languages/Test/Channels.xml",
                  "<C><Argentina><c name=\"A0\" description=\"d\" /><d name=\"A1\" /></Argentina>"
                  "<Music>\n<x name=\"M0\" /><!-- --><y name=\"M1\" description=\"R &amp; &quot;R&quot;\" /></Music>"
                  "<Music><c name=\"2nd\" /></Music><music><c name=\"case\" /></music><News><!-- --><c name=\"x\" /></News>"
                  "<Other><c name=\"" + QByteArray(1200, 'n') + "\" description=\"" + QByteArray(6000, 'd') + "\" />"
                  "<c name=\"" + QByteArray(998, 'n') + "\xF0\x9F\x93\xBA\" /></Other></C>");
    ASSERT_TRUE(LoadChannelCatalogue(QStringLiteral("Test"), names, descriptions));
    EXPECT_EQ(names[0], (QStringList{"M0", "M1"}));
    EXPECT_EQ(descriptions[0], (QStringList{"", "R & \"R\""}));
    EXPECT_EQ(names[21], (QStringList{"A0", "A1"}));
    EXPECT_TRUE(names[3].isEmpty());
    EXPECT_EQ(names[9], (QStringList{QString(999, QLatin1Char('n')), QString(998, QLatin1Char('n'))}));
    EXPECT_EQ(descriptions[9], (QStringList{QString(4999, QLatin1Char('d')), ""}));
    EXPECT_TRUE(names[1].isEmpty());
}

TEST_F(LanguageFilesTest, MissingCatalogueFallsBackToEnglishSilently)
{
    WriteEnglish();
    dir.WriteFile("Languages/Polski/Main.xml", "<L />");
    for (const QString& chosen : {QStringLiteral("Polski"), QStringLiteral(".."), QStringLiteral("x/../English")}) {
        ChannelLists n, d;
        ASSERT_TRUE(LoadChannelCatalogue(chosen, n, d));
        EXPECT_EQ(n[10], QStringList{"U0"});
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(ShippedLanguageFiles, EnglishHasEveryTextAndChannel)
{
    WorkingDirectory cwd(QStringLiteral(KORVANTA_DATA_DIR));
    QString name = QStringLiteral("English");
    LanguageStrings strings;
    ASSERT_TRUE(LoadLanguagePack(nullptr, name, strings));
    const int required[kCoreGroupCount] = {16, 10, 9, 4, 5, 4, 12, 12, 6};
    for (int group = 0; group < kCoreGroupCount; ++group) {
        EXPECT_GE(strings.lists[group].size(), required[group]) << group;
        EXPECT_FALSE(strings.lists[group].contains(QString())) << group;
    }

    // The catalogue matches the channel list it is generated from, slot for slot.
    QFile list(QStringLiteral(KORVANTA_SOURCE_DIR "/data/channels.tsv"));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    ChannelLists expected;
    for (const QByteArray& row : list.readAll().split('\n').mid(1)) {
        const QList<QByteArray> fields = row.split('\t');
        if (fields.size() == 6)
            expected[fields[0].toInt() - 1] << QString::fromUtf8(fields[2]) << QString::fromUtf8(fields[5]);
    }
    ChannelLists names, descriptions;
    ASSERT_TRUE(LoadChannelCatalogue(name, names, descriptions));
    const int counts[kSectionCount] = {51, 8, 8, 31, 21, 14, 16, 6, 26, 7, 34, 14, 57, 26, 21, 34, 42, 38, 23, 18, 47, 19};
    for (int section = 0; section < kSectionCount; ++section) {
        ASSERT_EQ(names[section].size(), counts[section]) << kSectionElementNames[section];
        for (int i = 0; i < counts[section]; ++i) {
            EXPECT_EQ(names[section][i], expected[section].value(2 * i));
            EXPECT_EQ(descriptions[section][i], expected[section].value(2 * i + 1));
        }
    }
    EXPECT_EQ(names[SectionIndex(0x20001)][ChannelPosition(0x20001)], expected[0][4]);
    EXPECT_EQ(names[SectionIndex(0x16)][ChannelPosition(0x16)], expected[21][0]);
}

TEST(PluralForms, EachLanguageCountsItsOwnWay)
{
    const QString two = QStringLiteral("one|other"), three = QStringLiteral("one|few|many");
    const struct {
        const char* locale;
        QString forms;
        std::vector<std::pair<qint64, const char*>> counts;
    } cases[] = {
        {"en", two, {{1, "one"}, {0, "other"}, {2, "other"}, {21, "other"}}},
        {"de", two, {{1, "one"}, {11, "other"}}},
        {"", two, {{1, "one"}, {5, "other"}}}, // no locale code: as English
        {"fr", two, {{0, "one"}, {1, "one"}, {2, "other"}}},
        {"ru", three, {{1, "one"}, {21, "one"}, {101, "one"}, {11, "many"}, {2, "few"}, {24, "few"}, {12, "many"},
                       {14, "many"}, {5, "many"}, {111, "many"}, {0, "many"}}},
        {"ru", QStringLiteral("one|other"), {{5, "other"}}}, // a pack with too few forms uses its last
        {"ru", QStringLiteral("all"), {{1, "all"}, {3, "all"}}},
    };
    for (const auto& c : cases) {
        for (const auto& [count, form] : c.counts)
            EXPECT_EQ(PluralForm(c.forms, QLatin1String(c.locale), count), QLatin1String(form)) << c.locale << count;
    }
}
