// A reminder told on a private session bus: without a notification service it is said to
// be unreachable; with a real notification daemon (dunst, on the test's display) it shows
// the title, the time and the channel, and a click asks for the channel.

#include "ReminderNotifier.h"
#include "ReminderSchedule.h"
#include "TempDir.h"
#include "ZooServer.h" // WaitFor

#include <QDBusConnectionInterface>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <sys/prctl.h>

#include <csignal>

using namespace std::chrono_literals;

namespace {

constexpr int kWaitMs = 10000;
const QString kService = QStringLiteral("org.freedesktop.Notifications");

Reminder Match(ScheduleTime start)
{
    Reminder reminder;
    reminder.channel.id = 0x0001'0004;
    reminder.channelName = QStringLiteral("Zoo Sport");
    reminder.title = QStringLiteral("The match");
    reminder.start = start;
    reminder.stop = start + 90min;
    return reminder;
}

QByteArray Dunstctl(const QStringList& arguments)
{
    QProcess control;
    control.start(QStringLiteral("dunstctl"), arguments);
    control.waitForFinished(kWaitMs);
    return control.readAllStandardOutput();
}

bool ServiceRuns()
{
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(kService);
}

} // namespace

TEST(ReminderNotifier, ADueReminderIsToldOnTheDesktopOrSaidUnreachable)
{
    ASSERT_FALSE(ServiceRuns()) << "the test needs a bus of its own (dbus-run-session)";
    // A clock a minute and a second before the match: due at once when loaded.
    TempDir temp;
    const ScheduleTime start = ReminderSchedule::SystemNow() + 10min;
    ScheduleTime now = start - 2min;
    ReminderSchedule schedule([&now] { return now; });
    schedule.Load(temp.FilePath(QStringLiteral("Reminders.xml")));
    std::vector<Reminder> due;
    QObject::connect(&schedule, &ReminderSchedule::Due, [&](const Reminder& r) { due.push_back(r); });
    schedule.Toggle(Match(start));
    EXPECT_TRUE(due.empty());
    now = start - 1min;
    ReminderSchedule restarted([&now] { return now; });
    QObject::connect(&restarted, &ReminderSchedule::Due, [&](const Reminder& r) { due.push_back(r); });
    restarted.Load(temp.FilePath(QStringLiteral("Reminders.xml")));
    ASSERT_EQ(due.size(), 1u);

    ReminderNotifier notifier;
    notifier.Listen();
    std::vector<Reminder> unreachable;
    std::vector<ChannelKey> watched;
    QObject::connect(&notifier, &ReminderNotifier::Unreachable, [&](const Reminder& r) { unreachable.push_back(r); });
    QObject::connect(&notifier, &ReminderNotifier::Watch, [&](const ChannelKey& key) { watched.push_back(key); });
    notifier.Tell(due[0], QStringLiteral("The match at 20:15"), QStringLiteral("Starts soon on Zoo Sport."),
                  QStringLiteral("Watch"));
    ASSERT_TRUE(WaitFor([&] { return !unreachable.empty(); }, kWaitMs));
    EXPECT_EQ(unreachable[0].title, QStringLiteral("The match"));

    QProcess dunst;
    dunst.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    dunst.start(QStringLiteral("dunst"), {QStringLiteral("-config"), QStringLiteral("/dev/null")});
    ASSERT_TRUE(WaitFor(ServiceRuns, kWaitMs)) << dunst.readAllStandardError().toStdString();
    unreachable.clear();
    notifier.Tell(due[0], QStringLiteral("The match at 20:15"), QStringLiteral("Starts soon on Zoo Sport."),
                  QStringLiteral("Watch"));
    ASSERT_TRUE(WaitFor([] { return Dunstctl({QStringLiteral("count"), QStringLiteral("displayed")}).trimmed() == "1"; },
                        kWaitMs));
    Dunstctl({QStringLiteral("action"), QStringLiteral("0")}); // a click on it
    ASSERT_TRUE(WaitFor([&] { return !watched.empty(); }, kWaitMs));
    EXPECT_EQ(watched[0], Match(start).channel);
    EXPECT_TRUE(unreachable.empty());

    Dunstctl({QStringLiteral("close-all")});
    const QJsonArray shown = QJsonDocument::fromJson(Dunstctl({QStringLiteral("history")}))
                                 .object().value(QStringLiteral("data")).toArray().at(0).toArray();
    ASSERT_EQ(shown.size(), 1);
    const QJsonObject told = shown.at(0).toObject();
    EXPECT_EQ(told.value(QStringLiteral("summary")).toObject().value(QStringLiteral("data")).toString(),
              QStringLiteral("The match at 20:15"));
    EXPECT_EQ(told.value(QStringLiteral("body")).toObject().value(QStringLiteral("data")).toString(),
              QStringLiteral("Starts soon on Zoo Sport."));
    dunst.kill();
    dunst.waitForFinished();
}
