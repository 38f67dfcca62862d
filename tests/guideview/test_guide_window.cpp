// The guide window walked by keyboard over a small stored guide.
#include "BuiltinTexts.h"
#include "GuideGrid.h"
#include "GuideStore.h"
#include "GuideTestSupport.h"
#include "GuideWindow.h"
#include "GuideWording.h"
#include "LanguageStrings.h"
#include "ProgrammeSearch.h"
#include "ReaderTexts.h"
#include "TempDir.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr qint64 kHalfHour = 1800;

QByteArray Stamp(qint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() +
           " +0000";
}

QByteArray Programme(const char* channel, qint64 start, qint64 stop, const char* title)
{
    return "<programme start=\"" + Stamp(start) + "\" stop=\"" + Stamp(stop) + "\" channel=\"" + channel +
           "\"><title>" + title + "</title></programme>\n";
}

class GuideWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // a: four half hours from start; b: one programme of two hours; c: nothing; o: one
        // programme from start with no stop and none after it.
        QByteArray xml = "<tv><channel id=\"a\"><display-name>A</display-name></channel>"
                         "<channel id=\"b\"><display-name>B</display-name></channel>\n"
                         "<programme start=\"" + Stamp(start) + "\" channel=\"o\"><title>O1</title></programme>\n";
        for (int k = 0; k < 4; ++k)
            xml += Programme("a", start + k * kHalfHour, start + (k + 1) * kHalfHour, ("A" + std::to_string(k + 1)).c_str());
        xml += Programme("b", start, start + 4 * kHalfHour, "B1") + "</tv>";
        const QString file = dir.FilePath(QStringLiteral("guide.xml"));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(xml);
        out.close();
        const QString database = dir.FilePath(QStringLiteral("guide.sqlite"));
        const GuideMatcher wants({{"a", "a", {}, "A", 0}, {"b", "b", {}, "B", 0}, {"o", "o", {}, "O", 0}}, {});
        ASSERT_EQ(ImportGuide(database, file, file, wants, now).problem, GuideProblem::None);
        ASSERT_TRUE(store.Open(database));
        for (const GuideChannelInfo& channel : store.Channels())
            numbers[channel.id] = channel.number;
        texts[Guide] = BuiltinTexts(Guide);
    }

    TempDir dir;
    const qint64 start = QDateTime::currentSecsSinceEpoch() / kHalfHour * kHalfHour - kHalfHour;
    const qint64 now = start + kHalfHour + kHalfHour / 2; // in A2
    GuideStore store;
    std::map<QString, qint64> numbers;
    LanguageStrings texts;
};

TEST_F(GuideWindowTest, KeysWalkProgrammesAndChannelsAndEnterAsksToPlay)
{
    const std::vector<GuideRow> rows = {{{1}, "A"}, {{2}, "B"}, {{3}, "C"}};
    const QString ids[] = {"a", "b", "c"};
    GuideWindow window(nullptr, texts, store,
                       [&](const ChannelKey& key) { return GuideLink{numbers[ids[key.id - 1]], 0}; },
                       [&] { return now; });
    window.SetLists({{"All", rows}}, 0, 0);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    GuideGrid* grid = window.Grid();
    const auto* details = window.findChild<QPlainTextEdit*>();

    struct Step {
        Qt::Key key;
        int row;
        const char* title; // empty: no programme there
    };
    const Step steps[] = {
        {Qt::Key_unknown, 0, "A2"}, // opens on now
        {Qt::Key_Right, 0, "A3"},   {Qt::Key_Right, 0, "A4"}, {Qt::Key_Left, 0, "A3"},
        {Qt::Key_Down, 1, "B1"},    {Qt::Key_Down, 2, ""},    {Qt::Key_Down, 2, ""},
        {Qt::Key_Up, 1, "B1"},      {Qt::Key_Up, 0, "A3"},    {Qt::Key_PageDown, 2, ""},
        {Qt::Key_PageUp, 0, "A3"},  {Qt::Key_Home, 0, "A2"},  {Qt::Key_Left, 0, "A1"},
    };
    for (const Step& step : steps) {
        if (step.key != Qt::Key_unknown)
            QTest::keyClick(grid, step.key);
        EXPECT_EQ(grid->SelectedRow(), step.row) << step.title;
        const std::optional<GuideProgramme> programme = grid->SelectedProgramme();
        EXPECT_EQ(programme ? programme->title : QString(), QString::fromLatin1(step.title)) << step.key;
        EXPECT_TRUE(details->toPlainText().startsWith(programme ? programme->title : QStringLiteral("C")));
    }

    QSignalSpy play(&window, &GuideWindow::PlayProgramme);
    QTest::keyClick(grid, Qt::Key_Return);
    ASSERT_EQ(play.count(), 1);
    EXPECT_EQ(play[0][0].value<ChannelKey>(), ChannelKey{1});
    EXPECT_EQ(play[0][1].toLongLong(), start);
    EXPECT_EQ(play[0][2].toLongLong(), start + kHalfHour);

    // R asks for a reminder of a programme to come alone.
    QSignalSpy remind(&window, &GuideWindow::RemindProgramme);
    QTest::keyClick(grid, Qt::Key_R); // A1, gone by
    QTest::keyClick(grid, Qt::Key_Right);
    QTest::keyClick(grid, Qt::Key_R); // A2, on now
    EXPECT_EQ(remind.count(), 0);
    QTest::keyClick(grid, Qt::Key_Right);
    QTest::keyClick(grid, Qt::Key_R);
    ASSERT_EQ(remind.count(), 1);
    EXPECT_EQ(remind[0][0].value<ChannelKey>(), ChannelKey{1});
    EXPECT_EQ(remind[0][1].toString(), QStringLiteral("A"));
    EXPECT_EQ(remind[0][2].value<GuideProgramme>().title, QStringLiteral("A3"));
}

TEST_F(GuideWindowTest, AProgrammeOfNoKnownEndIsOnWithoutAnEndOrAShareGone)
{
    texts[Readers] = BuiltinTexts(Readers);
    const GuideLink open{numbers["o"], 0};
    const QString from = GuideTimeText(start) + QChar(0x2013);
    EXPECT_EQ(GuideOnAirText(texts, store.NowAndNext(open, now), now), "Now: O1 (" + from + ")\n\n");

    GuideWindow window(nullptr, texts, store, [&](const ChannelKey&) { return open; }, [&] { return now; });
    window.SetLists({{"All", {{{1}, "O"}}}}, 0, 0);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const std::optional<GuideProgramme> programme = window.Grid()->SelectedProgramme();
    ASSERT_TRUE(programme);
    EXPECT_EQ(programme->title, QStringLiteral("O1"));
    EXPECT_TRUE(window.findChild<QPlainTextEdit*>()->toPlainText().section(QLatin1Char('\n'), 1, 1).endsWith(from));
}

TEST_F(GuideWindowTest, ProgrammeSearchAnswersTheLastQueryWithTheChannelsEntries)
{
    GuideMatcher matcher({{"a", "a", {}, "A", 0}, {"b", "b", {}, "B", 0}}, {});
    matcher.SetGuideChannels(store.Channels());
    ProgrammeSearch search;
    search.SetChannels({{"a", "a", {}, "A", 0}, {"c", "c", {}, "C", 0}, {"b", "b", {}, "B", 0}}, matcher,
                       dir.FilePath(QStringLiteral("guide.sqlite")));
    QSignalSpy found(&search, &ProgrammeSearch::Found);
    search.Find(QStringLiteral("B"));  // too short to look for
    search.Find(QStringLiteral("a2")); // typed over at once
    search.Find(QStringLiteral("a3"));
    ASSERT_TRUE(found.wait());
    search.Find(QStringLiteral("b1"));
    ASSERT_TRUE(found.wait());
    ASSERT_EQ(found.count(), 2);
    const struct {
        const char* query;
        int entry;
        bool now;
    } expected[] = {{"a3", 0, false}, {"b1", 2, true}};
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(found[k][0].toString(), QString::fromLatin1(expected[k].query));
        const auto hits = found[k][1].value<std::vector<GuideHit>>();
        ASSERT_EQ(hits.size(), 1u) << expected[k].query;
        EXPECT_EQ(hits[0].link, expected[k].entry);
        EXPECT_EQ(hits[0].now, expected[k].now);
    }
}

} // namespace

namespace {

TEST(GuideOnAir, NowWithHowFarAlongThenNextElseNothing)
{
    LanguageStrings texts;
    texts[Guide] = BuiltinTexts(Guide);
    const qint64 start = QDateTime(QDate(2026, 12, 8), QTime(20, 0)).toSecsSinceEpoch();
    const GuideProgramme news{start, start + 2 * kHalfHour, true, "News", {}, {}, {}, {}, {}};
    const GuideProgramme film{start + 2 * kHalfHour, 0, false, "Film", {}, {}, {}, {}, {}};
    const struct {
        GuideNowNext onAir;
        QString text;
    } cases[] = {
        {{news, film}, QString::fromUtf8("Now: News (20:00–21:00, 25%)\nNext: Film (21:00–)\n\n")},
        {{news, std::nullopt}, QString::fromUtf8("Now: News (20:00–21:00, 25%)\n\n")},
        {{std::nullopt, film}, QString::fromUtf8("Next: Film (21:00–)\n\n")},
        {{}, QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GuideOnAirText(texts, c.onAir, start + kHalfHour / 2), c.text);
}

TEST(GuideReason, AGuideOfOtherDaysNamesTheDaysItHoldsAndThoseKept)
{
    LanguageStrings texts;
    texts[Readers] = BuiltinTexts(Readers);
    texts[Locale] = BuiltinTexts(Locale);
    const auto at = [](int month, int day) { return QDateTime(QDate(2026, month, day), QTime(12, 0)).toSecsSinceEpoch(); };
    const QString detail = QStringLiteral("%1 %2 %3 %4").arg(at(8, 22)).arg(at(8, 25)).arg(at(12, 2)).arg(at(12, 23));
    EXPECT_EQ(GuideReasonText(texts, GuideProblem::OutsideDays, detail),
              QStringLiteral("No programme was kept: its programmes run from 22 Aug to 25 Aug 2026; Korvanta keeps from "
                             "2 Dec to 23 Dec."));
}

} // namespace
