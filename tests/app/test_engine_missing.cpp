// Runs with KORVANTA_ENGINE_LIBRARY naming a file that does not exist, in a process of its
// own since the library is loaded once per process.
#include "MainWindowFixture.h"

#include <QFile>

TEST_F(MainWindowTest, MissingEngineLibraryIsFatalNamesTheFileAndSavesNothing)
{
    const QByteArray saved = SettingsXml(0, 0, 0, 0, 1, 40);
    WriteConfigFile("Settings.xml", saved);
    EXPECT_FALSE(Start());
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    const auto& box = boxes.Boxes()[0];
    EXPECT_TRUE(box.text.startsWith(QStringLiteral("Cannot open WMP control. Please contact us by e-mail ")));
    EXPECT_TRUE(box.text.contains(QStringLiteral("libkorvanta-missing.so"))) << box.text.toStdString();
    EXPECT_EQ(box.caption, QStringLiteral("Error"));
    EXPECT_EQ(box.style, MB_OK | MB_ICONSTOP);
    EXPECT_TRUE(Window().isHidden());
    EXPECT_TRUE(app->Channels().isHidden());
    app->Shutdown();
    QFile settings(ConfigFile("Settings.xml"));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_EQ(settings.readAll(), saved);
    EXPECT_FALSE(QFile::exists(ConfigFile("Favorites.xml")));
}
