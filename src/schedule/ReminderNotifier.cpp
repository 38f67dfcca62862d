#include "ReminderNotifier.h"

#include "LogCategories.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kWatchAction = QStringLiteral("watch");
const QString kClicked = QStringLiteral("default"); // a click on the notification itself
const QString kApplication = QStringLiteral("Korvanta");
const QString kIcon = QStringLiteral("korvanta");
constexpr int kServerDecidesTimeout = -1;

} // namespace

void ReminderNotifier::Listen(const QDBusConnection& connection)
{
    bus = connection;
    bus->connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this, SLOT(ActionInvoked(uint,QString)));
    bus->connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this, SLOT(Closed(uint,uint)));
}

void ReminderNotifier::Tell(const Reminder& reminder, const QString& summary, const QString& body, const QString& watch)
{
    if (!bus || !bus->isConnected()) {
        emit Unreachable(reminder);
        return;
    }
    QDBusMessage notify = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    notify << kApplication << uint(0) << kIcon << summary << body << QStringList{kClicked, watch, kWatchAction, watch} << QVariantMap()
           << kServerDecidesTimeout;
    auto* call = new QDBusPendingCallWatcher(bus->asyncCall(notify), this);
    ++awaited;
    connect(call, &QDBusPendingCallWatcher::finished, this, [this, call, reminder] {
        call->deleteLater();
        const QDBusPendingReply<uint> reply = *call;
        if (reply.isError()) {
            qCInfo(lcSchedule) << "no desktop notification:" << reply.error().message();
            emit Unreachable(reminder);
        } else {
            Shown(reply.value(), reminder.channel);
        }
        if (--awaited == 0)
            early.clear();
    });
}

// A click can come before the number of its notification: it waits for the number.
void ReminderNotifier::Shown(uint id, const ChannelKey& channel)
{
    shown[id] = channel;
    const auto clicked = early.find(id);
    if (clicked != early.end())
        ActionInvoked(id, clicked->second);
}

void ReminderNotifier::ActionInvoked(uint id, const QString& action)
{
    const auto found = shown.find(id);
    if (found == shown.end()) {
        if (awaited > 0)
            early[id] = action;
        return;
    }
    if (action == kWatchAction || action == kClicked)
        emit Watch(found->second);
}

void ReminderNotifier::Closed(uint id, uint)
{
    shown.erase(id);
    early.erase(id);
}
