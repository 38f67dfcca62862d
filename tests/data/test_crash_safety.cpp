// The data files survive the worst moments of a save: a kill at any instant leaves each
// one either the old or the new file, byte for byte, and a full file system leaves the old
// files as they were.

#include "SavedVersions.h"

#include "TempDir.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <map>
#include <csignal>
#include <random>
#include <thread>

namespace {

constexpr int kKills = 100;
constexpr int kLongestKillDelayUs = 40000; // a few rounds of saves
constexpr int kStartMs = 30000;
constexpr const char* kSmallFileSystem = "size=1m";

const QString kHelper = QStringLiteral(KORVANTA_SAVE_HELPER);

} // namespace

TEST(CrashSafety, EveryFileIsTheOldOrTheNewOneAfterAKillDuringTheSaves)
{
    TempDir dir;
    const QString first = dir.FilePath("first"), second = dir.FilePath("second"), work = dir.FilePath("work");
    for (const QString& folder : {first, second, work})
        ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(SaveVersion(first, 0) && SaveVersion(second, 1) && SaveVersion(work, 0));
    const auto versions = std::array{ReadSavedFiles(first), ReadSavedFiles(second)};

    std::mt19937 random(17);
    std::uniform_int_distribution<int> delayUs(0, kLongestKillDelayUs);
    std::map<QString, std::array<int, 2>> seen; // how often each version was found
    for (int kill = 0; kill < kKills; ++kill) {
        SCOPED_TRACE(kill);
        QProcess helper;
        helper.start(kHelper, {QStringLiteral("loop"), work});
        ASSERT_TRUE(helper.waitForReadyRead(kStartMs)) << helper.errorString().toStdString();
        // The random moment of the kill is the point of the test, not a wait for something.
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        ::kill(static_cast<pid_t>(helper.processId()), SIGKILL);
        ASSERT_TRUE(helper.waitForFinished(kStartMs));
        for (const auto& [name, bytes] : ReadSavedFiles(work)) {
            const bool old = bytes == versions[0].at(name), fresh = bytes == versions[1].at(name);
            ASSERT_TRUE(old || fresh) << name.toStdString() << " is damaged: " << bytes.size() << " bytes";
            ++seen[name][fresh ? 1 : 0];
        }
    }
    for (const auto& [name, counts] : seen)
        std::printf("%s: old %d times, new %d times\n", qPrintable(name), counts[0], counts[1]);
}

TEST(CrashSafety, AFullFileSystemKeepsTheOldFiles)
{
    // The small file system lives in a mount namespace of the helper's own, so it needs no
    // privileges and vanishes with the helper however the test ends.
    const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
    if (unshare.isEmpty())
        GTEST_SKIP() << "unshare is not installed";
    TempDir dir;
    QProcess helper;
    helper.setProcessChannelMode(QProcess::MergedChannels);
    helper.start(unshare, {QStringLiteral("--user"), QStringLiteral("--map-root-user"), QStringLiteral("--mount"),
                           QStringLiteral("sh"), QStringLiteral("-c"),
                           QStringLiteral("mount -t tmpfs -o %1 tmpfs \"$1\" && exec \"$2\" full \"$1\"")
                               .arg(QLatin1String(kSmallFileSystem)),
                           QStringLiteral("sh"), dir.Path(), kHelper});
    ASSERT_TRUE(helper.waitForFinished(kStartMs));
    const QByteArray output = helper.readAll();
    EXPECT_EQ(helper.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(helper.exitCode(), 0) << output.constData();
}
