#include "MainWindowFixture.h"

#include <QDateTime>
#include <QFile>
#include <QTest>

void MainWindowTest::SetUp()
{
    config.UseAsConfigHome();
}

void MainWindowTest::TearDown()
{
    app.reset();
    workingDirectory.reset();
    if (previousCacheHome)
        qputenv("XDG_CACHE_HOME", *previousCacheHome);
}

void MainWindowTest::UseOwnCacheFolder()
{
    previousCacheHome = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", config.FilePath(QStringLiteral("cache")).toUtf8());
}

bool MainWindowTest::Start()
{
    app = std::make_unique<App>();
    if (!app->Start())
        return false;
    app->Window().show();
    // The engine comes once both windows are painted, as in the program.
    return QTest::qWaitFor([this] { return app->IsEngineStarted(); }, kEngineWaitMs) && app->IsInitialised();
}

void MainWindowTest::Close()
{
    app->End();
    app->Shutdown();
}

QString MainWindowTest::ConfigFile(const QString& name) const
{
    return config.FilePath(QStringLiteral("Korvanta/") + name);
}

void MainWindowTest::WriteConfigFile(const QString& name, const QByteArray& bytes)
{
    config.WriteFile(QStringLiteral("Korvanta/") + name, bytes);
}

QString MainWindowTest::WriteOwnChannelWithGuide(qint64 now)
{
    constexpr qint64 kHour = 3600;
    const auto stamp = [](qint64 seconds) {
        return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).toString(QStringLiteral("yyyyMMddHHmmss")).toUtf8() + " +0000";
    };
    const QString list = config.FilePath(QStringLiteral("own.m3u"));
    config.WriteFile(QStringLiteral("own.m3u"), "#EXTM3U\n#EXTINF:-1 tvg-id=\"one.test\",Own One\nhttp://127.0.0.1:9/one\n");
    WriteConfigFile("Playlists.xml", "<Playlists><Playlist name=\"own\" source=\"" + list.toUtf8() + "\" /></Playlists>");
    config.WriteFile(QStringLiteral("guide.xml"),
                     "<tv><channel id=\"one.test\"><display-name>Own One</display-name></channel>"
                     "<programme start=\"" + stamp(now - kHour) + "\" stop=\"" + stamp(now + kHour) +
                     "\" channel=\"one.test\"><title>Evening news</title></programme>"
                     "<programme start=\"" + stamp(now + kHour) + "\" stop=\"" + stamp(now + 3 * kHour) +
                     "\" channel=\"one.test\"><title>Late film</title></programme></tv>");
    return config.FilePath(QStringLiteral("guide.xml"));
}

void MainWindowTest::UseWorkingDirectory(const QString& path)
{
    workingDirectory.reset(); // the original folder is the one restored at the end
    workingDirectory.emplace(path);
}

QAction* MainWindowTest::Item(int popup, int id) const
{
    QMenu* menu = app->Actions().Menu(popup);
    if (menu == nullptr)
        return nullptr;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && action->data().toInt() == id)
            return action;
    }
    return nullptr;
}

bool MainWindowTest::Checked(int popup, int id) const
{
    QAction* action = Item(popup, id);
    return action != nullptr && action->isChecked();
}

void MainWindowTest::StartChannel(const QString& address, const QString& name)
{
    ChannelRequest request;
    request.address = address;
    request.name = name;
    StartChannel(request);
}

void MainWindowTest::StartChannel(const ChannelRequest& request)
{
    app->Playback().Start(request);
    QCoreApplication::sendPostedEvents(&app->Playback(), QEvent::MetaCall);
}

QStringList MainWindowTest::FavoriteNames() const
{
    QStringList names;
    for (const Favorite& favorite : app->FavoriteList().All())
        names.append(favorite.name);
    return names;
}

void MainWindowTest::ReportState(PlayStateCode state, UnavailableReason reason)
{
    PlayState reported = app->Playback().State();
    reported.state = state;
    reported.reason = reason;
    app->Player().Events().PlayStateChange(reported);
}

QByteArray SettingsXml(int hideControl, int hideMenu, int alwaysOnTop, int originalSize, int mute, int volume)
{
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<Settings>\r\n"
               "    <Language name=\"English\" />\r\n"
               "    <MainWindowPos posx=\"100\" posy=\"80\" width=\"550\" height=\"471\" />\r\n"
               "    <ChannelWindowPos posx=\"10\" posy=\"10\" width=\"219\" height=\"484\" />\r\n"
               "    <VolumeSound id=\"%6\" />\r\n    <MuteSound id=\"%5\" />\r\n"
               "    <OriginalSize id=\"%4\" />\r\n    <HideControl id=\"%1\" />\r\n"
               "    <HideMenu id=\"%2\" />\r\n    <AlwaysOnTop id=\"%3\" />\r\n</Settings>\r\n")
        .arg(hideControl)
        .arg(hideMenu)
        .arg(alwaysOnTop)
        .arg(originalSize)
        .arg(mute)
        .arg(volume)
        .toUtf8();
}
