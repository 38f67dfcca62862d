#include "LanguagePack.h"

#include "MessageBoxRecorder.h"
#include "TempDir.h"
#include "WorkingDirectory.h"

#include <gtest/gtest.h>

namespace {

QByteArray Pack(const QByteArray& groups)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<Language>\n" + groups + "</Language>\n";
}

const QByteArray kEnglish = Pack("<Status><s>Ready</s><s>Stopped</s></Status>");

QString WarningFor(const QString& name)
{
    return "Cannot open " + name + " language file, will be used English.";
}

class LanguagePackTest : public ::testing::Test
{
protected:
    TempDir dir;
    WorkingDirectory cwd{dir.Path()};
    MessageBoxRecorder boxes;
    LanguageStrings strings;
};

} // namespace

TEST_F(LanguagePackTest, GroupsAreFoundByExactNameAndEntriesByOrder)
{
    QByteArray longEntry(2500, 'x');
    dir.WriteFile("Languages/Test/Main.xml",
                  Pack("<Status><a>s0</a><b>s1</b></Status>"
                       "<Unknown><e>ignored</e></Unknown>"
                       "<mainMenu><e>wrong case</e></mainMenu>"
                       "<MainMenu><first>Channels</first>\n  <x/>  <second>  spaced \t\r\n  out\n text </second>"
                       "<third>Tom &amp; Jerry &lt;&#x263A;&#65;&gt;</third><fourth>" + longEntry + "</fourth></MainMenu>"
                       "<MainMenu><e>second copy</e></MainMenu>"
                       "<Groups><!-- comment first --><e>lost</e></Groups>"
                       "<Countries>text first<e>lost</e></Countries>"
                       "<AboutDialog><e><![CDATA[a <b>]]></e><e>x<i>y</i></e><e><i>y</i></e></AboutDialog>"));
    QString name = QStringLiteral("Test");
    ASSERT_TRUE(LoadLanguagePack(nullptr, name, strings));
    EXPECT_EQ(name, "Test");
    EXPECT_TRUE(boxes.Boxes().empty());

    EXPECT_EQ(strings[Status], (QStringList{"s0", "s1"}));
    ASSERT_EQ(strings[MainMenu].size(), 5);
    EXPECT_EQ(strings[MainMenu][0], "Channels");
    EXPECT_EQ(strings[MainMenu][1], "");
    EXPECT_EQ(strings[MainMenu][2], "spaced out text");
    EXPECT_EQ(strings[MainMenu][3], QString::fromUtf8("Tom & Jerry <\xE2\x98\xBA" "A>"));
    EXPECT_EQ(strings[MainMenu][4], QString(1999, QLatin1Char('x')));
    EXPECT_TRUE(strings[Groups].isEmpty());
    EXPECT_TRUE(strings[Countries].isEmpty());
    EXPECT_EQ(strings[AboutDialog], (QStringList{"a <b>", "x", ""}));
    EXPECT_TRUE(strings[ContexMenu].isEmpty());
    EXPECT_TRUE(strings[ChannelsDialog].isEmpty());
}

TEST_F(LanguagePackTest, MissingPackWarnsOnceThenUsesEnglish)
{
    dir.WriteFile("Languages/English/Main.xml", kEnglish);
    dir.WriteFile("Languages/Polski/Channels.xml", "<Channels />");
    QString name = QStringLiteral("Polski");
    ASSERT_TRUE(LoadLanguagePack(nullptr, name, strings));
    EXPECT_EQ(name, "English");
    EXPECT_EQ(strings[Status], (QStringList{"Ready", "Stopped"}));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, WarningFor("Polski"));
    EXPECT_EQ(boxes.Boxes()[0].caption, "Warning");
    EXPECT_EQ(boxes.Boxes()[0].style, MB_OK | MB_ICONWARNING);
}

TEST_F(LanguagePackTest, NamesReachingOutsideLanguagesNameNoPack)
{
    dir.WriteFile("Languages/English/Main.xml", kEnglish);
    dir.WriteFile("Main.xml", Pack("<Status><s>outside</s></Status>"));
    dir.WriteFile("Languages/Sub/Main.xml", Pack("<Status><s>nested</s></Status>"));
    for (const QString& bad : {QStringLiteral(".."), QStringLiteral("."), QStringLiteral(""),
                               QStringLiteral("Sub/.."), QStringLiteral("English/../Sub"),
                               QStringLiteral("..\\English"), dir.Path() + "/Languages/Sub"}) {
        boxes.Clear();
        strings.Clear();
        QString name = bad;
        ASSERT_TRUE(LoadLanguagePack(nullptr, name, strings)) << qPrintable(bad);
        EXPECT_EQ(name, "English");
        EXPECT_EQ(strings[Status], (QStringList{"Ready", "Stopped"})) << qPrintable(bad);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, WarningFor(bad));
    }
}

TEST_F(LanguagePackTest, NoEnglishPackFailsAfterOneWarning)
{
    dir.WriteFile("Languages/English/Channels.xml", "<Channels />");
    QString name = QStringLiteral("English");
    EXPECT_FALSE(LoadLanguagePack(nullptr, name, strings));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, WarningFor("English"));

    TempDir empty;
    WorkingDirectory nowhere(empty.Path());
    boxes.Clear();
    name = QStringLiteral("Deutsch");
    EXPECT_FALSE(LoadLanguagePack(nullptr, name, strings));
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(name, "English");
}

TEST_F(LanguagePackTest, DamagedPackLoadsWithEveryGroupEmpty)
{
    const QByteArray full = Pack("<Status><s>Ready</s></Status><MainMenu><e>x</e></MainMenu>");
    for (const QByteArray& damaged : {full.left(full.size() - 12), QByteArray(), QByteArray("<!-- -->"),
                                      QByteArray("<Language>").repeated(5000)}) {
        dir.WriteFile("Languages/Broken/Main.xml", damaged);
        QString name = QStringLiteral("Broken");
        strings.Clear();
        EXPECT_TRUE(LoadLanguagePack(nullptr, name, strings));
        EXPECT_EQ(name, "Broken");
        for (const QStringList& list : strings.lists)
            EXPECT_TRUE(list.isEmpty());
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(ShippedEnglishPack, HoldsEveryEntryTheProgramUses)
{
    WorkingDirectory cwd(QStringLiteral(KORVANTA_DATA_DIR));
    MessageBoxRecorder boxes;
    QString name = QStringLiteral("English");
    LanguageStrings strings;
    ASSERT_TRUE(LoadLanguagePack(nullptr, name, strings));
    EXPECT_TRUE(boxes.Boxes().empty());
    const int required[kLanguageGroupCount] = {16, 10, 9, 4, 5, 4, 12, 12, 6};
    for (int group = 0; group < kLanguageGroupCount; ++group) {
        const QStringList& list = strings.lists[group];
        EXPECT_GE(list.size(), required[group]) << "group " << group;
        for (const QString& text : list) {
            EXPECT_FALSE(text.isEmpty()) << "group " << group;
            EXPECT_FALSE(text.contains(QLatin1Char('\t'))) << "group " << group;
        }
    }
    EXPECT_EQ(strings.Text(Countries, 0), "USA");
    EXPECT_EQ(strings.Text(Countries, 11), "Argentina");
    EXPECT_EQ(strings.Text(Status, 1), "Stopped");
}
