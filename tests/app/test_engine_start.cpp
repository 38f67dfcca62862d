#include "MainWindowFixture.h"
#include "PlayStateModel.h"
#include "ZooServer.h"

#include <QFile>
#include <QTest>

// The engine is made only once both windows are on screen; until then the window works.
class EngineStartTest : public MainWindowTest
{
protected:
    // Runs the start-up sequence without showing anything, so the engine does not come.
    void StartWithoutEngine()
    {
        app = std::make_unique<App>();
        ASSERT_TRUE(app->Start());
        ASSERT_FALSE(app->IsEngineStarted());
    }
};

TEST_F(EngineStartTest, ChannelAskedForBeforeTheEngineIsReadyPlaysOnceItIs)
{
    ZooServer server;
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();
    StartWithoutEngine();
    StartChannel(server.Url(QStringLiteral("/live.m3u8")), QStringLiteral("Live"));
    Window().show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return app->Player().PlayState() == PLAYSTATE_PLAYING; }, 20000))
        << app->Player().PlayState();
    EXPECT_EQ(app->Status().Text(), QStringLiteral("Live"));
}

TEST_F(EngineStartTest, ClosingBeforeTheEngineIsReadySavesAsUsual)
{
    WriteConfigFile("Settings.xml", SettingsXml(0, 0, 0, 1, 1, 40));
    StartWithoutEngine();
    Close();
    app.reset(); // waits for the library's loading thread
    QFile saved(ConfigFile("Settings.xml"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    for (const char* kept : {"<VolumeSound id=\"40\" />", "<MuteSound id=\"1\" />", "<OriginalSize id=\"1\" />"})
        EXPECT_TRUE(bytes.contains(kept)) << kept;
    EXPECT_TRUE(QFile::exists(ConfigFile("Favorites.xml")));
}
