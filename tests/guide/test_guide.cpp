// The programme guide's engine: the stream zoo's guides read into a store made here,
// matching the viewer's channels, and imports that are cancelled or killed half way.

#include "GuideChoicesFile.h"
#include "GuideDatabase.h"
#include "GuideImporter.h"
#include "GuideMatcher.h"
#include "GuideOrderFile.h"
#include "GuideStore.h"
#include "GuideTestSupport.h"
#include "GuideZooTest.h"
#include "TempDir.h"
#include "XmltvReader.h"
#include "XmltvTime.h"

#include <QDateTime>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTimeZone>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

constexpr int kImportMs = 60000;
constexpr int kBigChannels = 200;
constexpr int kBigProgrammes = 40000;

std::vector<GuideViewerChannel> ViewerChannels()
{
    return {{QStringLiteral("one"), QStringLiteral("ONE.example"), {}, QStringLiteral("One")},
            {QStringLiteral("two"), QStringLiteral("two.example"), {}, QStringLiteral("Two")}};
}

class GuideTest : public GuideZooTest
{
protected:
    TempDir dir;
    GuideMatcher matcher{ViewerChannels(), {}};

    QString Database() const { return dir.FilePath(QStringLiteral("cache/Korvanta/guide.sqlite")); }

    QString Fetch(const QString& name) const
    {
        const QByteArray body = zoo->Get(GuidePath(name));
        dir.WriteFile(name, body);
        return dir.FilePath(name);
    }

    GuideImportResult Import(const QString& name) const
    {
        return ImportGuide(Database(), QStringLiteral("guide"), Fetch(name), matcher, Start());
    }

    GuideNowNext NowNext(qint64 at, const QString& key = QStringLiteral("one"), qint64 shift = 0) const
    {
        GuideStore store;
        EXPECT_TRUE(store.Open(Database()));
        GuideMatcher found = matcher;
        found.SetGuideChannels(store.Channels());
        for (GuideViewerChannel channel : ViewerChannels()) {
            channel.shiftSeconds = shift;
            if (channel.key == key)
                return store.NowAndNext(found.Find(channel), at);
        }
        return {};
    }

    // A large plain guide of channels ch00000.example..., made once per run.
    static QString BigGuide()
    {
        static TempDir folder;
        const QString path = folder.FilePath(QStringLiteral("big.xml.gz"));
        if (!QFileInfo::exists(path)) {
            QProcess::execute(QStringLiteral(PYTHON_EXECUTABLE),
                              {QStringLiteral(KORVANTA_GUIDE_GENERATOR), QStringLiteral("big"), path,
                               QString::number(Start()), QStringLiteral("--channels"), QString::number(kBigChannels),
                               QStringLiteral("--programmes"), QString::number(kBigProgrammes)});
        }
        return path;
    }
    static QStringList BigGuideIds()
    {
        QStringList ids;
        for (int i = 0; i < kBigChannels; ++i)
            ids.append(QStringLiteral("ch%1.example").arg(i, 5, 10, QLatin1Char('0')));
        return ids;
    }
};

// A guide of one channel, x.example; a programme as title, start and stop in minutes from
// base, -1: no stop.
using Listed = std::tuple<const char*, int, int>;
QByteArray GuideXml(qint64 base, std::initializer_list<Listed> programmes)
{
    const auto stamp = [&](int minutes) {
        return QDateTime::fromSecsSinceEpoch(base + minutes * kMinute, QTimeZone::utc())
                   .toString(QStringLiteral("yyyyMMddHHmmss"))
                   .toLatin1()
               + " +0000";
    };
    QByteArray xml = "<tv><channel id=\"x.example\"><display-name>X</display-name></channel>\n";
    for (const auto& [title, from, to] : programmes) {
        xml += "<programme start=\"" + stamp(from) + (to < 0 ? QByteArray() : "\" stop=\"" + stamp(to))
               + "\" channel=\"x.example\"><title>" + title + "</title></programme>\n";
    }
    return xml + "</tv>\n";
}

} // namespace

TEST_F(GuideTest, ReadsWhatRealGuidesDoAndRefusesWhatIsNoGuide)
{
    struct Case {
        const char* name;
        GuideProblem problem;
        bool stored;
        int programmes, channels;
        qint64 atMinutes;     // when now and next are asked for
        const char* now;      // the title on channel one then; a refused guide leaves plain.xml's
        const char* next;
        bool nowEndsAtNext;
        int line = 0;         // where a damaged guide is damaged, counted in the file as written
        int unknownZones = 0; // programmes read as UTC for a zone name not known
    };
    const Case cases[] = {
        {"plain.xml", GuideProblem::None, true, 8, 3, 15, "One 1", "One 2", true},
        {"gzip.xml.gz", GuideProblem::None, true, 8, 3, 15, "One 1", "One 2", true},
        {"double.xml.gz", GuideProblem::None, true, 8, 3, 45, "One 2", "One 3", true},
        {"truncated.xml.gz", GuideProblem::Truncated, true, 5, 3, 45, "One 2", "One 3", true},
        {"early.xml", GuideProblem::None, true, 8, 3, 45, "One 2", "One 3", true},
        {"zones.xml", GuideProblem::None, true, 8, 3, 45, "One 2", "One 3", true},
        {"nostop.xml", GuideProblem::None, true, 8, 3, 45, "One 2", "One 3", true},
        {"overlap.xml", GuideProblem::None, true, 8, 3, 25, "One 2", "One 3", false},
        {"unknown.xml", GuideProblem::None, true, 8, 4, 95, "One 4", nullptr, true},
        {"bigdesc.xml", GuideProblem::None, true, 8, 3, 15, "One 1", "One 2", true},
        {"named.xml", GuideProblem::None, true, 8, 3, 45, "One 2", "One 3", true, 0, 4},
        {"late.xml", GuideProblem::Damaged, true, 8, 3, 15, "One 1", "One 2", true, 15001},
        {"bomb.xml", GuideProblem::Entities, false, 0, 0, 15, "One 1", "One 2", true},
        {"external.xml", GuideProblem::Entities, false, 0, 0, 15, "One 1", "One 2", true},
        {"page.html", GuideProblem::WebPage, false, 0, 0, 15, "One 1", "One 2", true},
        {"other.xml", GuideProblem::NotGuide, false, 0, 0, 15, "One 1", "One 2", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(Database());
        ASSERT_TRUE(Import(QStringLiteral("plain.xml")).stored);
        const GuideImportResult result = Import(QString::fromLatin1(c.name));
        EXPECT_EQ(result.problem, c.problem);
        EXPECT_EQ(result.stored, c.stored);
        EXPECT_EQ(result.programmes, c.programmes);
        EXPECT_EQ(result.channels, c.channels);
        EXPECT_EQ(result.line, c.line);
        EXPECT_EQ(result.unknownZones, c.unknownZones);

        const GuideNowNext found = NowNext(Start() + c.atMinutes * kMinute);
        ASSERT_TRUE(found.now);
        EXPECT_EQ(found.now->title.toStdString(), c.now);
        EXPECT_EQ(found.now->subTitle, QStringLiteral("Part of ") + found.now->title);
        EXPECT_EQ(found.now->category, QStringLiteral("News"));
        EXPECT_EQ(found.now->episode, QStringLiteral("S1 E") + found.now->title.back());
        EXPECT_LE(found.now->description.size(), qsizetype(XmltvReader::kMaxDescriptionBytes));
        EXPECT_EQ(found.next.has_value(), c.next != nullptr);
        if (found.next) {
            EXPECT_EQ(found.next->title.toStdString(), c.next);
            EXPECT_EQ(found.now->hasStop && found.now->stop == found.next->start, c.nowEndsAtNext);
        }
    }
}

TEST_F(GuideTest, ReadsTheSameWhereverTheBytesAreSplit)
{
    // What the reader hands on, in order: channel ids and programme titles.
    struct Collector : XmltvSink {
        std::vector<std::string> seen;
        void Channel(XmltvChannel& channel) override { seen.push_back(channel.id); }
        bool WantsProgrammesOf(const std::string& channel) override { return channel != "three.example"; }
        void Programme(XmltvProgramme& programme) override { seen.push_back(programme.title); }
    };
    const auto read = [](const QByteArray& bytes, qsizetype piece) {
        Collector sink;
        XmltvReader reader(sink, "en");
        for (qsizetype at = 0; at < bytes.size(); at += piece)
            reader.Feed(bytes.constData() + at, std::min(piece, bytes.size() - at));
        reader.Finish();
        EXPECT_EQ(reader.Problem(), XmltvProblem::None);
        return sink.seen;
    };
    for (const char* name : {"plain.xml", "early.xml", "unknown.xml"}) {
        const QByteArray bytes = zoo->Get(GuidePath(QLatin1String(name)));
        const std::vector<std::string> whole = read(bytes, bytes.size());
        const std::size_t ghost = std::string(name) == "unknown.xml" ? 1 : 0; // a programme of an undeclared channel
        EXPECT_EQ(whole.size(), 3 + 8 + ghost) << name;
        for (qsizetype piece : {1, 7, 64})
            EXPECT_EQ(read(bytes, piece), whole) << name << " in pieces of " << piece;
    }
}

TEST(XmltvTimeTest, ZonesByOffsetOrByName)
{
    const struct {
        const char* zone;
        qint64 offset; // from UTC
        bool known;
    } cases[] = {
        {" +0100", kHour, true},  {" -05:30", -5 * kHour - 30 * kMinute, true}, {" BST", kHour, true},
        {" ist", kHour, true},    {"Z", 0, true},           {" EST", -5 * kHour, true},
        {" AEDT", 11 * kHour, true}, {" GMT+0200", 2 * kHour, true}, {" XYZ", 0, false},
    };
    qint64 utc = 0;
    ASSERT_TRUE(ParseXmltvTime("20260801120000", utc));
    for (const auto& c : cases) {
        qint64 read = 0;
        bool unknown = false;
        EXPECT_TRUE(ParseXmltvTime(("20260801120000" + std::string(c.zone)).c_str(), read, &unknown)) << c.zone;
        EXPECT_EQ(utc - read, c.offset) << c.zone;
        EXPECT_EQ(unknown, !c.known) << c.zone;
    }
}

TEST(GuideMatcherTest, MatchesEachGuideByIdThenNameAndKeepsTheViewersChoice)
{
    const auto guide = [](qint64 number, const char* source, const char* id, QStringList names) {
        return GuideChannelInfo{number, QString::fromLatin1(source), QString::fromLatin1(id), names, {}};
    };
    const std::vector<GuideChannelInfo> channels = {
        guide(1, "g1", "one.example", {QStringLiteral("Channel One HD"), QStringLiteral("Channel One")}),
        guide(2, "g1", "news24.example", {QStringLiteral("News 24 FHD")}),
        guide(3, "g1", "sport.example", {QString::fromUtf8("Sport Éxtra")}),
        guide(4, "g1", "movies.example", {QStringLiteral("Movies")}),
        guide(5, "g2", "One.Example", {QStringLiteral("Other")}),
        guide(6, "g2", "alt.example", {QStringLiteral("Alt")}),
        guide(7, "g2", "TG4.ie", {QStringLiteral("TG4")}),
    };
    struct Case {
        const char* what;
        GuideViewerChannel channel;
        std::vector<qint64> expected; // the guide channels linked, the first guide's first
    };
    const Case cases[] = {
        {"id, case ignored, every guide in order", {"a", "ONE.EXAMPLE", {}, "Whatever"}, {1, 5}},
        {"id without its feed", {"a", "TG4.ie@SD", {}, "Whatever"}, {7}},
        {"each guide by its best match", {"a", "TG4.ie@HD", {}, "Movies"}, {4, 7}},
        {"name folded", {"a", {}, {}, "sport extra"}, {3}},
        {"quality words on both sides", {"a", {}, {}, "News 24 HD"}, {2}},
        {"marks in brackets", {"a", {}, {}, "Movies (1080p)"}, {4}},
        {"marks in several brackets", {"a", {}, {}, "News 24 (720p) [Geo-blocked]"}, {2}},
        {"a quality in square brackets", {"a", {}, {}, "Sport Extra [HD]"}, {3}},
        {"a place in brackets is part of the name", {"a", {}, {}, "Movies (East)"}, {}},
        {"tvg-name before the name", {"a", {}, "Channel One 4K", "Something"}, {1}},
        {"only a quality word", {"a", {}, {}, "HD"}, {}},
        {"nothing alike", {"a", "none.example", {}, "Unknown"}, {}},
        {"the viewer's choice first", {"chosen", "one.example", {}, {}}, {6}},
        {"a choice of a guide gone", {"gone", {}, {}, "Movies"}, {4}},
    };
    const auto linked = [](const GuideLink& link) {
        std::vector<qint64> numbers;
        if (link.IsValid())
            numbers.push_back(link.channel);
        for (const GuideLinkedChannel& later : link.later)
            numbers.push_back(later.channel);
        return numbers;
    };
    GuideChoices choices = {{QStringLiteral("chosen"), {QStringLiteral("g2"), QStringLiteral("alt.example")}},
                            {QStringLiteral("gone"), {QStringLiteral("g9"), QStringLiteral("x")}}};
    std::vector<GuideViewerChannel> viewer;
    for (const Case& c : cases)
        viewer.push_back(c.channel);
    GuideMatcher matcher(viewer, choices);
    matcher.SetGuideChannels(channels);
    for (const Case& c : cases)
        EXPECT_EQ(linked(matcher.Find(c.channel)), c.expected) << c.what;
    EXPECT_TRUE(matcher.Wants(QStringLiteral("g2"), QStringLiteral("TG4.ie"), {}));

    // The guides in the viewer's order, not the store's.
    GuideMatcher reordered(viewer, choices);
    reordered.SetGuideChannels(channels, {QStringLiteral("g2"), QStringLiteral("g1")});
    EXPECT_EQ(linked(reordered.Find(cases[0].channel)), (std::vector<qint64>{5, 1}));

    EXPECT_TRUE(matcher.Wants(QStringLiteral("g1"), QStringLiteral("one.example"), {}));
    EXPECT_TRUE(matcher.Wants(QStringLiteral("g1"), QStringLiteral("x"), {QStringLiteral("NEWS-24 uhd")}));
    EXPECT_TRUE(matcher.Wants(QStringLiteral("g2"), QStringLiteral("alt.example"), {}));
    EXPECT_FALSE(matcher.Wants(QStringLiteral("g1"), QStringLiteral("alt.example"), {QStringLiteral("Alt")}));

    // Offsets: the channel's own (tvg-shift) plus the global one, which stays within 12 h.
    GuideViewerChannel shifted{"s", {}, {}, "Movies", 2 * kHour};
    matcher.SetGlobalOffset(kHour);
    EXPECT_EQ(matcher.Find(shifted), (GuideLink{4, 3 * kHour}));
    matcher.SetGlobalOffset(-20 * kHour);
    EXPECT_EQ(matcher.Find(shifted).shiftSeconds, -10 * kHour);

    // The choices survive a restart in their file; a damaged file gives none.
    TempDir dir;
    const QString path = dir.FilePath(QStringLiteral("GuideChoices.xml"));
    ASSERT_TRUE(SaveGuideChoices(path, choices));
    EXPECT_EQ(LoadGuideChoices(path), choices);
    EXPECT_TRUE(dir.ReadFile(QStringLiteral("GuideChoices.xml")).contains("\r\n"));
    dir.WriteFile(QStringLiteral("GuideChoices.xml"), "<GuideChoices><Choice");
    EXPECT_TRUE(LoadGuideChoices(path).empty());
}

TEST(GuideStoreTest, TwoGuidesReadAsOneInTheGuideWindowAndInNowAndNextAlike)
{
    const qint64 base = QDateTime::currentSecsSinceEpoch() / kHour * kHour;
    const auto guide = [&](std::initializer_list<Listed> programmes) { return GuideXml(base, programmes); };
    const auto described = [&](const GuideProgramme& p) {
        return QStringLiteral("%1 %2-%3").arg(p.title).arg((p.start - base) / kMinute).arg(p.hasStop ? (p.stop - base) / kMinute : -1);
    };
    TempDir dir;
    dir.WriteFile(QStringLiteral("a.xml"), guide({{"A1", 0, 60}, {"A2", 65, 70}, {"A3", 140, -1}}));
    dir.WriteFile(QStringLiteral("b.xml"), guide({{"B1", 30, 100}, {"B2", 100, 150}, {"B3", 180, 240}}));
    const QString database = dir.FilePath(QStringLiteral("guide.sqlite"));
    const GuideViewerChannel viewer{"x", "x.example", {}, "X"};
    GuideMatcher matcher({viewer}, {});
    for (const char* source : {"b", "a"}) // the viewer's order counts, not the store's
        ASSERT_TRUE(ImportGuide(database, QLatin1String(source), dir.FilePath(source + QStringLiteral(".xml")), matcher, base).stored);
    GuideStore store;
    ASSERT_TRUE(store.Open(database));
    matcher.SetGuideChannels(store.Channels(), {QStringLiteral("a"), QStringLiteral("b")});
    const GuideLink link = matcher.Find(viewer);

    // Guide a's five minutes without a programme stay so; B1 where it has none for over
    // an hour, B2 until A3 begins, A3 (no stop) until B3 does.
    QStringList window;
    for (const GuideProgramme& programme : store.Range(link, base, base + 5 * kHour))
        window.append(described(programme));
    EXPECT_EQ(window, QStringList({"A1 0-60", "A2 65-70", "B1 70-100", "B2 100-140", "A3 140-180", "B3 180-240"}));
    const struct {
        int at;
        const char* now;
        const char* next;
    } moments[] = {{10, "A1 0-60", "A2 65-70"}, {62, "", "A2 65-70"}, {75, "B1 70-100", "B2 100-140"},
                   {150, "A3 140-180", "B3 180-240"}, {250, "", ""}};
    for (const auto& moment : moments) {
        const GuideNowNext onAir = store.NowAndNext(link, base + moment.at * kMinute);
        EXPECT_EQ(onAir.now ? described(*onAir.now) : QString(), QLatin1String(moment.now)) << moment.at;
        EXPECT_EQ(onAir.next ? described(*onAir.next) : QString(), QLatin1String(moment.next)) << moment.at;
    }
}

TEST(GuideStoreTest, ThreeGuidesInTheViewersOrderAsATableOfWhichProgrammeWins)
{
    const qint64 base = QDateTime::currentSecsSinceEpoch() / kHour * kHour;
    TempDir dir;
    // g1 pauses 30 minutes at 120 and 100 at 200, and ends at 360; g2 ends at 420.
    const std::pair<const char*, QByteArray> guides[] = {
        {"g1", GuideXml(base, {{"P1", 0, 60}, {"P2", 60, 120}, {"P3", 150, 200}, {"P4", 300, 360}})},
        {"g2", GuideXml(base, {{"Q1", 100, 160}, {"Q2", 200, 300}, {"Q3", 360, 420}})},
        {"g3", GuideXml(base, {{"R1", 0, 30}, {"R2", 420, 480}})},
    };
    const QString database = dir.FilePath(QStringLiteral("guide.sqlite"));
    const GuideViewerChannel viewer{"x", "x.example", {}, "X"};
    for (const auto& [source, xml] : guides) {
        dir.WriteFile(QLatin1String(source), xml);
        ASSERT_TRUE(ImportGuide(database, QLatin1String(source), dir.FilePath(QLatin1String(source)),
                                GuideMatcher({viewer}, {}), base).stored);
    }
    GuideStore store;
    ASSERT_TRUE(store.Open(database));
    const QStringList inOrder = {"g1", "g2", "g3"};
    const std::map<QString, GuideSetting> none;
    const std::map<QString, GuideSetting> firstOff = {{"g1", {true, 0, 0}}};
    const std::map<QString, GuideSetting> secondLater = {{"g2", {false, 30 * kMinute, 0}}};
    const GuideChoices chosen = {{"x", {"g3", "x.example"}}};
    struct Case {
        const char* what;
        QStringList order;
        const std::map<QString, GuideSetting>& settings;
        GuideChoices choices;
        int at;          // minutes from base
        const char* now; // the title on then, "" for none
    };
    const Case cases[] = {
        {"the first guide wins an overlap", inOrder, none, {}, 110, "P2"},
        {"nor does a later guide fill the first's own time", inOrder, none, {}, 15, "P1"},
        {"a pause under an hour stays", inOrder, none, {}, 135, ""},
        {"a pause of an hour or more is filled", inOrder, none, {}, 250, "Q2"},
        {"after the first guide ends, the second", inOrder, none, {}, 400, "Q3"},
        {"after both, the third", inOrder, none, {}, 450, "R2"},
        {"the viewer's order: the second first", {"g2", "g1", "g3"}, none, {}, 110, "Q1"},
        {"the second first, its own short pause stays", {"g2", "g1", "g3"}, none, {}, 170, ""},
        {"the second first fills its long pause with the first", {"g2", "g1", "g3"}, none, {}, 30, "P1"},
        {"a guide off gives nothing", inOrder, firstOff, {}, 110, "Q1"},
        {"a guide off: the next fills all its time", inOrder, firstOff, {}, 15, "R1"},
        {"a correction moves a guide's times", inOrder, secondLater, {}, 250, "Q2"},
        {"a correction: its programme not yet begun", inOrder, secondLater, {}, 215, ""},
        {"the viewer's choice wins over every match", inOrder, none, chosen, 110, ""},
        {"the viewer's choice shows its own programmes", inOrder, none, chosen, 450, "R2"},
        {"a choice of a guide off is not followed", inOrder, {{"g3", {true, 0, 0}}}, chosen, 110, "P2"},
    };
    for (const Case& c : cases) {
        GuideMatcher matcher({viewer}, c.choices);
        matcher.SetGuideChannels(store.Channels(), c.order, c.settings);
        const GuideLink link = matcher.Find(viewer);
        const qint64 at = base + c.at * kMinute;
        const GuideNowNext onAir = store.NowAndNext(link, at);
        EXPECT_EQ(onAir.now ? onAir.now->title : QString(), QLatin1String(c.now)) << c.what;
        // The guide window shows the same as now and next.
        QString shown;
        for (const GuideProgramme& programme : store.Range(link, base - kHour, base + 9 * kHour)) {
            if (programme.start <= at && at < programme.RunsUntil())
                shown = programme.title;
        }
        EXPECT_EQ(shown, QLatin1String(c.now)) << c.what;
    }
    // With a correction, the corrected times; the next after the pause that is not filled.
    GuideMatcher corrected({viewer}, {});
    corrected.SetGuideChannels(store.Channels(), inOrder, secondLater);
    const GuideNowNext later = store.NowAndNext(corrected.Find(viewer), base + 215 * kMinute);
    ASSERT_TRUE(later.next);
    EXPECT_EQ(later.next->start, base + 230 * kMinute);
    const GuideNowNext paused = store.NowAndNext(corrected.Find(viewer), base + 135 * kMinute);
    ASSERT_TRUE(paused.next);
    EXPECT_EQ(paused.next->title, QStringLiteral("P3"));

    // The order and the settings survive a restart in their file, which holds only what differs.
    const GuideArrangement order{{"g2", "g1"}, {{"g1", {true, -90 * kMinute, 24}}}};
    const QString path = dir.FilePath(QStringLiteral("GuideOrder.xml"));
    ASSERT_TRUE(SaveGuideOrder(path, order));
    EXPECT_EQ(LoadGuideOrder(path), order);
    EXPECT_FALSE(dir.ReadFile(QStringLiteral("GuideOrder.xml")).contains("\"0\""));
    dir.WriteFile(QStringLiteral("GuideOrder.xml"), "<GuideOrder><Guide source=\"g\" correctionMinutes=\"9999\"/></GuideOrder>");
    EXPECT_EQ(LoadGuideOrder(path), (GuideArrangement{{"g"}, {}}));
}

TEST(GuideStoreTest, NowAndNextOfThreeGuidesAreWhatTheirMergedRangeShowsAtEveryMoment)
{
    // Random guides with pauses long and short, overlapping programmes and last ones
    // without an end, the second corrected: now and next at a moment are read apart from
    // the range, which merges whole guides.
    constexpr int kChannels = 24, kProgrammes = 30, kStepMinutes = 7;
    const qint64 base = QDateTime::currentSecsSinceEpoch() / kHour * kHour;
    TempDir dir;
    const QString path = dir.FilePath(QStringLiteral("guide.sqlite"));
    std::vector<GuideViewerChannel> viewers;
    {
        GuideDatabase database;
        ASSERT_TRUE(database.Open(path));
        GuideDatabase::Statement guide(database, "INSERT INTO guides(source, imported, problem) VALUES(?1, ?2, 0)");
        GuideDatabase::Statement channel(database, "INSERT INTO channels(guide, id, names, icon) VALUES(?1, ?2, '', '')");
        GuideDatabase::Statement programme(database, "INSERT INTO programmes VALUES(?1, ?2, ?3, ?4, '', '', '', '', '')");
        QRandomGenerator random(11);
        for (int g = 1; g <= 3; ++g) {
            guide.Bind(1, QStringLiteral("g%1").arg(g)).Bind(2, base).Run();
            for (int c = 0; c < kChannels; ++c) {
                const QString id = QStringLiteral("c%1.example").arg(c);
                if (g == 1)
                    viewers.push_back({id, id, {}, id});
                channel.Bind(1, qint64(g)).Bind(2, id).Run();
                const qint64 cid = (g - 1) * kChannels + c + 1;
                qint64 at = base + random.bounded(120) * kMinute;
                for (int n = 0; n < kProgrammes; ++n) {
                    const qint64 length = (20 + random.bounded(100)) * kMinute;
                    programme.Bind(1, cid).Bind(2, at).Bind(4, QStringLiteral("g%1 %2").arg(g).arg(n));
                    if (n + 1 < kProgrammes || random.bounded(3) != 0)
                        programme.Bind(3, at + length);
                    else
                        programme.BindNull(3);
                    ASSERT_TRUE(programme.Run());
                    const int turn = random.bounded(10);
                    at += length + (turn == 0 ? -15 * kMinute : turn < 4 ? random.bounded(150) * kMinute : 0);
                }
            }
        }
    }
    GuideStore store;
    ASSERT_TRUE(store.Open(path));
    GuideMatcher matcher(viewers, {});
    matcher.SetGuideChannels(store.Channels(), {"g1", "g2", "g3"}, {{"g2", {false, 20 * kMinute, 0}}});
    const auto described = [](const std::optional<GuideProgramme>& p) {
        return p ? QStringLiteral("%1 %2-%3").arg(p->title).arg(p->start).arg(p->hasStop ? p->stop : -1) : QString();
    };
    for (const GuideViewerChannel& viewer : viewers) {
        const GuideLink link = matcher.Find(viewer);
        const std::vector<GuideProgramme> shown = store.Range(link, base - kHour, base + 3 * 24 * kHour);
        for (qint64 at = base; at < base + 2 * 24 * kHour; at += kStepMinutes * kMinute) {
            std::optional<GuideProgramme> now, next;
            for (const GuideProgramme& p : shown) {
                if (p.start <= at && at < p.RunsUntil())
                    now = p;
                else if (p.start > at && (!next || next->start == p.start))
                    next = p; // of overlapping ones clipped alike, the one begun last, as for now
            }
            const GuideNowNext onAir = store.NowAndNext(link, at);
            ASSERT_EQ(described(onAir.now).toStdString(), described(now).toStdString()) << viewer.key.toStdString() << " at " << (at - base) / kMinute;
            ASSERT_EQ(described(onAir.next).toStdString(), described(next).toStdString()) << viewer.key.toStdString() << " at " << (at - base) / kMinute;
        }
    }
}

TEST_F(GuideTest, AShiftMovesTheGuidesTimesLater)
{
    ASSERT_TRUE(Import(QStringLiteral("plain.xml")).stored);
    const GuideNowNext shifted = NowNext(Start() + 2 * kHour + 15 * kMinute, QStringLiteral("two"), 2 * kHour);
    ASSERT_TRUE(shifted.now);
    EXPECT_EQ(shifted.now->title, QStringLiteral("Two 1"));
    EXPECT_EQ(shifted.now->start, Start() + 2 * kHour);
}

TEST_F(GuideTest, AKilledImportLeavesThePreviousGuideWhole)
{
    ASSERT_TRUE(Import(QStringLiteral("plain.xml")).stored);
    QProcess helper;
    helper.start(QStringLiteral(KORVANTA_GUIDE_HELPER),
                 QStringList{Database(), QStringLiteral("guide"), BigGuide(), QString::number(Start())} + BigGuideIds());
    ASSERT_TRUE(WaitFor([&] { return helper.canReadLine() || helper.state() == QProcess::NotRunning; }, kImportMs));
    ASSERT_EQ(helper.readLine().trimmed(), QByteArray("halfway"));

    // Half the new guide is written, but not committed: readers still see the old one.
    GuideStore during;
    ASSERT_TRUE(during.Open(Database()));
    EXPECT_EQ(during.Channels().size(), 3u);
    helper.kill();
    helper.waitForFinished();

    EXPECT_EQ(NowNext(Start() + 15 * kMinute).now->title, QStringLiteral("One 1"));
    GuideStore after;
    ASSERT_TRUE(after.Open(Database()));
    EXPECT_EQ(after.Channels().size(), 3u);
    ASSERT_EQ(after.Guides().size(), 1u);
    // And the store takes the next import.
    EXPECT_TRUE(Import(QStringLiteral("gzip.xml.gz")).stored);
}

TEST_F(GuideTest, ImportsOnAWorkerThatCanBeCancelledAndARestartReadsTheStore)
{
    GuideImporter importer(Database());
    QSignalSpy imported(&importer, &GuideImporter::Imported);
    importer.Import({QStringLiteral("guide"), Fetch(QStringLiteral("double.xml.gz")), matcher, "en", Start()});
    ASSERT_TRUE(WaitFor([&] { return imported.size() == 1; }, kImportMs));
    EXPECT_TRUE(imported[0][1].value<GuideImportResult>().stored);

    // Cancelled while it runs: the guide stays as it was.
    std::vector<GuideViewerChannel> big;
    for (const QString& id : BigGuideIds())
        big.push_back({id, id, {}, {}, 0});
    importer.Import({QStringLiteral("guide"), BigGuide(), GuideMatcher(big, {}), "en", Start()});
    importer.Cancel(QStringLiteral("guide"));
    ASSERT_TRUE(WaitFor([&] { return imported.size() == 2; }, kImportMs));
    EXPECT_EQ(imported[1][1].value<GuideImportResult>().problem, GuideProblem::Cancelled);

    // A new store on the same file, as at the next start: no XML is read.
    GuideStore store;
    ASSERT_TRUE(store.Open(Database()));
    GuideMatcher links = matcher;
    links.SetGuideChannels(store.Channels());
    const GuideLink one = links.Find(ViewerChannels()[0]);
    EXPECT_EQ(store.NowAndNext(one, Start() + 15 * kMinute).now->title, QStringLiteral("One 1"));
    EXPECT_EQ(store.Range(one, Start() + 20 * kMinute, Start() + 70 * kMinute).size(), 3u);
    const std::vector<GuideHit> hits = store.FindOnAir({{}, one}, QStringLiteral("ONE"), Start() + 15 * kMinute);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_TRUE(hits[0].now && hits[0].link == 1);
    EXPECT_EQ(hits[1].programme.title, QStringLiteral("One 2"));
    // Only the viewer may read what they watch.
    constexpr int kGroupAndOthers = 0x0077;
    EXPECT_EQ(QFileInfo(Database()).permissions() & kGroupAndOthers, 0);
    EXPECT_EQ(QFileInfo(QFileInfo(Database()).path()).permissions() & kGroupAndOthers, 0);
}
