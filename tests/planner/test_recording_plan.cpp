// The plan the rules make: a series over repeats and new episodes, on its channel or any,
// and the one too many at once marked as a conflict; the rules kept across a restart.

#include "RecordingBook.h"
#include "RecordingMarks.h"
#include "RecordingPlanner.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

using std::chrono::minutes;
using std::chrono::seconds;

const PlanTime kNow{seconds(1'700'000'000)};
const ChannelKey kOne{0, 0, 1};
const ChannelKey kTwo{0, 0, 2};

ProgrammeFacts Programme(const QString& title, int startMinutes, const QString& episode = {}, const QString& subTitle = {})
{
    return {title, subTitle, QString(), episode, kNow + minutes(startMinutes), kNow + minutes(startMinutes + 30)};
}

struct Guide {
    std::map<int, std::vector<ProgrammeFacts>> byEntry;

    ProgrammesOf Of() const
    {
        return [this](const ChannelKey& key, PlanTime from, PlanTime to) {
            std::vector<ProgrammeFacts> found;
            const auto row = byEntry.find(key.entry);
            for (const ProgrammeFacts& p : row != byEntry.end() ? row->second : std::vector<ProgrammeFacts>()) {
                if (p.stop > from && p.start < to)
                    found.push_back(p);
            }
            return found;
        };
    }
};

RecordingRule Series(const ChannelKey& channel, const QString& title, bool anyChannel, bool newOnly)
{
    RecordingRule rule;
    rule.kind = RuleKind::Series;
    rule.channel = channel;
    rule.channelName = QStringLiteral("One");
    rule.programme = Programme(title, 0);
    rule.anyChannel = anyChannel;
    rule.newOnly = newOnly;
    return rule;
}

// "start minutes@entry" of each planned recording, in order.
std::vector<QString> Picked(const std::vector<PlannedRecording>& plan)
{
    std::vector<QString> picked;
    for (const PlannedRecording& p : plan)
        picked.push_back(QStringLiteral("%1@%2%3").arg((p.programme.start - kNow).count() / 60).arg(p.channel.entry)
                             .arg(p.conflict ? QStringLiteral("!") : QString()));
    return picked;
}

} // namespace

TEST(RecordingPlan, SeriesOverRepeatsAndNewEpisodes)
{
    Guide guide;
    guide.byEntry[1] = {Programme(QStringLiteral("Quiz"), 0, QStringLiteral("1.4.")),
                        Programme(QStringLiteral("News"), 30),
                        Programme(QStringLiteral("quiz "), 60, QStringLiteral("1.5.")),
                        Programme(QStringLiteral("Quiz"), 120, QStringLiteral("1.4.")), // a repeat
                        Programme(QStringLiteral("Quiz"), 180, {}, QStringLiteral("Finale")),
                        Programme(QStringLiteral("Quiz"), 240, {}, QStringLiteral("finale")), // its repeat
                        Programme(QStringLiteral("Quiz"), 300)}; // says nothing of its episode
    guide.byEntry[2] = {Programme(QStringLiteral("Quiz"), 390, QStringLiteral("1.6."))};
    const std::vector<PlanChannel> channels{{kOne, QStringLiteral("One")}, {kTwo, QStringLiteral("Two")}};
    PlanSettings settings;
    settings.atOnce = 9;

    struct Case {
        bool anyChannel, newOnly;
        bool recordedBefore; // episode 1.5. recorded yesterday
        std::vector<QString> picked;
    };
    const Case cases[] = {
        {false, false, false, {"0@1", "60@1", "120@1", "180@1", "240@1", "300@1"}},
        {false, true, false, {"0@1", "60@1", "180@1", "300@1"}},
        {false, true, true, {"0@1", "180@1", "300@1"}},
        {true, true, false, {"0@1", "60@1", "180@1", "300@1", "390@2"}},
        {true, false, true, {"0@1", "60@1", "120@1", "180@1", "240@1", "300@1", "390@2"}},
    };
    for (const Case& c : cases) {
        TempDir temp;
        RecordingBook book(temp.FilePath(QStringLiteral("Recordings.xml")));
        book.AddRule(Series(kOne, QStringLiteral("QUIZ"), c.anyChannel, c.newOnly));
        if (c.recordedBefore) {
            RecordedProgramme done;
            done.channel = kOne;
            done.programme = Programme(QStringLiteral("Quiz"), -24 * 60, QStringLiteral("1.5."));
            done.state = RecordedState::Finished;
            book.Recorded().push_back(done);
        }
        const auto plan = RecordingPlanner::Plan(book, channels, guide.Of(), kNow + minutes(5), settings);
        std::vector<QString> expected(c.picked.begin(), c.picked.end());
        EXPECT_EQ(Picked(plan), expected) << "any " << c.anyChannel << " new " << c.newOnly << " before " << c.recordedBefore;
    }
}

TEST(RecordingPlan, PaddingAndTheOneTooManyAtOnce)
{
    TempDir temp;
    RecordingBook book(temp.FilePath(QStringLiteral("Recordings.xml")));
    for (int entry = 1; entry <= 3; ++entry) {
        RecordingRule rule;
        rule.channel = {0, 0, entry};
        rule.programme = Programme(QStringLiteral("Film"), entry == 3 ? 35 : 10 * entry);
        book.AddRule(rule);
    }
    PlanSettings settings; // 2 minutes before, 5 after, two at once
    const auto plan = RecordingPlanner::Plan(book, {}, Guide().Of(), kNow, settings);
    EXPECT_EQ(Picked(plan), (std::vector<QString>{"10@1", "20@2", "35@3!"}));
    EXPECT_EQ(plan[0].from, kNow + minutes(8));
    EXPECT_EQ(plan[0].to, kNow + minutes(45));

    book.Skip(plan[1].channel, plan[1].programme.start); // the viewer chose: not the second
    EXPECT_EQ(Picked(RecordingPlanner::Plan(book, {}, Guide().Of(), kNow, settings)), (std::vector<QString>{"10@1", "35@3"}));
}

TEST(RecordingPlan, RulesAndRecordingsSurviveARestartAndMarkTheGrid)
{
    TempDir temp;
    const QString path = temp.FilePath(QStringLiteral("Korvanta/Recordings.xml"));
    {
        RecordingBook book(path);
        RecordingRule once;
        once.channel = kOne;
        once.channelName = QStringLiteral("Één & <Two>");
        once.programme = Programme(QStringLiteral("Film \"x\""), 10);
        once.programme.description = QStringLiteral("Line one\nline two");
        book.AddRule(once);
        book.AddRule(Series(kTwo, QStringLiteral("Quiz"), false, true));
        RecordedProgramme running;
        running.channel = kOne;
        running.path = temp.FilePath(QStringLiteral("gone.ts"));
        running.programme = Programme(QStringLiteral("News"), -10);
        running.began = kNow - minutes(12);
        book.Recorded().push_back(running); // under way when the program was killed
        book.Save();
    }
    EXPECT_TRUE(temp.ReadFile(QStringLiteral("Korvanta/Recordings.xml")).contains("\r\n"));
    RecordingBook book(path);
    book.Load();
    ASSERT_EQ(book.Rules().size(), 2u);
    EXPECT_EQ(book.Rules()[0].channelName, QStringLiteral("Één & <Two>"));
    EXPECT_EQ(book.Rules()[0].programme.description, QStringLiteral("Line one\nline two"));
    EXPECT_TRUE(book.Rules()[1].newOnly);
    ASSERT_EQ(book.Recorded().size(), 1u);
    EXPECT_EQ(book.Recorded()[0].state, RecordedState::Partial);
    EXPECT_EQ(book.Recorded()[0].problem, RecordedProblem::NotRunning);
    EXPECT_EQ(book.AddRule(Series(kOne, QStringLiteral("Other"), true, false)), 3); // ids go on

    RecordingMarks marks;
    marks.Rebuild(book.Rules());
    const qint64 at = (kNow + minutes(10)).time_since_epoch().count();
    EXPECT_TRUE(marks.Marked(kOne, QStringLiteral("anything"), at));
    EXPECT_FALSE(marks.Marked(kTwo, QStringLiteral("anything"), at));
    EXPECT_TRUE(marks.Marked(kTwo, QStringLiteral(" quiz"), 0));
    EXPECT_FALSE(marks.Marked(kOne, QStringLiteral("Quiz"), 0));
    EXPECT_TRUE(marks.Marked(kTwo, QStringLiteral("other"), 0));

    temp.WriteFile(QStringLiteral("Korvanta/Recordings.xml"), "<Recordings><Rule");
    book.Load(); // unreadable: put aside, not overwritten by the next save
    EXPECT_TRUE(book.Rules().empty());
    EXPECT_EQ(temp.ReadFile(QStringLiteral("Korvanta/Recordings.xml.unreadable")), QByteArray("<Recordings><Rule"));
}
