// A recording on a file system that fills up under it, faster than the free space is looked
// at: it stops as "disk full" and what it wrote plays.

#include "MediaProbe.h"
#include "StreamCopier.h"
#include "ZooServer.h"

#include <QDir>
#include <QJsonArray>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace {
constexpr int kWaitMs = 60000;
} // namespace

TEST(SmallDisk, ARecordingThatFillsTheFileSystemStopsAsDiskFullAndPlays)
{
    const QString folder = qEnvironmentVariable("KORVANTA_SMALL_FS");
    if (folder.isEmpty())
        GTEST_SKIP() << "no small file system of its own could be mounted here";
    ZooServer zoo;
    ASSERT_TRUE(zoo.Start()) << qPrintable(zoo.Error());
    const QString path = QDir(folder).filePath(QStringLiteral("full.ts"));
    // The free space as the disk tells it would stop the copy only seconds on.
    StreamCopier copier({zoo.Url(QStringLiteral("/zoo/stream.ts")), {}, {}}, path,
                        [](const QString&) { return kDiskReserveBytes * 4; });
    std::optional<CopyOutcome> outcome;
    QObject::connect(&copier, &StreamCopier::Ended, [&](CopyOutcome ended) { outcome = ended; });
    copier.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.has_value(); }, kWaitMs));
    EXPECT_EQ(*outcome, CopyOutcome::DiskFull);
    const QJsonObject probed = Probed(path);
    ASSERT_FALSE(probed.value(QStringLiteral("streams")).toArray().isEmpty()) << "nothing of it plays";
    EXPECT_EQ(probed.value(QStringLiteral("streams")).toArray().first().toObject().value(QStringLiteral("codec_type")),
              QStringLiteral("video"));
    EXPECT_GT(Duration(path), 0.5);
}
