// Recordings asked for outside the guide window: a programme found by the search, the next
// programme of the channel the description box describes; and the recordings window
// opened from the guide window's keys.

#include "ChannelWindow.h"
#include "CommandId.h"
#include "GuideGrid.h"
#include "GuideLibrary.h"
#include "GuideWindow.h"
#include "MainWindowFixture.h"
#include "NextModalDialog.h"
#include "RecordingScheduler.h"
#include "RecordingsWindow.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {
constexpr int kWaitMs = 10000;
constexpr qint64 kHour = 3600;
const QColor kRecordMark(210, 30, 30);

// Opens the context menu of a view as the mouse does, over its top left, and chooses item,
// or closes it when it has none such; the texts of its items.
QStringList ChooseFromMenu(QAbstractScrollArea* view, const QString& item)
{
    QStringList texts;
    QTimer::singleShot(0, [&] {
        (void)QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; });
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr)
            return;
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions()) {
            texts << action->text();
            if (action->text() == item)
                chosen = action;
        }
        if (chosen == nullptr) {
            menu->close();
            return;
        }
        menu->setActiveAction(chosen);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    const QPoint at(4, 4);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(view->viewport(), &event);
    return texts;
}

bool ShowsRecordMark(QWidget* view)
{
    const QImage shown = view->grab().toImage();
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (shown.pixelColor(x, y) == kRecordMark)
                return true;
        }
    }
    return false;
}

// The kind of the rule that records the programme starting at start; none: -1.
int RuleAt(const RecordingScheduler& planner, qint64 start)
{
    for (const RecordingRule& rule : planner.Book().Rules()) {
        if (rule.programme.start.time_since_epoch().count() == start)
            return int(rule.kind);
    }
    return -1;
}
} // namespace

class RecordingAsksTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        UseOwnCacheFolder();
    }
};

TEST_F(RecordingAsksTest, AProgrammeFoundOrTheDescribedChannelsNextIsRecordedFromItsMenuAndMarked)
{
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const QString guideFile = WriteOwnChannelWithGuide(now);
    ASSERT_TRUE(Start());
    app->Guides().Add(guideFile);
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->Directory().NextProgrammeOf({0, 0, 0}).has_value(); }, kWaitMs));
    const RecordingScheduler& planner = app->Planner();

    // The news, on now, cannot be reminded of but is recorded, marked, and no longer.
    ChannelWindow& channels = app->Channels();
    channels.OpenSearch();
    auto* field = channels.findChild<QLineEdit*>(QStringLiteral("searchField"));
    auto* results = channels.findChild<QListView*>(QStringLiteral("searchResults"));
    ASSERT_TRUE(field != nullptr && results != nullptr);
    field->setText(QStringLiteral("evening"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return results->model()->rowCount() == 1; }, kWaitMs));
    EXPECT_FALSE(ShowsRecordMark(results->viewport()));
    EXPECT_EQ(ChooseFromMenu(results, QStringLiteral("Record")), QStringList({"Record", "Record series..."}));
    EXPECT_EQ(RuleAt(planner, now - kHour), int(RuleKind::Once));
    EXPECT_TRUE(ShowsRecordMark(results->viewport()));
    EXPECT_EQ(ChooseFromMenu(results, QStringLiteral("Do not record")),
              QStringList({"Do not record", "Record series..."}));
    EXPECT_EQ(RuleAt(planner, now - kHour), -1);
    EXPECT_FALSE(ShowsRecordMark(results->viewport()));

    // The described channel's next: its series, on that channel only.
    auto* description = channels.findChild<QPlainTextEdit*>(QStringLiteral("description"));
    ASSERT_NE(description, nullptr);
    {
        const NextModalDialog accepted([](QWidget* dialog) {
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        const QStringList items = ChooseFromMenu(description, QStringLiteral("Record the series \"Late film\"..."));
        EXPECT_TRUE(items.contains(QStringLiteral("Remind me of \"Late film\"")) && items.contains("Record \"Late film\""))
            << items.join('|').toStdString();
    }
    EXPECT_EQ(RuleAt(planner, now + kHour), int(RuleKind::Series));
    EXPECT_TRUE(ChooseFromMenu(description, QStringLiteral("no such item")).contains("Stop recording the series \"Late film\""));

    // Ctrl+Shift+R reaches the recordings window from the guide window too.
    app->Actions().Run(ID_GUIDE);
    GuideWindow* guide = app->Library().GuideView();
    ASSERT_NE(guide, nullptr);
    EXPECT_FALSE(app->RecordingsView().isVisible());
    QTest::keyClick(guide->Grid(), Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(app->RecordingsView().isVisible());
    EXPECT_TRUE(boxes.Boxes().empty());
}
