// Runs the built korvanta-check-streams against loopback stand-ins for stream hosts and
// reads its reports the way a maintainer's script would.

#include "PanelServer.h"
#include "ZooServer.h"
#include "TempDir.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

namespace {

// The checker names what does not play in the status line's words.
constexpr const char* kNotFound = "not found";
constexpr const char* kForbidden = "blocked in your region or forbidden";
constexpr const char* kNoAnswer = "no answer";
constexpr const char* kNotAStream = "not a video stream";
constexpr const char* kTlsFailed = "secure connection failed";

struct Row
{
    int section;
    int position;
    QString url;
};

struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

class CheckStreamsTool : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        server = std::make_unique<ZooServer>();
        ASSERT_TRUE(server->Start()) << server->Error().toStdString();
    }
    static void TearDownTestSuite() { server.reset(); }
    void SetUp() override
    {
        ASSERT_TRUE(server);
        server->Reset();
    }

    QString WriteList(const QList<Row>& rows)
    {
        QByteArray text = "section\tposition\tname\turl\tcountry\tdescription\n";
        for (const Row& row : rows) {
            text += QStringLiteral("%1\t%2\tChannel %1-%2\t%3\tgb\tA channel.\n")
                        .arg(row.section).arg(row.position).arg(row.url).toUtf8();
        }
        dir.WriteFile(QStringLiteral("channels.tsv"), text);
        return dir.FilePath(QStringLiteral("channels.tsv"));
    }

    static void StartTool(QProcess& process, const QStringList& arguments)
    {
        process.start(QStringLiteral(KORVANTA_CHECK_STREAMS), arguments);
        ASSERT_TRUE(process.waitForStarted(10000));
    }

    static ToolRun Finish(QProcess& process)
    {
        ToolRun run;
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
            return run;
        }
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        // Under the sanitizers a fault in the tool shows here, whatever its exit status.
        EXPECT_FALSE(run.err.contains("Sanitizer") || run.err.contains("runtime error"))
            << run.err.toStdString();
        return run;
    }

    static ToolRun RunTool(const QStringList& arguments)
    {
        QProcess process;
        StartTool(process, arguments);
        return Finish(process);
    }

    // The slots of a JSON report by "section/position".
    static QHash<QString, QJsonObject> SlotsOf(const QJsonObject& report)
    {
        QHash<QString, QJsonObject> slotsByKey;
        for (const QJsonValue& value : report[QStringLiteral("slots")].toArray()) {
            const QJsonObject slot = value.toObject();
            slotsByKey.insert(QStringLiteral("%1/%2").arg(slot["section"].toInt()).arg(slot["position"].toInt()), slot);
        }
        return slotsByKey;
    }

    static QJsonObject Json(const ToolRun& run)
    {
        return QJsonDocument::fromJson(run.out).object();
    }

    static int ClosedPort()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        return probe.serverPort(); // closed again when probe goes
    }

    static std::unique_ptr<ZooServer> server;
    TempDir dir;
};

std::unique_ptr<ZooServer> CheckStreamsTool::server;

TEST_F(CheckStreamsTool, ClassifiesEachKindOfAnswer)
{
    const QString closed = QStringLiteral("http://127.0.0.1:%1/live.m3u8").arg(ClosedPort());
    const QList<Row> rows = {
        {1, 0, server->Url("ok.m3u8")},
        {1, 1, server->Url("master.m3u8")},
        {1, 2, server->Url("master-dead.m3u8")},
        {1, 3, server->Url("status/404")},
        {1, 4, server->Url("status/403")},
        {1, 5, server->Url("status/451")},
        {1, 6, server->Url("status/500")},
        {1, 7, server->Url("slow?ms=4000")},
        {1, 8, server->Url("redirect/4")},
        {1, 9, server->Url("loop")},
        {1, 10, server->Url("page.html")},
        {1, 11, closed},
        {4, 0, server->Url("stream.ts")},
        {4, 1, server->Url("octet")},
        {4, 2, server->Url("text-playlist")},
        {4, 3, server->Url("empty")},
        {4, 4, server->Url("endless")},
        {4, 5, server->Url("master-local.m3u8")},
        {4, 6, QStringLiteral("file:///etc/hostname")},
        {15, 7, server->Url("stream.ts")},  // shares a working address
        {21, 18, server->Url("status/404")}, // shares a dead one
    };
    const ToolRun run = RunTool({"--list", WriteList(rows), "--format", "json", "--timeout", "1.5"});
    EXPECT_EQ(1, run.exitCode) << run.err.toStdString();
    const QJsonObject report = Json(run);
    const auto slotsByKey = SlotsOf(report);
    ASSERT_EQ(rows.size(), slotsByKey.size()) << run.out.toStdString();

    const struct
    {
        const char* slot;
        const char* status;
        int httpCode;
    } expected[] = {
        {"1/0", "ok", 200},          {"1/1", "ok", 200},          {"1/2", kNotFound, 200},
        {"1/3", kNotFound, 404},     {"1/4", kForbidden, 403},    {"1/5", kForbidden, 451},
        {"1/6", "server error", 500}, {"1/7", kNoAnswer, 0},      {"1/8", "ok", 200},
        {"1/9", "too many redirects", 302}, {"1/10", kNotAStream, 200}, {"1/11", "connection refused", 0},
        {"4/0", "ok", 200},          {"4/1", "ok", 200},          {"4/2", "ok", 200},
        {"4/3", kNotAStream, 200},   {"4/4", "ok", 200},          {"4/5", kNotAStream, 200},
        {"4/6", "not checked", 0},   {"15/7", "ok", 200},         {"21/18", kNotFound, 404},
    };
    for (const auto& e : expected) {
        const QJsonObject slot = slotsByKey.value(QLatin1String(e.slot));
        EXPECT_EQ(QString(e.status), slot["status"].toString()) << e.slot << ": " << slot["detail"].toString().toStdString();
        EXPECT_EQ(e.httpCode, slot["httpCode"].toInt()) << e.slot;
    }
    EXPECT_EQ(server->Url("ok.m3u8"), slotsByKey["1/8"]["finalUrl"].toString());
    EXPECT_TRUE(slotsByKey["1/0"]["finalUrl"].isNull());
    EXPECT_TRUE(slotsByKey["1/2"]["detail"].toString().contains("variant"));

    // Each distinct address is fetched once; the variant of the good master once more.
    const QJsonObject hits = server->Stats()["hits"].toObject();
    EXPECT_EQ(1, hits["/stream.ts"].toInt());
    EXPECT_EQ(1, hits["/status/404"].toInt());
    EXPECT_EQ(1, hits["/variant/low.m3u8"].toInt());
    EXPECT_FALSE(hits.contains("/etc/hostname"));

    const QJsonObject summary = report["summary"].toObject();
    EXPECT_EQ(19, summary["addresses"].toInt());
    EXPECT_EQ(19, summary["checked"].toInt());
    EXPECT_EQ(7, summary["statuses"]["ok"].toInt());
    EXPECT_EQ(2, summary["statuses"][kNotFound].toInt());
    EXPECT_EQ(1, summary["statuses"][kNoAnswer].toInt());
    EXPECT_EQ(1, summary["statuses"]["connection refused"].toInt());
    EXPECT_EQ(0, summary["statuses"][kTlsFailed].toInt());
    const QJsonArray sections = summary["sections"].toArray();
    ASSERT_EQ(4, sections.size());
    EXPECT_EQ(QString("News"), sections[1]["name"].toString());
    EXPECT_EQ(7, sections[1]["slots"].toInt());
    EXPECT_EQ(4, sections[1]["statuses"]["ok"].toInt());
    const QJsonArray shared = summary["sharedNotOk"].toArray();
    ASSERT_EQ(1, shared.size());
    EXPECT_EQ(server->Url("status/404"), shared[0]["url"].toString());
    EXPECT_EQ(2, shared[0]["slots"].toArray().size());
    EXPECT_EQ(QString("Netherlands"), shared[0]["slots"][1]["sectionName"].toString());
}

TEST_F(CheckStreamsTool, WritesOneTsvRowPerSlotAndTheSummaryAsComments)
{
    const ToolRun run = RunTool({"--list", WriteList({{1, 0, server->Url("ok.m3u8")},
                                                  {2, 0, server->Url("status/404")},
                                                  {3, 0, server->Url("status/404")}}),
                             "--format", "tsv"});
    EXPECT_EQ(1, run.exitCode);
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    ASSERT_GE(lines.size(), 4);
    const QList<QByteArray> header = lines[0].split('\t');
    const qsizetype statusColumn = header.indexOf("status");
    ASSERT_GE(statusColumn, 0);
    for (int i = 1; i <= 3; ++i)
        ASSERT_EQ(header.size(), lines[i].split('\t').size()) << lines[i].toStdString();
    EXPECT_EQ("ok", lines[1].split('\t')[statusColumn]);
    EXPECT_EQ(kNotFound, lines[2].split('\t')[statusColumn]);
    EXPECT_EQ(kNotFound, lines[3].split('\t')[statusColumn]);
    for (qsizetype i = 4; i < lines.size(); ++i)
        EXPECT_TRUE(lines[i].startsWith("# ")) << lines[i].toStdString();
    EXPECT_TRUE(run.out.contains("Games 0, Movies 0"));
}

TEST_F(CheckStreamsTool, ExitsWithZeroOnlyWhenEveryAddressIsOk)
{
    const ToolRun ok = RunTool({"--list", WriteList({{1, 0, server->Url("ok.m3u8")}, {2, 0, server->Url("master.m3u8")}})});
    EXPECT_EQ(0, ok.exitCode) << ok.out.toStdString();
    EXPECT_TRUE(ok.out.contains("Checked 2 of 2 addresses (2 slots)"));
    const ToolRun notOk = RunTool({"--list", WriteList({{1, 0, server->Url("ok.m3u8")}, {2, 0, server->Url("page.html")}})});
    EXPECT_EQ(1, notOk.exitCode);
}

TEST_F(CheckStreamsTool, RejectsBadUsageWithStatusTwo)
{
    const QString list = WriteList({{1, 0, server->Url("ok.m3u8")}});
    dir.WriteFile(QStringLiteral("bad.tsv"), "section\tposition\tname\turl\n23\t0\tX\thttp://x/\n");
    const QList<QStringList> cases = {
        {"--list", list, "--no-such-option"},
        {"--list", list, "stray-argument"},
        {"--m3u", dir.FilePath("missing.m3u")},
        {"--list", list, "--format", "xml"},
        {"--list", list, "--jobs", "0"},
        {"--list", list, "--jobs", "many"},
        {"--list", list, "--timeout", "-1"},
        {"--list", list, "--timeout", "nan"},
        {"--list", dir.FilePath("missing.tsv")},
        {"--list", dir.FilePath("bad.tsv")},
        {"--list", dir.Path()},
    };
    for (const QStringList& arguments : cases) {
        const ToolRun run = RunTool(arguments);
        EXPECT_EQ(2, run.exitCode) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << arguments.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty()) << arguments.join(' ').toStdString();
    }
    EXPECT_TRUE(server->Stats()["hits"].toObject().isEmpty());
}

TEST_F(CheckStreamsTool, NeverHasMoreAddressesInFlightThanJobsAllows)
{
    QList<Row> rows;
    for (int i = 0; i < 16; ++i)
        rows.append({5, i, server->Url(QStringLiteral("slow?ms=1500&n=%1").arg(i))});
    const QString list = WriteList(rows);

    // All on one host, yet more at once than a shared connection pool's six per host:
    // none waits in a queue while its time limit runs. (How many overlap exactly depends
    // on how busy the machine is, so only the bounds are checked.)
    EXPECT_EQ(0, RunTool({"--list", list}).exitCode);
    EXPECT_LE(server->Stats()["max"].toInt(), 8);
    EXPECT_GT(server->Stats()["max"].toInt(), 6);

    server->Reset();
    EXPECT_EQ(0, RunTool({"--list", list, "--jobs", "3"}).exitCode);
    EXPECT_LE(server->Stats()["max"].toInt(), 3);
    EXPECT_GE(server->Stats()["max"].toInt(), 2);

    server->Reset();
    rows.resize(4);
    EXPECT_EQ(0, RunTool({"--list", WriteList(rows), "--jobs", "1"}).exitCode);
    EXPECT_EQ(1, server->Stats()["max"].toInt());
}

TEST_F(CheckStreamsTool, ChecksAListAsLongAsTheBuiltInOne)
{
    QList<Row> rows;
    for (int i = 0; i < 545; ++i)
        rows.append({i % 22 + 1, i / 22, server->Url(QStringLiteral("ok.m3u8?n=%1").arg(i))});
    const ToolRun run = RunTool({"--list", WriteList(rows), "--format", "json"});
    EXPECT_EQ(0, run.exitCode) << run.err.toStdString();
    const QJsonObject summary = Json(run)["summary"].toObject();
    EXPECT_EQ(545, summary["checked"].toInt());
    EXPECT_EQ(545, summary["statuses"]["ok"].toInt());
    EXPECT_EQ(22, summary["sections"].toArray().size());
    EXPECT_LE(server->Stats()["max"].toInt(), 8);
}

TEST_F(CheckStreamsTool, StopsOnInterruptAndReportsWhatItHas)
{
    QList<Row> rows = {{1, 0, server->Url("ok.m3u8")}, {1, 1, server->Url("stream.ts")}};
    for (int i = 0; i < 4; ++i)
        rows.append({2, i, server->Url(QStringLiteral("slow?ms=60000&n=%1").arg(i))});
    QProcess process;
    StartTool(process, {"--list", WriteList(rows), "--format", "json", "--timeout", "120"});
    // Wait until the four slow addresses hang.
    ASSERT_TRUE(QTest::qWaitFor([&] { return server->Stats()["inflight"].toInt() >= 4; }, 10000));
    ASSERT_EQ(4, server->Stats()["inflight"].toInt());
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);

    const ToolRun run = Finish(process);
    EXPECT_EQ(1, run.exitCode) << run.err.toStdString();
    const QJsonObject report = Json(run);
    const auto slotsByKey = SlotsOf(report);
    EXPECT_EQ(2, slotsByKey.size());
    EXPECT_EQ(QString("ok"), slotsByKey["1/1"]["status"].toString());
    EXPECT_TRUE(report["summary"]["interrupted"].toBool());
    EXPECT_EQ(2, report["summary"]["checked"].toInt());
}

TEST_F(CheckStreamsTool, ReportsAnUntrustedCertificateAsTlsError)
{
    const ToolRun run = RunTool({"--list", WriteList({{1, 0, server->UntrustedUrl("ok.m3u8")}}), "--format", "json"});
    EXPECT_EQ(1, run.exitCode);
    EXPECT_EQ(QString(kTlsFailed), SlotsOf(Json(run))["1/0"]["status"].toString()) << run.out.toStdString();
}

TEST_F(CheckStreamsTool, DeepCheckWaitsForAFrameFromThePlayer)
{
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty())
        GTEST_SKIP() << "ffmpeg is needed to make test media";
    QDir(dir.Path()).mkpath(QStringLiteral("media/good"));
    QDir(dir.Path()).mkpath(QStringLiteral("media/broken"));
    QProcess make;
    make.start(ffmpeg, {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=160x120:rate=10:duration=3",
                        "-c:v", "mpeg2video", "-f", "hls", "-hls_time", "1", "-hls_list_size", "0",
                        dir.FilePath("media/good/index.m3u8")});
    ASSERT_TRUE(make.waitForFinished(60000) && make.exitCode() == 0) << make.readAllStandardError().toStdString();
    // Looks like a stream to an HTTP check; the player finds only noise in the segments.
    dir.WriteFile(QStringLiteral("media/broken/index.m3u8"),
                  "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1.0,\nnoise.ts\n#EXT-X-ENDLIST\n");
    dir.WriteFile(QStringLiteral("media/broken/noise.ts"), QByteArray(4096, 'n'));
    ZooServer files({"--root", dir.FilePath("media")});
    ASSERT_TRUE(files.Start()) << files.Error().toStdString();

    const QString list = WriteList({{1, 0, files.Url("files/good/index.m3u8")},
                                    {1, 1, files.Url("files/broken/index.m3u8")}});
    const ToolRun shallow = RunTool({"--list", list, "--format", "json"});
    EXPECT_EQ(0, shallow.exitCode);
    EXPECT_FALSE(SlotsOf(Json(shallow))["1/0"]["deepChecked"].toBool());

    const ToolRun deep = RunTool({"--list", list, "--format", "json", "--deep", "--timeout", "20"});
    EXPECT_EQ(1, deep.exitCode) << deep.err.toStdString();
    const auto slotsByKey = SlotsOf(Json(deep));
    EXPECT_EQ(QString("ok"), slotsByKey["1/0"]["status"].toString()) << slotsByKey["1/0"]["detail"].toString().toStdString();
    EXPECT_GE(slotsByKey["1/0"]["firstFrameMs"].toInt(-1), 0);
    EXPECT_TRUE(slotsByKey["1/0"]["deepChecked"].toBool());
    EXPECT_NE(QString("ok"), slotsByKey["1/1"]["status"].toString());
    EXPECT_TRUE(slotsByKey["1/1"]["firstFrameMs"].isNull());
}

TEST_F(CheckStreamsTool, ChecksEveryZooCaseOfAnM3uPlaylistFromAFileOrAnAddress)
{
    const struct
    {
        QString url;
        const char* status;
    } cases[] = {
        {server->Url("zoo/master.m3u8"), "ok"},     {server->Url("zoo/hevc.m3u8"), "ok"},
        {server->Url("zoo/stream.ts"), "ok"},       {server->Url("zoo/chunked.ts"), "ok"},
        {server->Url("zoo/audio.m3u8"), "ok"},      {server->Url("zoo/radio.mp3"), "ok"},
        {server->UntrustedUrl("zoo/audio.m3u8"), kTlsFailed},
        {server->Url("zoo/loop"), "too many redirects"}, {server->Url("zoo/status/403"), kForbidden},
        {server->Url("zoo/status/404"), kNotFound}, {server->Url("zoo/status/410"), kNotFound},
        {server->Url("zoo/status/451"), kForbidden}, {server->Url("zoo/status/503"), "server error"},
        {server->Url("zoo/slow.m3u8"), "ok"},       {server->Url("zoo/capped.m3u8"), "ok"},
        {server->Url("zoo/flaky.m3u8"), "ok"},      {server->Url("zoo/frozen.m3u8"), "ok"},
        {server->Url("zoo/ad.m3u8"), "ok"},         {server->Url("zoo/page.html"), kNotAStream},
        {server->Url("zoo/agent.m3u8"), kForbidden},
    };
    QByteArray playlist = "#EXTM3U\n";
    for (const auto& c : cases)
        playlist += "#EXTINF:-1," + c.url.toUtf8() + "\n" + c.url.toUtf8() + "\n";
    dir.WriteFile(QStringLiteral("zoo.m3u"), playlist);
    ZooServer files({"--root", dir.Path()});
    ASSERT_TRUE(files.Start()) << files.Error().toStdString();

    for (const QString& source : {dir.FilePath("zoo.m3u"), files.Url("files/zoo.m3u")}) {
        SCOPED_TRACE(source.toStdString());
        const ToolRun run = RunTool({"--m3u", source, "--format", "json", "--timeout", "8"});
        EXPECT_EQ(1, run.exitCode) << run.err.toStdString();
        const auto slotsByKey = SlotsOf(Json(run));
        ASSERT_EQ(slotsByKey.size(), static_cast<qsizetype>(std::size(cases))) << run.out.toStdString();
        for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
            const QJsonObject slot = slotsByKey.value(QStringLiteral("0/%1").arg(i));
            EXPECT_EQ(QString(cases[i].status), slot["status"].toString()) << cases[i].url.toStdString();
            EXPECT_EQ(cases[i].url, slot["name"].toString());
        }
    }
    // The list as a plain argument; and no list in an unreadable playlist.
    EXPECT_EQ(0, RunTool({WriteList({{1, 0, server->Url("zoo/audio.m3u8")}})}).exitCode);
    dir.WriteFile(QStringLiteral("page.m3u"), "<!DOCTYPE html><html></html>");
    EXPECT_EQ(2, RunTool({"--m3u", dir.FilePath("page.m3u")}).exitCode);
    EXPECT_EQ(2, RunTool({"--m3u", dir.FilePath("zoo.m3u"), WriteList({})}).exitCode);
}

// A panel's get.php playlist holds the account's password in each of its addresses: every
// format of the report, and every message, shows it as ***.
TEST_F(CheckStreamsTool, AnAccountsPasswordIsHiddenInEveryReportAndMessage)
{
    PanelServer panel;
    ASSERT_TRUE(panel.Start());
    const QString login = QStringLiteral("/get.php?username=viewer&password=%1&type=m3u_plus");
    const QString playlist = panel.Server() + login.arg(u"secret");
    const struct
    {
        QStringList arguments;
        const char* secret;
        const char* shown;
        int exitCode;
    } cases[] = {
        {{"--m3u", playlist, "--format", "text"}, "secret", "/movie/viewer/***/500.mp4", 0},
        {{"--m3u", playlist, "--format", "tsv"}, "secret", "/live/viewer/***/100.ts", 0},
        {{"--m3u", playlist, "--format", "json"}, "secret", "/live/viewer/***/102.ts", 0},
        {{"--m3u", panel.Server() + login.arg(u"wrong")}, "wrong", "password=***", 2},
        {{"--m3u", QStringLiteral("http://127.0.0.1:%1").arg(ClosedPort()) + login.arg(u"secret")}, "secret",
         "password=***", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const ToolRun run = RunTool(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        const QByteArray said = run.out + run.err;
        EXPECT_FALSE(said.contains(c.secret)) << said.toStdString();
        EXPECT_TRUE(said.contains(c.shown)) << said.toStdString();
    }
}

} // namespace
