#include "CWMPWindow.h"

#include "ComposedVideo.h"
#include "SoftwareVideo.h"
#include "VideoSurface.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>

namespace {
void PaintBlack(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::black);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

CWMPWindow::CWMPWindow(const PlayerTimings& timings) : engine(timings)
{
    engine.SetStateSink([this](const ::PlayState& state) { dispatch.PlayStateChange(state); });
}

CWMPWindow::~CWMPWindow()
{
    Close();
}

bool CWMPWindow::Create(QWidget* parent)
{
    if (host != nullptr)
        return true;
    const VideoOutput output = ChooseVideoOutput();
    if (!engine.Create(output != VideoOutput::None))
        return false;

    host = new QWidget(parent);
    host->setGeometry(0, 0, 100, 100);
    PaintBlack(host);
    host->installEventFilter(this);
    surface = MakeSurface(output);
    surface->installEventFilter(this);
    surface->setMouseTracking(true);
    // A picture drawn as a widget would take the focus at a double-click, and with it the
    // main window's keys (Enter meaning full screen); full screen gives it the focus itself.
    surface->setFocusPolicy(surface->inherits("QWindowContainer") ? Qt::ClickFocus : Qt::NoFocus);
    FitSurface();
    host->show();
    return true;
}

QWidget* CWMPWindow::MakeSurface(VideoOutput output)
{
    if (output == VideoOutput::None) {
        auto* plain = new QWidget(host);
        PaintBlack(plain);
        // Without a surface nothing else tears the engine down when the widgets go first.
        connect(plain, &QObject::destroyed, this, [this] {
            surface = nullptr;
            Close();
        });
        return plain;
    }
    QWidget* picture = nullptr;
    if (output == VideoOutput::Software) {
        auto* widget = new SoftwareVideo(engine.Handle(), host);
        renderer = &widget->Renderer();
        drawing = widget;
        picture = widget;
    } else if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        // Compositors do not reliably show a child window's subsurface: the picture is
        // composed with the main window instead.
        auto* widget = new ComposedVideo(engine.Handle(), host);
        renderer = &widget->Renderer();
        drawing = widget;
        picture = widget;
    } else {
        auto* window = new VideoSurface(engine.Handle());
        // A native window of its own: the frame goes straight to the screen instead of
        // into a texture that the whole main window is composited with again on every frame.
        picture = QWidget::createWindowContainer(window, host);
        window->SetInputTarget(picture);
        renderer = &window->Renderer();
        drawing = window;
    }
    renderer->SetCaption(&caption);
    engine.SetVideoReady(false); // addresses wait for the render context
    renderer->onReady = [this] { engine.SetVideoReady(true); };
    renderer->onShown = [this] { emit PictureShown(); };
    // The main window may destroy its children before its members.
    renderer->onDestroying = [this] {
        surface = nullptr;
        Close();
    };
    return picture;
}

void CWMPWindow::Close()
{
    if (engine.Handle() == nullptr)
        return;
    SetFullScreen(false);
    // libmpv aborts unless the wakeup hook goes first and the engine last.
    engine.UnhookWakeup();
    if (drawing != nullptr)
        renderer->Detach();
    engine.Destroy();
}

void CWMPWindow::PlayURL(const ChannelRequest& request, double startAt)
{
    engine.Open(request, startAt);
}

void CWMPWindow::Play()
{
    engine.Resume();
}

void CWMPWindow::Stop()
{
    engine.Stop();
}

void CWMPWindow::SetVolume(int volume)
{
    engine.SetVolume(volume);
}

void CWMPWindow::SetMute(bool muted)
{
    engine.SetVolume(muted ? 0 : storedVolume);
}

void CWMPWindow::SetOriginalSize(bool original)
{
    engine.SetUnscaled(original);
}

void CWMPWindow::ShowCard(const QString& name, const QString& reason, const QColor& colour)
{
    caption.ShowCard(name, reason, colour);
}

void CWMPWindow::HideCard()
{
    caption.HideCard();
}

void CWMPWindow::ShowTitle(const QString& name, const QColor& colour)
{
    caption.ShowTitle(name, colour);
}

void CWMPWindow::RepaintPicture()
{
    if (drawing != nullptr)
        renderer->Repaint();
}

int CWMPWindow::FrameUpdates() const
{
    return drawing != nullptr ? renderer->FrameUpdates() : 0;
}

bool CWMPWindow::IsFullScreen() const
{
    return fullScreenWindow != nullptr;
}

void CWMPWindow::SetFullScreen(bool on)
{
    if (on == IsFullScreen() || surface == nullptr || host == nullptr)
        return;
    if (on && engine.Handle() == nullptr)
        return; // closed: there is no picture to show
    if (on) {
        // Only the picture leaves the main window, whose own geometry stays as it is.
        fullScreenWindow = new QWidget(host, Qt::Window | Qt::FramelessWindowHint);
        PaintBlack(fullScreenWindow);
        fullScreenWindow->installEventFilter(this);
        QScreen* screen = host->screen();
        fullScreenWindow->setGeometry(screen->geometry());
        surface->setParent(fullScreenWindow);
        FitSurface();
        surface->show();
        fullScreenWindow->showFullScreen();
        fullScreenWindow->activateWindow();
        surface->setFocus();
        return;
    }
    QWidget* window = fullScreenWindow;
    fullScreenWindow = nullptr;
    surface->setParent(host);
    FitSurface();
    surface->show();
    window->hide();
    window->deleteLater(); // it may be delivering the event that brought us here
}

void CWMPWindow::FitSurface()
{
    if (surface == nullptr)
        return;
    QWidget* frame = surface->parentWidget();
    if (frame != nullptr)
        surface->setGeometry(frame->rect());
}

bool CWMPWindow::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Resize:
        if (surface != nullptr && watched == surface->parentWidget())
            FitSurface();
        break;
    case QEvent::KeyPress:
        return HandleKey(static_cast<const QKeyEvent&>(*event));
    case QEvent::MouseMove:
        if (watched == surface)
            dispatch.MouseMove();
        break;
    case QEvent::MouseButtonPress: {
        if (watched != surface)
            break; // the same press bubbling up to the host
        dispatch.MouseDown();
        break;
    }
    case QEvent::Close:
        // The window manager closed the full-screen window: the picture goes back, so that
        // Enter can bring it to full screen again.
        if (watched == fullScreenWindow) {
            event->ignore();
            SetFullScreen(false);
            return true;
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (IsFullScreen()) {
            SetFullScreen(false);
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool CWMPWindow::HandleKey(const QKeyEvent& key)
{
    if (key.key() == 0 || key.key() == Qt::Key_unknown)
        return false;
    dispatch.KeyDown(key.keyCombination());
    // Escape is the player's own way out of full screen, as a double-click is.
    if (key.key() == Qt::Key_Escape)
        SetFullScreen(false);
    return true;
}
