// The picture on a real X display: the test pattern shows in the window, in full screen
// and again after leaving it. Skipped without a display.

#include "CWMPWindow.h"
#include "ZooServer.h"
#include "PlayStateModel.h"
#include "PlayerEventRecorder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {
// The screen's pixels where the picture widget is.
QImage Shot(QWidget* surface, const QString& name)
{
    const QRect area(surface->mapToGlobal(QPoint(0, 0)), surface->size());
    QImage image = surface->screen()
                       ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                       .toImage();
    const QString folder = QStringLiteral(KORVANTA_BINARY_DIR "/test-shots");
    QDir().mkpath(folder);
    image.save(folder + QLatin1Char('/') + name);
    return image;
}

// Share of pixels that are clearly coloured; the pattern is mostly coloured, black is not.
double ColouredShare(const QImage& image)
{
    if (image.isNull())
        return 0;
    int coloured = 0;
    int total = 0;
    for (int y = 0; y < image.height(); y += 4) {
        for (int x = 0; x < image.width(); x += 4) {
            const QColor c = image.pixelColor(x, y);
            coloured += c.saturation() > 80 && c.value() > 60;
            ++total;
        }
    }
    return double(coloured) / total;
}

// The pattern's gradient band lies across its lower part; the left edge above is black.
bool Upright(const QImage& image)
{
    const QColor low = image.pixelColor(image.width() / 100, image.height() * 80 / 100);
    const QColor high = image.pixelColor(image.width() / 100, image.height() * 20 / 100);
    return low.saturation() > 80 && high.value() < 60;
}

QWidget* Surface(CWMPWindow& player)
{
    for (QWidget* child : player.VideoWidget()->findChildren<QWidget*>()) {
        if (!child->isWindow())
            return child;
    }
    return nullptr;
}

// Whether the top rows hold the same colour bars; the moving parts of the pattern lie
// lower down.
bool SameBars(const QImage& a, const QImage& b)
{
    if (a.isNull() || b.isNull())
        return false;
    const QImage small1 = a.scaled(64, 48);
    const QImage small2 = b.scaled(64, 48);
    int same = 0;
    for (int x = 0; x < 64; ++x) {
        const QColor c1 = small1.pixelColor(x, 1);
        const QColor c2 = small2.pixelColor(x, 1);
        same += std::abs(c1.red() - c2.red()) < 60 && std::abs(c1.green() - c2.green()) < 60 &&
                std::abs(c1.blue() - c2.blue()) < 60;
    }
    return same >= 58;
}

// Waits until the widget's area shows the pattern, as in reference when one is given.
bool ShowsPattern(QWidget* surface, const QString& name, const QImage& reference = {})
{
    return WaitFor([&] {
        const QImage shot = Shot(surface, name);
        return ColouredShare(shot) > 0.4 && (reference.isNull() || SameBars(shot, reference));
    }, 10000);
}
// Shows window with the player's picture filling it, the player's reports recorded.
bool ShowPicture(PlayerEventRecorder& window, CWMPWindow& player)
{
    window.resize(480, 360);
    if (!player.Create(&window))
        return false;
    window.Listen(player.Events());
    player.VideoWidget()->setGeometry(window.rect());
    window.show();
    return true;
}

// Pixels of colour, give or take what smoothing the text's edges leaves of it.
int PixelsOf(const QImage& image, const QColor& colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += std::abs(c.red() - colour.red()) < 24 && std::abs(c.green() - colour.green()) < 24 &&
                     std::abs(c.blue() - colour.blue()) < 24;
        }
    }
    return count;
}

// Waits until the widget's area is black but for a card's text in colour.
bool ShowsCard(QWidget* surface, const QString& name, const QColor& colour)
{
    return WaitFor([&] {
        const QImage shot = Shot(surface, name);
        return ColouredShare(shot) < 0.05 && PixelsOf(shot, colour) > 50; // the text is coloured too
    }, 10000);
}

struct ContextMenuCounter : QObject
{
    int menus = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        menus += event->type() == QEvent::ContextMenu;
        return false;
    }
};
} // namespace

TEST(PlayerVideo, PatternShowsInTheWindowInFullScreenAndAfter)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") || QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs an X display";
    ZooServer server;
    ASSERT_TRUE(server.Start());
    PlayerEventRecorder window;
    CWMPWindow player;
    ASSERT_TRUE(ShowPicture(window, player));
    player.PlayURL(RequestFor(server.Url("/live.m3u8")));
    ASSERT_TRUE(WaitFor([&] { return player.PlayState() == PLAYSTATE_PLAYING; }, 15000));

    EXPECT_TRUE(ShowsPattern(Surface(player), QStringLiteral("window.png")));
    const QImage before = Shot(Surface(player), QStringLiteral("window.png"));
    EXPECT_TRUE(Upright(before));
    WaitFor([] { return false; }, 600);
    EXPECT_NE(Shot(Surface(player), QStringLiteral("window-later.png")), before); // it moves

    const QRect mainGeometry = window.geometry();
    player.SetFullScreen(true);
    QWidget* surface = Surface(player);
    ASSERT_TRUE(WaitFor([&] { return surface->window()->isFullScreen(); }, 5000));
    EXPECT_TRUE(ShowsPattern(surface, QStringLiteral("fullscreen.png")));
    EXPECT_EQ(surface->size(), surface->screen()->size());
    EXPECT_EQ(window.geometry(), mainGeometry);
    // The keyboard goes to the picture, so keys reach the main window as player reports.
    EXPECT_TRUE(WaitFor([&] { return QApplication::focusWidget() == surface; }, 5000));

    player.SetFullScreen(false);
    EXPECT_TRUE(ShowsPattern(Surface(player), QStringLiteral("after-fullscreen.png"), before));
    EXPECT_EQ(player.PlayState(), PLAYSTATE_PLAYING);

    // The main window may destroy its children first: the render context goes with the
    // surface, before the engine.
    delete player.VideoWidget();
    EXPECT_EQ(player.EngineHandle(), nullptr);
}

// A channel that could not be played leaves no frame of the one before: the card covers the
// picture, in the window and in full screen. A name over the picture leaves the picture.
TEST(PlayerVideo, TheCardCoversTheLastFrameAndATitleLeavesThePicture)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") || QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs an X display";
    const QColor text(134, 156, 203);
    ZooServer server;
    ASSERT_TRUE(server.Start());
    PlayerEventRecorder window;
    CWMPWindow player;
    ASSERT_TRUE(ShowPicture(window, player));
    player.PlayURL(RequestFor(server.Url("/live.m3u8")));
    ASSERT_TRUE(WaitFor([&] { return player.PlayState() == PLAYSTATE_PLAYING; }, 15000));
    ASSERT_TRUE(ShowsPattern(Surface(player), QStringLiteral("before-card.png")));

    player.PlayURL(RequestFor(ClosedPortUrl(QStringLiteral("/live.m3u8"))));
    ASSERT_TRUE(WaitFor([&] { return player.PlayState() == PLAYSTATE_READY; }, 5000));
    player.ShowCard(QStringLiteral("Closed"), QStringLiteral("Channel unavailable: connection refused"), text);
    EXPECT_TRUE(ShowsCard(Surface(player), QStringLiteral("card.png"), text));
    player.SetFullScreen(true);
    ASSERT_TRUE(WaitFor([&] { return Surface(player)->window()->isFullScreen(); }, 5000));
    EXPECT_TRUE(ShowsCard(Surface(player), QStringLiteral("card-fullscreen.png"), text));

    player.HideCard();
    player.PlayURL(RequestFor(server.Url("/live.m3u8")));
    ASSERT_TRUE(WaitFor([&] { return player.PlayState() == PLAYSTATE_PLAYING; }, 15000));
    player.ShowTitle(QStringLiteral("Live"), text);
    EXPECT_TRUE(WaitFor([&] {
        const QImage shot = Shot(Surface(player), QStringLiteral("title-fullscreen.png"));
        return ColouredShare(shot) > 0.4 && PixelsOf(shot.copy(0, 0, 400, 150), text) > 50;
    }, 10000));
    player.SetFullScreen(false);
}

// The picture is drawn on this thread, and the engine's core may wait for a frame to be
// drawn: a command that waited for the core in turn stalled the window until the engine
// gave up waiting. Loads and stops while frames are drawn must return at once.
TEST(PlayerVideo, LoadsAndStopsWhileDrawingNeverWaitForTheEngine)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") || QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs an X display";
    constexpr int kSwitches = 50;
    constexpr qint64 kStallMs = 100;
    ZooServer server;
    ASSERT_TRUE(server.Start());
    PlayerEventRecorder window;
    CWMPWindow player;
    ASSERT_TRUE(ShowPicture(window, player));

    qint64 longest = 0;
    const auto timed = [&](auto&& call) {
        QElapsedTimer clock;
        clock.start();
        call();
        longest = std::max(longest, clock.elapsed());
    };
    // Once a channel has loaded, the engine's core waits for its first picture to be drawn.
    window.reaction = [&](const PlayerEventRecorder::Event& event) {
        if (event == PlayerEventRecorder::Event{PlayerEventRecorder::Kind::PlayState, PLAYSTATE_BUFFERING})
            timed([&] { player.SetVolume(50); });
    };
    const QString channels[] = {server.Url("/live.m3u8"), server.Url("/hls/v240/live.m3u8")};
    for (int k = 0; k < kSwitches; ++k) {
        SCOPED_TRACE(k);
        timed([&] { player.PlayURL(RequestFor(channels[k % 2])); });
        // The next switch comes while this channel's frames are being drawn.
        const int drawn = player.FrameUpdates();
        ASSERT_TRUE(WaitFor([&] { return player.PlayState() == PLAYSTATE_PLAYING && player.FrameUpdates() > drawn + 2; }, 15000));
        if (k % 5 == 4) {
            timed([&] { player.Stop(); });
            timed([&] { player.Play(); });
        }
    }
    RecordProperty("longest_stall_ms", static_cast<int>(longest)); // in the XML report
    EXPECT_LT(longest, kStallMs);
}

// Where the picture is a native window of its own, the pointer and keyboard reach it
// directly: what it gets, as what the picture widget gets, must arrive as the widgets' own
// events did.
TEST(PlayerVideo, InputOnThePictureWindowReachesTheMainWindow)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") || QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs an X display";
    PlayerEventRecorder window;
    window.resize(320, 240);
    CWMPWindow player;
    ASSERT_TRUE(player.Create(&window));
    window.Listen(player.Events());
    player.VideoWidget()->setGeometry(window.rect());
    ContextMenuCounter counter;
    window.installEventFilter(&counter);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QWindow* native = window.windowHandle()->findChild<QWindow*>();
    QWidget* widget = Surface(player);
    // The window the pointer reaches, where the toolkit turns a right press into a menu.
    const auto mouseWindow = [&] { return native != nullptr ? native : widget->window()->windowHandle(); };
    const auto mouseAt = [&] { return native != nullptr ? QPoint(5, 5) : widget->mapTo(widget->window(), QPoint(5, 5)); };

    if (native != nullptr)
        QTest::keyClick(native, Qt::Key_Space);
    else
        QTest::keyClick(widget, Qt::Key_Space);
    QTest::mouseClick(mouseWindow(), Qt::RightButton, Qt::NoModifier, mouseAt());
    using Kind = PlayerEventRecorder::Kind;
    EXPECT_EQ(window.events, (std::vector<PlayerEventRecorder::Event>{{Kind::KeyDown, 32}, {Kind::MouseDown, 0}}));
    EXPECT_EQ(counter.menus, 1);

    player.SetFullScreen(true);
    QTest::mouseDClick(mouseWindow(), Qt::LeftButton, Qt::NoModifier, mouseAt());
    EXPECT_FALSE(player.IsFullScreen());
}
