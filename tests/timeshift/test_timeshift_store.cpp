// The timeshift buffer's folder and bounds: private, swept of what dead programs left,
// never into the last free gigabyte of the disk.

#include "PlaybackFile.h"
#include "TempDir.h"
#include "TimeshiftStore.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

constexpr qint64 kGiB = qint64(1024) * 1024 * 1024;

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

mode_t Mode(const QString& path)
{
    struct stat info {};
    return stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777 : 0;
}

// A program that made its folder and died without a word, as a killed one does.
void RunAndDie(const QString& folder)
{
    const pid_t child = fork();
    if (child == 0) {
        const TimeshiftStore store(folder, 120min, kGiB);
        QFile cache(QDir(store.SessionFolder()).filePath(QStringLiteral("engine-cache.dat")));
        _exit(store.IsUsable() && cache.open(QIODevice::WriteOnly) && cache.write("x") == 1 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// Beside a dead program's folder, another whose lock names a process number taken since,
// by this test.
void NumberTakenSince(const QString& dead)
{
    const QString folder = dead + QStringLiteral("-again");
    ASSERT_TRUE(QDir().mkdir(folder));
    QFile lock(QDir(folder).filePath(QStringLiteral("lock")));
    ASSERT_TRUE(QFile::copy(QDir(dead).filePath(QStringLiteral("lock")), lock.fileName()));
    ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
    QList<QByteArray> lines = lock.readAll().split('\n');
    lines[0] = QByteArray::number(getpid());
    ASSERT_TRUE(lock.resize(0));
    ASSERT_TRUE(lock.write(lines.join('\n')) > 0);
}

} // namespace

TEST(TimeshiftStore, KeepsItsFilesPrivateAndRemovesWhatDeadProgramsLeft)
{
    TempDir temp;
    const QString folder = temp.FilePath(QStringLiteral("cache/Korvanta/timeshift"));
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_EQ(chmod(QFile::encodeName(folder).constData(), 0755), 0);
    RunAndDie(folder);
    NumberTakenSince(QDir(folder).filePath(Entries(folder).first()));
    temp.WriteFile(QStringLiteral("cache/Korvanta/timeshift/stray.dat"), "y");
    ASSERT_EQ(Entries(folder).size(), 3);

    const TimeshiftStore running(folder, 120min, kGiB);
    ASSERT_TRUE(running.IsUsable());
    EXPECT_EQ(Entries(folder), QStringList{QFileInfo(running.SessionFolder()).fileName()});
    EXPECT_EQ(Mode(folder), 0700u);
    EXPECT_EQ(Mode(running.SessionFolder()), 0700u);

    // A second program beside it keeps the first one's folder; each removes its own.
    temp.WriteFile(QDir(folder).relativeFilePath(running.SessionFolder()) + QStringLiteral("/old-channel.dat"), "z");
    {
        const TimeshiftStore beside(folder, 120min, kGiB);
        EXPECT_EQ(Entries(folder).size(), 2);
    }
    EXPECT_EQ(Entries(folder).size(), 1);
    running.Clear(); // a switch
    EXPECT_EQ(Entries(running.SessionFolder()), QStringList{QStringLiteral("lock")});
}

TEST(TimeshiftStore, BudgetStopsAtTheCapAndBeforeTheLastFreeGigabyte)
{
    const struct {
        const char* situation;
        qint64 cap, free, used, budget;
    } cases[] = {
        {"plenty of disk: the cap", 4 * kGiB, 100 * kGiB, 0, 4 * kGiB},
        {"the file counts as its own room", 4 * kGiB, kGiB + 10, 3 * kGiB, 3 * kGiB + 10},
        {"little disk: up to the reserve", 4 * kGiB, 3 * kGiB, kGiB, 3 * kGiB},
        {"under the reserve already: nothing", 4 * kGiB, kGiB / 2, 0, 0},
        {"beyond what 32 bits hold", 64 * kGiB, 200 * kGiB, 10 * kGiB, 64 * kGiB},
    };
    TempDir temp;
    for (const auto& c : cases) {
        const TimeshiftStore store(temp.Path(), 120min, c.cap, [&c](const QString&) { return c.free; });
        EXPECT_EQ(store.ByteBudget(c.used), c.budget) << c.situation;
    }
}

TEST(TimeshiftStore, PlaybackXmlKeepsItsValuesWithinTheirRanges)
{
    const struct {
        const char* file;
        int minutes, capMiB;
    } cases[] = {
        {"", PlaybackSettings::kDefaultTimeshiftMinutes, PlaybackSettings::kDefaultDiskCapMiB},
        {"<Playback><Timeshift minutes=\"30\" diskCapMiB=\"64\"/></Playback>", 30, 64},
        {"<Playback><Timeshift minutes=\"0\" diskCapMiB=\"1\"/></Playback>", PlaybackSettings::kDefaultTimeshiftMinutes,
         PlaybackSettings::kDefaultDiskCapMiB},
        {"<Playback><Timeshift minutes=\"99999\" diskCapMiB=\"-5\"/></Playback>",
         PlaybackSettings::kDefaultTimeshiftMinutes, PlaybackSettings::kDefaultDiskCapMiB},
        {"<Settings><Timeshift minutes=\"30\"/></Settings>", PlaybackSettings::kDefaultTimeshiftMinutes,
         PlaybackSettings::kDefaultDiskCapMiB},
    };
    TempDir temp;
    for (const auto& c : cases) {
        temp.WriteFile(QStringLiteral("Playback.xml"), c.file);
        const PlaybackSettings settings = LoadPlaybackSettings(temp.FilePath(QStringLiteral("Playback.xml")));
        EXPECT_EQ(settings.timeshiftMinutes, c.minutes) << c.file;
        EXPECT_EQ(settings.timeshiftDiskCapMiB, c.capMiB) << c.file;
    }

    // The viewer's own window stays as it was when the track choice is written.
    temp.WriteFile(QStringLiteral("Playback.xml"), "<Playback><Timeshift minutes=\"45\" diskCapMiB=\"512\"/></Playback>");
    PlaybackSettings chosen = LoadPlaybackSettings(temp.FilePath(QStringLiteral("Playback.xml")));
    chosen.audioLanguage = QStringLiteral("deu");
    chosen.subtitleLanguage = QString::fromLatin1(PlaybackSettings::kSubtitlesOff);
    ASSERT_TRUE(SavePlaybackSettings(temp.FilePath(QStringLiteral("Playback.xml")), chosen));
    EXPECT_EQ(LoadPlaybackSettings(temp.FilePath(QStringLiteral("Playback.xml"))), chosen);
    EXPECT_EQ(chosen.timeshiftMinutes, 45);
}
