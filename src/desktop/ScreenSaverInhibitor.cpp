#include "ScreenSaverInhibitor.h"

#include "LogCategories.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QGuiApplication>

#include <xcb/xcb.h>

namespace {
const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kInterface = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kReason = QStringLiteral("Playing a channel");

QDBusMessage ServiceCall(const QString& method)
{
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}
} // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor()
{
    resetTimer.setInterval(kResetPeriodMs);
    connect(&resetTimer, &QTimer::timeout, this, &ScreenSaverInhibitor::ResetXScreenSaver);
}

ScreenSaverInhibitor::~ScreenSaverInhibitor()
{
    SetPlaying(false);
}

void ScreenSaverInhibitor::SetPlaying(bool playing)
{
    if (playing == IsInhibiting())
        return;
    if (!playing) {
        UnInhibitThroughService();
        resetTimer.stop();
        return;
    }
    if (InhibitThroughService())
        return;
    ResetXScreenSaver();
    resetTimer.start();
}

void ScreenSaverInhibitor::ShowPlayState(const PlayState& state)
{
    watched = state.Watched();
    SetPlaying(watched && !paused);
}

void ScreenSaverInhibitor::ShowPaused(bool isPaused)
{
    paused = isPaused;
    SetPlaying(watched && !paused);
}

bool ScreenSaverInhibitor::InhibitThroughService()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = ServiceCall(QStringLiteral("Inhibit"));
    call << QCoreApplication::applicationName() << kReason;
    const QDBusReply<quint32> reply = bus.call(call);
    if (!reply.isValid()) {
        qCInfo(lcDesktop) << "no screensaver service, the X screensaver is reset instead:" << reply.error().message();
        return false;
    }
    cookie = reply.value();
    return true;
}

void ScreenSaverInhibitor::UnInhibitThroughService()
{
    if (!cookie)
        return;
    QDBusMessage call = ServiceCall(QStringLiteral("UnInhibit"));
    call << *cookie;
    cookie.reset();
    QDBusConnection::sessionBus().call(call);
}

void ScreenSaverInhibitor::ResetXScreenSaver()
{
    // Other platforms (offscreen among them) may answer for X11 without a connection.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr)
        return;
    xcb_force_screen_saver(connection, XCB_SCREEN_SAVER_RESET);
    xcb_flush(connection);
}
