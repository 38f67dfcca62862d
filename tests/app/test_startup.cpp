#include "MainWindowFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {
QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

TEST_F(MainWindowTest, FirstStartUsesDefaultsAndClosingWritesBothFiles)
{
    ASSERT_TRUE(Start());
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(dlg->GetSettings().volume, 100);
    EXPECT_EQ(dlg->GetSettings().languageName, QStringLiteral("English"));
    Close();
    const QByteArray settings = ReadAll(ConfigFile("Settings.xml"));
    EXPECT_TRUE(settings.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<Settings>\r\n"));
    EXPECT_TRUE(settings.contains("<Language name=\"English\" />"));
    EXPECT_EQ(ReadAll(ConfigFile("Favorites.xml")),
              QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<Favorites />\r\n"));
}

TEST_F(MainWindowTest, RestartWithoutChangesWritesTheSameBytes)
{
    ASSERT_TRUE(Start());
    Close();
    const QByteArray first = ReadAll(ConfigFile("Settings.xml"));
    dlg.reset();
    ASSERT_TRUE(Start());
    Close();
    EXPECT_EQ(ReadAll(ConfigFile("Settings.xml")), first);
}

TEST_F(MainWindowTest, NoLanguagesFolderIsFatalAndLeavesFilesUntouched)
{
    QTemporaryDir empty;
    UseWorkingDirectory(empty.path());
    WriteConfigFile("Settings.xml", "keep me");
    WriteConfigFile("Favorites.xml", "keep me too");
    EXPECT_FALSE(Start());
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].caption, QStringLiteral("Warning"));
    EXPECT_EQ(boxes.Boxes()[1].text, QStringLiteral("Cannot open language file. Please reinstall the program."));
    EXPECT_EQ(boxes.Boxes()[1].caption, QStringLiteral("Error"));
    EXPECT_EQ(boxes.Boxes()[1].style, MB_OK | MB_ICONSTOP);
    dlg->OnDestroy();
    EXPECT_EQ(ReadAll(ConfigFile("Settings.xml")), QByteArray("keep me"));
    EXPECT_EQ(ReadAll(ConfigFile("Favorites.xml")), QByteArray("keep me too"));
}

TEST_F(MainWindowTest, MissingOrUnsafeLanguageWarnsOnceThenRunsAndSavesEnglish)
{
    for (const char* name : {"Klingon", "../English", "English/../English"}) {
        SCOPED_TRACE(name);
        QByteArray xml = SettingsXml(0, 0, 0);
        xml.replace("name=\"English\"", QByteArray("name=\"") + name + "\"");
        WriteConfigFile("Settings.xml", xml);
        boxes.Clear();
        ASSERT_TRUE(Start());
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text,
                  QStringLiteral("Cannot open %1 language file, will be used English.").arg(QString::fromUtf8(name)));
        Close();
        EXPECT_TRUE(ReadAll(ConfigFile("Settings.xml")).contains("<Language name=\"English\" />"));
        dlg.reset();
    }
}

TEST_F(MainWindowTest, SavedViewModesComeBackWithTheirCheckMarks)
{
    WriteConfigFile("Settings.xml", SettingsXml(1, 1, 1, 1));
    ASSERT_TRUE(Start());
    EXPECT_TRUE(dlg->PlayPanel().isHidden());
    EXPECT_TRUE(dlg->MenuPanel().isHidden());
    EXPECT_TRUE(dlg->IsTopmost());
    for (int popup : {2, 4}) {
        EXPECT_TRUE(Checked(popup, ID_HIDE_CONTROL));
        EXPECT_TRUE(Checked(popup, ID_HIDE_MENU));
        EXPECT_TRUE(Checked(popup, ID_ALWAYS_ON_TOP));
    }
    for (int popup : {1, 4}) {
        EXPECT_TRUE(Checked(popup, ID_ORIGINAL_SIZE));
        EXPECT_FALSE(Checked(popup, ID_FIT_TO_WINDOW));
    }
    Close();
    EXPECT_TRUE(ReadAll(ConfigFile("Settings.xml")).contains("<HideMenu id=\"1\" />"));
}
