#include "MainWindowFixture.h"
#include "PlayStateModel.h"
#include "ZooServer.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>

#include <mpv/client.h>

namespace {
constexpr int kVolumeWaitMs = 10000; // a loaded, sanitized run may take seconds

// Whether the engine itself comes to play at volume; it is written asynchronously.
bool EngineVolumeBecomes(CWMPWindow& player, int volume)
{
    return QTest::qWaitFor([&] {
        double value = -1;
        mpv_get_property(player.EngineHandle(), "volume", MPV_FORMAT_DOUBLE, &value);
        return static_cast<int>(value + 0.5) == volume;
    }, kVolumeWaitMs);
}
} // namespace

class MessageTest : public MainWindowTest
{
protected:
    QString Status(int i) const { return app->Language().Strings().Text(::Status, i); }

    // Works in a copy of the English pack whose Status group holds entries.
    void UseEnglishWithStatus(const QTemporaryDir& work, const QString& entries)
    {
        QDir().mkpath(work.filePath("Languages/English"));
        QFile source(QStringLiteral("Languages/English/Main.xml"));
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        QString xml = QString::fromUtf8(source.readAll());
        xml.replace(QRegularExpression(QStringLiteral("<Status>.*</Status>"), QRegularExpression::DotMatchesEverythingOption),
                    QStringLiteral("<Status>%1</Status>").arg(entries));
        QFile target(work.filePath("Languages/English/Main.xml"));
        ASSERT_TRUE(target.open(QIODevice::WriteOnly));
        target.write(xml.toUtf8());
        target.close();
        QFile::copy(QStringLiteral("Languages/English/Channels.xml"), work.filePath("Languages/English/Channels.xml"));
        UseWorkingDirectory(work.path());
    }
};

TEST_F(MessageTest, StatusTextFollowsEveryPlayState)
{
    ASSERT_TRUE(Start());
    PlayState reported;
    reported.request.address = QStringLiteral("http://127.0.0.1:9/one.m3u8");
    reported.request.name = QStringLiteral("Channel One");
    const std::pair<int, int> table[] = {{0, 3}, {1, 1}, {2, 3}, {4, 3}, {5, 3}, {7, 3}, {8, 3},
                                         {9, 2}, {10, 5}, {11, 2}, {12, 3}, {-1, 3}};
    for (const auto& [state, index] : table) {
        SCOPED_TRACE(state);
        reported.state = static_cast<PlayStateCode>(state);
        app->Player().Events().PlayStateChange(reported);
        EXPECT_EQ(app->Status().Text(), Status(index));
    }
    ReportState(PLAYSTATE_PLAYING);
    EXPECT_EQ(app->Status().Text(), QStringLiteral("Channel One"));
    EXPECT_EQ(Window().windowTitle(), QStringLiteral("Korvanta - Channel One"));
    ReportState(PLAYSTATE_BUFFERING); // buffering leaves the text alone
    EXPECT_EQ(app->Status().Text(), QStringLiteral("Channel One"));

    // A channel that ended leaves a card in place of its picture, and the panel offers play.
    const CWMPWindow& player = app->Player();
    for (const auto& [state, reason] : {std::pair{PLAYSTATE_READY, UnavailableReason::Refused},
                                        std::pair{PLAYSTATE_STOPPED, UnavailableReason::None}}) {
        ReportState(PLAYSTATE_PLAYING);
        EXPECT_TRUE(player.Caption().Card().isEmpty());
        EXPECT_TRUE(Window().PlayPanel().IsPlaying());
        ReportState(state, reason);
        EXPECT_EQ(player.Caption().Card(), QStringLiteral("Channel One\n") + app->Status().Text());
        EXPECT_FALSE(Window().PlayPanel().IsPlaying());
    }
    ReportState(PLAYSTATE_TRANSITIONING);
    EXPECT_TRUE(player.Caption().Card().isEmpty());
}

TEST_F(MessageTest, InFullScreenEachNewChannelIsNamedOverThePicture)
{
    ASSERT_TRUE(Start());
    StartChannel(QStringLiteral("http://127.0.0.1:9/one.m3u8"), QStringLiteral("One"));
    EXPECT_TRUE(app->Player().Caption().Title().isEmpty());
    Window().SetFullScreen(true);
    StartChannel(QStringLiteral("http://127.0.0.1:9/two.m3u8"), QStringLiteral("Two"));
    EXPECT_EQ(app->Player().Caption().Title(), QStringLiteral("Two"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return app->Player().Caption().Title().isEmpty(); }, 3 * VideoCaption::kTitleMs));
}

TEST_F(MessageTest, BufferingStartsOneTimerAndATickThatFindsNoBufferingStopsIt)
{
    ASSERT_TRUE(Start());
    ReportState(PLAYSTATE_TRANSITIONING);
    ReportState(PLAYSTATE_BUFFERING);
    ReportState(PLAYSTATE_BUFFERING);
    EXPECT_TRUE(app->Status().IsBufferingTimerActive());
    const QString before = app->Status().Text();
    // The idle player is not buffering, so the first tick ends the timer untouched.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !app->Status().IsBufferingTimerActive(); }, kEngineWaitMs));
    EXPECT_EQ(app->Status().Text(), before);
}

TEST_F(MessageTest, VolumeWhileMutedIsAudibleAndMuteStillWorks)
{
    ASSERT_TRUE(Start());
    emit Window().PlayPanel().MuteRequested(true);
    EXPECT_EQ(app->GetSettings().mute, 1);
    EXPECT_TRUE(EngineVolumeBecomes(app->Player(), 0));
    emit Window().PlayPanel().VolumeRequested(40);
    EXPECT_TRUE(EngineVolumeBecomes(app->Player(), 40));
    EXPECT_EQ(app->Player().storedVolume, 40);
    EXPECT_EQ(app->GetSettings().mute, 1);
    emit Window().PlayPanel().MuteRequested(false);
    EXPECT_TRUE(EngineVolumeBecomes(app->Player(), 40));
    emit Window().PlayPanel().MuteRequested(true);
    EXPECT_TRUE(EngineVolumeBecomes(app->Player(), 0));
    Close();
}

TEST_F(MessageTest, PlayerKeysActWhateverTheShiftState)
{
    ASSERT_TRUE(Start());
    CWMPEventDispatch& sink = app->Player().Events();
    sink.KeyDown(Qt::SHIFT | Qt::Key_M);
    EXPECT_EQ(app->GetSettings().mute, 1);
    EXPECT_FALSE(Window().PlayPanel().IsSoundOn());
    sink.KeyDown(Qt::CTRL | Qt::Key_M);
    EXPECT_EQ(app->GetSettings().mute, 0);
    Window().SetFullScreen(true);
    sink.KeyDown(Qt::SHIFT | Qt::Key_Return);
    EXPECT_FALSE(app->Player().IsFullScreen());
    sink.KeyDown(QKeyCombination(Qt::Key_A)); // any other key: nothing
    EXPECT_EQ(app->GetSettings().mute, 0);
}

TEST_F(MessageTest, PlayBeforeAnyChannelDoesNothing)
{
    ASSERT_TRUE(Start());
    emit Window().PlayPanel().PlayStopRequested(PlayStop::Play);
    EXPECT_EQ(app->Player().PlayState(), PLAYSTATE_UNDEFINED);
}

TEST_F(MessageTest, ATooShortStatusGroupStopsTheChannelStartBeforeItBegins)
{
    QTemporaryDir work;
    UseEnglishWithStatus(work, QStringLiteral("<s>a</s><s>b</s>"));
    ASSERT_TRUE(Start());
    boxes.Clear();
    StartChannel(QStringLiteral("http://127.0.0.1:9/none.m3u8"));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("An invalid argument was encountered."));
    EXPECT_TRUE(app->Status().Text().isEmpty());
    EXPECT_FALSE(Window().PlayPanel().IsPlayEnabled());
    EXPECT_EQ(app->Player().PlayState(), 0);
}

TEST_F(MessageTest, APackWithoutTheBufferingTextRaisesOneBoxNotOneEveryTick)
{
    QTemporaryDir work;
    UseEnglishWithStatus(work, QStringLiteral("<s>Ready</s><s>Stopped</s><s>Connecting</s><s>Waiting</s>"));
    ZooServer server;
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();
    ASSERT_TRUE(Start());
    boxes.Clear();
    StartChannel(server.Url(QStringLiteral("/zoo/capped.m3u8"))); // really buffers
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.Boxes().empty(); }, 20000));
    EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("An invalid argument was encountered."));
    EXPECT_FALSE(app->Status().IsBufferingTimerActive());
    // A running timer raised a box on every tick; a new buffering report may raise one more.
    EXPECT_FALSE(QTest::qWaitFor([&] { return boxes.Boxes().size() > 2; }, 5 * StatusLine::kBufferingPeriodMs));
}

TEST_F(MessageTest, UnavailableChannelNamesTheReasonAfterTheUnavailableText)
{
    ZooServer server;
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();
    ASSERT_TRUE(Start());
    const std::pair<QString, const char*> table[] = {
        {server.Url(QStringLiteral("/zoo/status/404")), "not found"},
        {server.Url(QStringLiteral("/zoo/page.html")), "not a video stream"},
        {ClosedPortUrl(QStringLiteral("/live.m3u8")), "connection refused"},
        {UnresolvableUrl(QStringLiteral("/live.m3u8")), "host not found"},
    };
    for (const auto& [url, reason] : table) {
        SCOPED_TRACE(url.toStdString());
        const QString expected = Status(5) + QStringLiteral(": ") + QLatin1String(reason);
        StartChannel(url);
        EXPECT_TRUE(QTest::qWaitFor([&] { return app->Status().Text() == expected; }, 15000)) << app->Status().Text().toStdString();
    }
    // A reason is read whole: the status line takes the room it needs, and where even the
    // row is too narrow its tooltip holds the whole text.
    const QString full = app->Status().Text();
    QFont bold = Window().font();
    bold.setWeight(QFont::Bold);
    Window().Layout(1000, 400);
    EXPECT_GT(Window().StatusRect().width(), QFontMetrics(bold).horizontalAdvance(full));
    const int narrowRow = MainWindow::kStatusWidth + 10;
    ASSERT_GT(QFontMetrics(bold).horizontalAdvance(full), narrowRow);
    Window().Layout(narrowRow, 400);
    EXPECT_EQ(Window().StatusRect().width(), narrowRow);
    const QPoint onStatus = Window().StatusRect().center();
    QHelpEvent hover(QEvent::ToolTip, onStatus, Window().mapToGlobal(onStatus));
    QCoreApplication::sendEvent(&Window(), &hover);
    EXPECT_EQ(QToolTip::text(), full);

    app->Player().Stop();
    ReportState(PLAYSTATE_READY); // a state reported without a failure of the player's own
    EXPECT_EQ(app->Status().Text(), Status(5));
    EXPECT_EQ(Window().StatusRect().width(), MainWindow::kStatusWidth);
}

// A channel and its programme longer than the status line end in an ellipsis, not in half a
// word, and the tooltip holds them whole; a text that fits has no tooltip.
TEST_F(MessageTest, ATextTooLongForTheStatusLineIsReadWholeInItsTooltip)
{
    ASSERT_TRUE(Start());
    const auto tip = [&] {
        QToolTip::hideText();
        const QPoint onStatus = Window().StatusRect().center();
        QHelpEvent hover(QEvent::ToolTip, onStatus, Window().mapToGlobal(onStatus));
        QCoreApplication::sendEvent(&Window(), &hover);
        return QToolTip::text();
    };
    const auto plays = [&](const QString& name) {
        ChannelRequest request = RequestFor(QStringLiteral("http://127.0.0.1:9/a.m3u8"));
        request.name = name;
        app->Player().Events().PlayStateChange({PLAYSTATE_PLAYING, UnavailableReason::None, request, false});
    };
    plays(QStringLiteral("Short"));
    EXPECT_NE(tip(), QStringLiteral("Short"));
    const QString name = QStringLiteral("A channel with a name far too long for the status line (1080p)");
    plays(name);
    EXPECT_EQ(Window().StatusRect().width(), MainWindow::kStatusWidth);
    EXPECT_EQ(tip(), name);
}

TEST_F(MessageTest, RefusedFavoritesAreNotPlayedNameTheirReasonAndStayAsWritten)
{
    const QByteArray favorites = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<Favorites>\r\n"
                                 "    <Channel name=\"Graph\" id=\"0\" icon=\"0\" address=\"av://lavfi:testsrc\" />\r\n"
                                 "    <Channel name=\"Split\" id=\"0\" icon=\"0\" address=\"http://127.0.0.1:9/a\" "
                                 "agent=\"A&#x0D;&#x0A;X-Injected: yes\" />\r\n"
                                 "</Favorites>\r\n";
    WriteConfigFile("Favorites.xml", favorites);
    ASSERT_TRUE(Start());
    const QString expected = Status(5) + QStringLiteral(": ")
                             + app->Language().Strings().Text(StatusReasons, ReasonTextIndex(UnavailableReason::NotAllowed));
    auto* list = app->Channels().findChild<QTreeWidget*>(QStringLiteral("favoritesList"));
    ASSERT_EQ(list->topLevelItemCount(), 2);
    for (int row = 0; row < 2; ++row) {
        emit list->itemDoubleClicked(list->topLevelItem(row), 0);
        QCoreApplication::sendPostedEvents(&app->Playback(), QEvent::MetaCall); // the load
        EXPECT_EQ(app->Status().Text(), expected) << row; // at once: the engine never saw it
        EXPECT_EQ(app->Player().PlayState(), PLAYSTATE_READY) << row;
    }
    Close();
    EXPECT_EQ(config.ReadFile(QStringLiteral("Korvanta/Favorites.xml")), favorites);
}
