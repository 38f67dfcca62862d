// Reminders asked for outside the guide window: a programme found by the search, the next
// programme of the channel the description box describes; told as early as the viewer's
// preference says.

#include "ChannelWindow.h"
#include "GuideLibrary.h"
#include "MainWindowFixture.h"
#include "ReminderSchedule.h"
#include "ViewerPreferences.h"

#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QTest>

namespace {
constexpr int kWaitMs = 10000;
constexpr qint64 kHour = 3600;
} // namespace

TEST_F(MainWindowTest, AProgrammeFoundOrTheDescribedChannelsNextIsRemindedOfAsEarlyAsTheViewerSays)
{
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const QString guideFile = WriteOwnChannelWithGuide(now);
    ASSERT_TRUE(Start());
    app->Guides().Add(guideFile);
    const ChannelKey own{0, 0, 0};
    Reminder film;
    film.channel = own;
    film.start = ScheduleTime(std::chrono::seconds(now + kHour));
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->Directory().NextProgrammeOf(own).has_value(); }, kWaitMs));

    // The search finds the film on next; R on it sets its reminder, again cancels it.
    ChannelWindow& channels = app->Channels();
    channels.OpenSearch();
    auto* field = channels.findChild<QLineEdit*>(QStringLiteral("searchField"));
    auto* results = channels.findChild<QListView*>(QStringLiteral("searchResults"));
    ASSERT_TRUE(field != nullptr && results != nullptr);
    field->setText(QStringLiteral("late"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return results->model()->rowCount() == 1; }, kWaitMs));
    EXPECT_TRUE(results->currentIndex().data().toString().contains(QStringLiteral("Late film")));
    QTest::keyClick(results, Qt::Key_R);
    EXPECT_TRUE(app->Reminders().Has(film));
    QTest::keyClick(results, Qt::Key_R);
    EXPECT_FALSE(app->Reminders().Has(film));
    // Nor does typing R in the field ask for one.
    QTest::keyClick(field, Qt::Key_R);
    EXPECT_FALSE(app->Reminders().Has(film));
    field->setText(QStringLiteral("late"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return results->model()->rowCount() == 1; }, kWaitMs));

    // The description box describes the film's channel: R there reminds of its next programme.
    auto* description = channels.findChild<QPlainTextEdit*>(QStringLiteral("description"));
    ASSERT_NE(description, nullptr);
    EXPECT_TRUE(description->toPlainText().contains(QStringLiteral("Late film")));
    QTest::keyClick(description, Qt::Key_R);
    ASSERT_TRUE(app->Reminders().Has(film));

    // An hour and a half ahead, as the viewer prefers: the film, due in an hour, is told now.
    std::vector<Reminder> due;
    QObject::connect(&app->Reminders(), &ReminderSchedule::Due, [&due](const Reminder& r) { due.push_back(r); });
    PreferenceValues values = app->Prefs().Values();
    EXPECT_EQ(values.reminderLeadMinutes, 1);
    values.reminderLeadMinutes = 90;
    ASSERT_TRUE(app->Prefs().Set(values));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !due.empty(); }, kWaitMs));
    EXPECT_EQ(due[0].title, QStringLiteral("Late film"));
    EXPECT_FALSE(app->Reminders().Has(film));
}
