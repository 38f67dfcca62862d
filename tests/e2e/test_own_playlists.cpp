// The whole program in one process under a real X server, with the viewer's own
// playlists: one added through the menu's dialog from a loopback web server, one from a
// local file given as the command line gives it; an own channel played from the local HLS server, kept as a favourite,
// zapped from; then a restart with the web server gone still lists every channel.

#include "CAddPlaylistDlg.h"
#include "App.h"
#include "MessageBoxRecorder.h"
#include "NextModalDialog.h"
#include "TempDir.h"
#include "ZooServer.h"

#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/prctl.h>

namespace {
constexpr int kWaitMs = 30000;

// A helper server that dies with the test, even when the test itself is killed.
class Server
{
public:
    Server(const QStringList& arguments, const QRegularExpression& portLine)
    {
        process.setProgram(QStringLiteral("python3"));
        process.setArguments(arguments);
        process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
        process.start();
        QByteArray output;
        (void)QTest::qWaitFor([&] {
            output += process.readAllStandardOutput();
            const QRegularExpressionMatch match = portLine.match(QString::fromUtf8(output));
            port = match.hasMatch() ? match.captured(1).toInt() : 0;
            return port != 0 || process.state() == QProcess::NotRunning;
        }, 120000);
    }
    ~Server() { Stop(); }
    void Stop()
    {
        process.kill();
        process.waitForFinished();
    }
    QString Url(const QString& path) const { return QStringLiteral("http://127.0.0.1:%1/%2").arg(port).arg(path); }
    int port = 0;

private:
    QProcess process;
};

QByteArray M3u(const ZooServer& hls, const QStringList& names, const char* group)
{
    QByteArray text = "#EXTM3U\n";
    for (int k = 0; k < names.size(); ++k) {
        text += QStringLiteral("#EXTINF:-1 group-title=\"%1\",%2\n%3\n")
                    .arg(QLatin1String(group), names[k], hls.Url(QStringLiteral("live.m3u8?%1").arg(k)))
                    .toUtf8();
    }
    return text;
}

QTreeWidgetItem* Node(QTreeWidget* tree, const QString& name)
{
    QList<QTreeWidgetItem*> found = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    if (found.isEmpty()) // a playlist's node, followed by its channel count
        found = tree->findItems(name + QStringLiteral(" ("), Qt::MatchStartsWith);
    return found.isEmpty() ? nullptr : found.first();
}
} // namespace

class OwnPlaylistsEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            GTEST_SKIP() << "needs an X server";
        config.UseAsConfigHome();
        previousCache = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", cache.Path().toUtf8());
        ASSERT_TRUE(hls.Start()) << hls.Error().toStdString();
        ASSERT_NE(web.port, 0);
        Start();
    }
    void TearDown() override
    {
        app.reset();
        qputenv("XDG_CACHE_HOME", previousCache);
    }

    // Sources are handed over as the command line's arguments are.
    void Start(const QStringList& sources = {})
    {
        app = std::make_unique<App>();
        app->AddPlaylists(sources);
        ASSERT_TRUE(app->Start());
        Window().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
        ASSERT_TRUE(QTest::qWaitFor([this] { return app->AreWindowsShown() && !app->OwnPlaylists().IsBusy(); }, kWaitMs));
        tree = app->Channels().findChild<QTreeWidget*>(QStringLiteral("channelTree"));
    }
    void Restart(const QStringList& sources = {})
    {
        app->End();
        app->Shutdown();
        Start(sources);
    }

    // Opens the nodes above the channel and double-clicks it; true once it plays.
    bool DoubleClick(const QString& playlist, const QString& group, const QString& channel)
    {
        QTreeWidgetItem* node = Node(tree, playlist);
        if (node == nullptr)
            return false;
        node->setExpanded(true);
        Node(tree, group)->setExpanded(true);
        QTreeWidgetItem* item = Node(tree, channel);
        tree->scrollToItem(item);
        const QPoint at = tree->visualItemRect(item).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
        return QTest::qWaitFor([&] { return app->Status().Text() == channel; }, kWaitMs);
    }

    TempDir config;
    TempDir cache;
    TempDir files;
    QByteArray previousCache;
    ZooServer hls;
    Server web{{QStringLiteral("-u"), QStringLiteral("-m"), QStringLiteral("http.server"), QStringLiteral("0"),
                QStringLiteral("--bind"), QStringLiteral("127.0.0.1"), QStringLiteral("--directory"), files.Path()},
               QRegularExpression(QStringLiteral("port (\\d+)"))};
    MessageBoxRecorder boxes;
    MainWindow& Window() const { return app->Window(); }
    QStringList FavoriteNames() const
    {
        QStringList names;
        for (const Favorite& favorite : app->FavoriteList().All())
            names.append(favorite.name);
        return names;
    }

    std::unique_ptr<App> app;
    QTreeWidget* tree = nullptr;
};

TEST_F(OwnPlaylistsEndToEnd, AddedPlayedKeptAndZappedThenListedAgainWithoutNetwork)
{
    files.WriteFile(QStringLiteral("remote.m3u"), M3u(hls, {"Remote One", "Remote Two", "Remote Three"}, "Web"));
    files.WriteFile(QStringLiteral("local.m3u"), M3u(hls, {"Local One"}, "Disk"));

    // Through the menu: the dialog takes the address and downloads it in the background.
    {
        const NextModalDialog enter([this](QWidget* modal) {
            auto* add = qobject_cast<CAddPlaylistDlg*>(modal);
            ASSERT_NE(add, nullptr);
            add->SetDlgItemText(IDC_PLAYLIST_ADDRESS, web.Url(QStringLiteral("remote.m3u")));
            QTest::mouseClick(static_cast<QPushButton*>(add->GetDlgItem(IDOK)), Qt::LeftButton);
        });
        app->Actions().Run(ID_ADD_PLAYLIST);
    }
    ASSERT_FALSE(HasFailure());
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->OwnPlaylists().Playlists().size() == 1; }, kWaitMs));
    Restart({files.FilePath(QStringLiteral("local.m3u"))});
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->OwnPlaylists().Playlists().size() == 2; }, kWaitMs));
    const QString remote = app->OwnPlaylists().Playlists()[0].name;

    ASSERT_TRUE(DoubleClick(remote, QStringLiteral("Web"), QStringLiteral("Remote Three")));
    EXPECT_EQ(Window().windowTitle(), "Korvanta - Remote Three");
    QTest::mouseClick(app->Channels().findChild<QToolButton*>(
                          QStringLiteral("button%1").arg(ID_FAVORITES_ADD)),
                      Qt::LeftButton);

    // Page Down wraps to the group's first channel, Page Up comes back.
    Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    QTest::keyClick(&Window(), Qt::Key_PageDown);
    EXPECT_TRUE(QTest::qWaitFor([&] { return app->Status().Text() == "Remote One"; }, kWaitMs));
    QTest::keyClick(&Window(), Qt::Key_PageUp);
    EXPECT_TRUE(QTest::qWaitFor([&] { return app->Status().Text() == "Remote Three"; }, kWaitMs));

    web.Stop();
    Restart();
    ASSERT_NE(Node(tree, remote), nullptr);
    Node(tree, remote)->setExpanded(true);
    Node(tree, QStringLiteral("Web"))->setExpanded(true);
    EXPECT_NE(Node(tree, QStringLiteral("Remote Two")), nullptr); // from the cached copy
    EXPECT_EQ(FavoriteNames(), QStringList{"Remote Three"});
    EXPECT_TRUE(config.ReadFile(QStringLiteral("Korvanta/Favorites.xml")).contains("id=\"0\" icon=\"0\" address=\"http://127.0.0.1:"));
    EXPECT_TRUE(DoubleClick(QStringLiteral("local"), QStringLiteral("Disk"), QStringLiteral("Local One")));
}
