// Recordings made from a loopback live stream: one scheduled before a restart and made
// after it, its file as long as the programme with its padding; one begun late, partial;
// one of a channel that does not answer, failed; the disk running low, and the program
// killed while it records, a playable file.

#include "MediaProbe.h"
#include "RecordingScheduler.h"
#include "RecordingSidecar.h"
#include "TempDir.h"
#include "ZooServer.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

using std::chrono::seconds;

constexpr int kWaitMs = 60000;
constexpr double kSentAhead = 3; // the zoo's endless stream starts its first segment and two ahead
constexpr qint64 kBytesBeforeKill = 256 * 1024; // some seconds beyond what comes at once

ProgrammeFacts Programme(const QString& title, seconds fromNow, seconds length)
{
    const PlanTime now = RecordingScheduler::SystemNow();
    return {title, QStringLiteral("Part one"), QStringLiteral("About it"), QString(), now + fromNow, now + fromNow + length};
}

struct Fixture {
    ZooServer zoo;
    TempDir temp;
    QString book = temp.FilePath(QStringLiteral("data/Recordings.xml"));
    PlanSettings settings;

    Fixture()
    {
        settings.before = seconds(2);
        settings.after = seconds(3);
    }

    void SetUp(RecordingScheduler& scheduler)
    {
        scheduler.SetPlace(RecordingPlace(temp.FilePath(QStringLiteral("videos"))));
        scheduler.SetSources([this](const ChannelKey& key) -> std::optional<CopySource> {
            if (key.entry == 1)
                return CopySource{zoo.Url(QStringLiteral("/zoo/stream.ts")), {}, {}};
            if (key.entry == 2)
                return CopySource{ClosedPortUrl(QStringLiteral("/live.ts")), {}, {}};
            return std::nullopt;
        });
        scheduler.SetSettings(settings);
        scheduler.Load(book);
    }
};

bool AllEnded(const RecordingScheduler& scheduler, std::size_t count)
{
    const auto& recorded = scheduler.Recorded();
    return recorded.size() == count && std::none_of(recorded.begin(), recorded.end(), [](const RecordedProgramme& r) {
               return r.state == RecordedState::Recording;
           });
}

} // namespace

TEST(RecordingScheduler, ScheduledBeforeARestartRecordsAfterItWithItsPadding)
{
    Fixture fixture;
    ASSERT_TRUE(fixture.zoo.Start()) << qPrintable(fixture.zoo.Error());
    {
        RecordingScheduler before;
        fixture.SetUp(before);
        before.Record({0, 0, 1}, QStringLiteral("Zoo: One"), Programme(QStringLiteral("Quiz/Night"), seconds(5), seconds(5)));
        ASSERT_EQ(before.Plan().size(), 1u);
    }
    RecordingScheduler after;
    fixture.SetUp(after);
    ASSERT_TRUE(WaitFor([&] { return AllEnded(after, 1); }, kWaitMs));
    const RecordedProgramme& done = after.Recorded().front();
    EXPECT_EQ(done.state, RecordedState::Finished);
    EXPECT_TRUE(done.path.endsWith(QStringLiteral("/videos/Quiz_Night ")
                                   + QDateTime::fromSecsSinceEpoch(done.programme.start.time_since_epoch().count())
                                         .toString(QStringLiteral("yyyy-MM-dd HH-mm"))
                                   + QStringLiteral(" Zoo_ One.ts")))
        << qPrintable(done.path);
    // 2 s before, 5 of the programme, 3 after, and the 3 s the server sends at once.
    EXPECT_NEAR(Duration(done.path), 10 + kSentAhead, 1.5);
    QFile sidecar(RecordingSidecar::PathOf(done.path));
    ASSERT_TRUE(sidecar.open(QIODevice::ReadOnly));
    const QByteArray details = sidecar.readAll();
    EXPECT_TRUE(details.contains("<Title>Quiz/Night</Title>") && details.contains("<SubTitle>Part one</SubTitle>")
                && details.contains("<Channel>Zoo: One</Channel>"))
        << details.constData();
    EXPECT_TRUE(after.Book().Rules().empty()); // a single recording's rule goes once it is made
}

TEST(RecordingScheduler, LateIsPartialAndAChannelThatDoesNotAnswerFails)
{
    Fixture fixture;
    fixture.settings.atOnce = 3;
    ASSERT_TRUE(fixture.zoo.Start()) << qPrintable(fixture.zoo.Error());
    {
        RecordingScheduler before;
        fixture.SetUp(before);
        for (int entry : {1, 2, 3})
            before.Record({0, 0, entry}, QStringLiteral("Channel %1").arg(entry),
                          Programme(QStringLiteral("Film %1").arg(entry), seconds(3), seconds(45)));
    }
    // Started again 40 s later, as the clock tells: the programmes are on, 8 s to go.
    RecordingScheduler after([] { return RecordingScheduler::SystemNow() + seconds(40); });
    fixture.SetUp(after);
    ASSERT_TRUE(WaitFor([&] { return AllEnded(after, 3); }, kWaitMs));
    std::map<QString, RecordedProgramme> of;
    for (const RecordedProgramme& r : after.Recorded())
        of[r.programme.title] = r;
    EXPECT_EQ(of["Film 1"].state, RecordedState::Partial);
    EXPECT_EQ(of["Film 1"].problem, RecordedProblem::NotRunning);
    EXPECT_NEAR(Duration(of["Film 1"].path), 8 + 3 + kSentAhead, 1.5);
    for (const QString& failed : {QStringLiteral("Film 2"), QStringLiteral("Film 3")}) {
        EXPECT_EQ(of[failed].state, RecordedState::Failed) << qPrintable(failed);
        EXPECT_EQ(of[failed].problem, RecordedProblem::ChannelUnavailable) << qPrintable(failed);
        EXPECT_TRUE(of[failed].path.isEmpty() || !QFile::exists(of[failed].path));
    }

    EXPECT_TRUE(after.DeleteRecorded(of["Film 1"].path));
    EXPECT_FALSE(QFile::exists(of["Film 1"].path) || QFile::exists(RecordingSidecar::PathOf(of["Film 1"].path)));
}

// The zoo's material loops every four seconds, its times going back each time: the file's
// go on all the same.
TEST(StreamCopier, StopsWhenTheDiskRunsLowLeavingAPlayableFile)
{
    ZooServer zoo({QStringLiteral("--segments"), QStringLiteral("4")});
    ASSERT_TRUE(zoo.Start()) << qPrintable(zoo.Error());
    TempDir temp;
    int asked = 0;
    const QString path = temp.FilePath(QStringLiteral("low.ts"));
    StreamCopier copier({zoo.Url(QStringLiteral("/zoo/stream.ts")), {}, {}}, path, [&asked](const QString&) {
        return ++asked == 1 ? kDiskReserveBytes * 4 : StreamCopier::kStopReserveBytes - 1;
    });
    std::optional<CopyOutcome> outcome;
    QObject::connect(&copier, &StreamCopier::Ended, [&](CopyOutcome ended) { outcome = ended; });
    copier.Start();
    ASSERT_TRUE(WaitFor([&] { return outcome.has_value(); }, kWaitMs));
    EXPECT_EQ(*outcome, CopyOutcome::DiskFull);
    EXPECT_NEAR(Duration(path), 5 + kSentAhead, 1.5); // checked again five seconds on
}

// Killed while it records, the program leaves the file of a recording that plays up to
// where it was cut.
TEST(StreamCopier, AKillDuringAScheduledRecordingLeavesAPlayableFile)
{
    ZooServer zoo;
    ASSERT_TRUE(zoo.Start()) << qPrintable(zoo.Error());
    TempDir temp;
    QProcess helper;
    helper.start(QStringLiteral(KORVANTA_RECORDING_HELPER), {zoo.Url(QStringLiteral("/zoo/stream.ts")), temp.Path()});
    ASSERT_TRUE(helper.waitForReadyRead(kWaitMs)) << qPrintable(helper.errorString());
    const QString path = QString::fromUtf8(helper.readLine()).trimmed();
    // Past what the server sends at once: the copy is under way at the stream's pace.
    ASSERT_TRUE(WaitFor([&] { return QFileInfo(path).size() > kBytesBeforeKill; }, kWaitMs)) << qPrintable(path);
    helper.kill();
    ASSERT_TRUE(helper.waitForFinished(kWaitMs));
    EXPECT_EQ(helper.exitStatus(), QProcess::CrashExit);

    const QJsonObject probed = Probed(path);
    const QJsonArray streams = probed.value(QStringLiteral("streams")).toArray();
    EXPECT_TRUE(std::any_of(streams.begin(), streams.end(), [](const QJsonValue& stream) {
        return stream.toObject().value(QStringLiteral("codec_type")).toString() == QStringLiteral("video");
    })) << QJsonDocument(probed).toJson().constData();
    EXPECT_GT(Duration(path), kSentAhead);
    EXPECT_EQ(DecodeErrors(path), QString());
}
