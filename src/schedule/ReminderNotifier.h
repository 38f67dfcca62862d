#pragma once
// Tells a reminder on the desktop through org.freedesktop.Notifications, with a "Watch"
// action that asks for its channel, as a click on it does. Where no notification service answers, Unreachable
// says so, for the program to tell it another way.

#include "Reminder.h"

#include <QDBusConnection>
#include <QObject>

#include <map>
#include <optional>

class ReminderNotifier : public QObject
{
    Q_OBJECT
public:
    // Reminders are told once this has listened on the bus; until then they are unreachable.
    // Late, since a bus connection costs the start-up a round trip.
    void Listen(const QDBusConnection& bus = QDBusConnection::sessionBus());

    void Tell(const Reminder& reminder, const QString& summary, const QString& body, const QString& watch);

signals:
    void Watch(const ChannelKey& channel);
    void Unreachable(const Reminder& reminder);

private slots:
    void ActionInvoked(uint id, const QString& action);
    void Closed(uint id, uint reason);

private:
    void Shown(uint id, const ChannelKey& channel);

    std::optional<QDBusConnection> bus;
    std::map<uint, ChannelKey> shown; // notifications on screen, by the service's number
    std::map<uint, QString> early;    // actions on a number not yet known, while one is awaited
    int awaited = 0;                  // notifications asked for, their numbers not yet come
};
