// Reminders kept across restarts in their own file, due a minute before their programme;
// one whose programme ended while Korvanta was closed goes without a word, and a file
// that cannot be read is kept aside, never written over.

#include "ReminderBook.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

const ScheduleTime kNow{1'780'000'000s};

Reminder Programme(const QString& title, std::chrono::seconds fromNow, std::chrono::seconds length = 30min)
{
    Reminder reminder;
    reminder.channel.id = 0x0003'0002;
    reminder.channelName = QStringLiteral("Zoo & \"Friends\"");
    reminder.title = title;
    reminder.start = kNow + fromNow;
    reminder.stop = reminder.start + length;
    return reminder;
}

} // namespace

TEST(ReminderBook, KeepsRemindersAcrossRestartsUntilDueOrOver)
{
    TempDir temp;
    const QString path = temp.FilePath(QStringLiteral("Korvanta/Reminders.xml"));
    const Reminder match = Programme(QStringLiteral("Match"), 10min);
    const Reminder film = Programme(QStringLiteral("Film <Ünicode>"), 2h);
    {
        ReminderBook book(path);
        EXPECT_TRUE(book.Add(film, kNow));
        EXPECT_TRUE(book.Add(match, kNow));
        EXPECT_FALSE(book.Add(match, kNow)) << "one reminder a programme";
        EXPECT_FALSE(book.Add(Programme(QStringLiteral("Started"), -1min), kNow));
    }
    EXPECT_TRUE(temp.ReadFile(QStringLiteral("Korvanta/Reminders.xml")).contains("\r\n"));

    ReminderBook restarted(path);
    restarted.Load(kNow);
    ASSERT_EQ(restarted.Reminders().size(), 2u);
    EXPECT_EQ(restarted.Reminders()[0].title, match.title); // soonest first
    EXPECT_EQ(restarted.Reminders()[1].title, film.title);
    EXPECT_EQ(restarted.Reminders()[1].channelName, film.channelName);
    EXPECT_EQ(restarted.NextDue(), match.start - 1min);
    Reminder elsewhere = match;
    elsewhere.channel.id += 1;
    EXPECT_FALSE(restarted.Has(elsewhere)) << "the same time on another channel";
    restarted.SetLead(5min); // the viewer's preference
    EXPECT_EQ(restarted.NextDue(), match.start - 5min);
    restarted.SetLead(ReminderBook::kDefaultLead);
    EXPECT_TRUE(restarted.TakeDue(match.start - 2min).empty());
    const std::vector<Reminder> due = restarted.TakeDue(match.start - 1min);
    ASSERT_EQ(due.size(), 1u);
    EXPECT_TRUE(due[0].SameProgramme(match));

    // Closed until the film was over: it goes, unannounced.
    ReminderBook later(path);
    later.Load(film.stop);
    EXPECT_TRUE(later.Reminders().empty());
    ReminderBook again(path);
    again.Load(kNow);
    EXPECT_TRUE(again.Reminders().empty());
}

TEST(ReminderBook, AnUnreadableFileIsKeptAside)
{
    TempDir temp;
    const QByteArray damaged = "<Reminders><Reminder title=\"cut";
    temp.WriteFile(QStringLiteral("Reminders.xml"), damaged);
    ReminderBook book(temp.FilePath(QStringLiteral("Reminders.xml")));
    book.Load(kNow);
    EXPECT_TRUE(book.Reminders().empty());
    EXPECT_EQ(temp.ReadFile(QStringLiteral("Reminders.xml.unreadable")), damaged);

    EXPECT_TRUE(book.Add(Programme(QStringLiteral("News"), 1h), kNow));
    ReminderBook restarted(temp.FilePath(QStringLiteral("Reminders.xml")));
    restarted.Load(kNow);
    EXPECT_EQ(restarted.Reminders().size(), 1u);
}
