// Recordings' folder and names: safe on any file system, never over an earlier file,
// refused before the disk is down to its reserve.

#include "RecordingFile.h"
#include "RecordingPlace.h"
#include "TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

const QDateTime kStart(QDate(2026, 3, 29), QTime(20, 15, 3));
constexpr qint64 kPlenty = 100 * kDiskReserveBytes;

} // namespace

TEST(RecordingPlace, NamesAreSafeOnAnyFileSystem)
{
    const struct {
        const char* name;
        QString safe;
    } cases[] = {
        {"Das Erste HD", QStringLiteral("Das Erste HD")},
        {"News/24: Live?", QStringLiteral("News_24_ Live_")},
        {"a\\b*c\"d<e>f|g", QStringLiteral("a_b_c_d_e_f_g")},
        {"..hidden", QStringLiteral("hidden")},
        {"../../etc/passwd", QStringLiteral("_.._etc_passwd")},
        {"Tab\tand\nnew line", QStringLiteral("Tab_and_new line")},
        {"  spaced   out.  ", QStringLiteral("spaced out")},
        {"...", QStringLiteral("Korvanta")},
        {"", QStringLiteral("Korvanta")},
        {"Первый канал", QStringLiteral("Первый канал")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RecordingPlace::SafeName(QString::fromUtf8(c.name)), c.safe) << c.name;

    // Long names are cut by bytes, never inside a character.
    const QString longName = RecordingPlace::SafeName(QStringLiteral("x") + QString::fromUcs4(U"\U0001F4FA").repeated(300));
    EXPECT_LE(longName.toUtf8().size(), 200);
    EXPECT_FALSE(longName.back().isHighSurrogate());
}

TEST(RecordingPlace, NewRecordingsNeverReplaceOldOnesAndStopShortOfTheReserve)
{
    TempDir temp;
    const QString folder = temp.FilePath(QStringLiteral("Videos/Korvanta"));
    qint64 free = kPlenty;
    const RecordingPlace place(folder, [&free](const QString&) { return free; });

    const RecordingTarget first = place.NewRecording(QStringLiteral("News/24"), kStart);
    EXPECT_EQ(first.path, QDir(folder).filePath(QStringLiteral("News_24 2026-03-29 20-15-03.ts")));
    temp.WriteFile(QStringLiteral("Videos/Korvanta/News_24 2026-03-29 20-15-03.ts"), "x");
    EXPECT_EQ(place.NewRecording(QStringLiteral("News/24"), kStart).path,
              QDir(folder).filePath(QStringLiteral("News_24 2026-03-29 20-15-03 (2).ts")));
    temp.WriteFile(QStringLiteral("Videos/Korvanta/100%2 2026-03-29 20-15-03.ts"), "x"); // a name's own % stays
    EXPECT_EQ(place.NewRecording(QStringLiteral("100%2"), kStart).path,
              QDir(folder).filePath(QStringLiteral("100%2 2026-03-29 20-15-03 (2).ts")));

    free = kDiskReserveBytes;
    const RecordingTarget refused = place.NewRecording(QStringLiteral("News/24"), kStart);
    EXPECT_EQ(refused.refusal, RecordingRefusal::DiskFull);
    EXPECT_TRUE(refused.path.isEmpty());
    EXPECT_FALSE(place.HasRoom());

    temp.WriteFile(QStringLiteral("file"), "");
    const RecordingPlace blocked(temp.FilePath(QStringLiteral("file/Korvanta")), [](const QString&) { return kPlenty; });
    EXPECT_EQ(blocked.NewRecording(QStringLiteral("A"), kStart).refusal, RecordingRefusal::NoFolder);
}

TEST(RecordingPlace, GoesToTheVideosFolder)
{
    TempDir temp;
    qputenv("XDG_VIDEOS_DIR", temp.Path().toUtf8());
    EXPECT_EQ(RecordingPlace::DefaultFolder(), temp.FilePath(QStringLiteral("Korvanta")));
    qputenv("XDG_VIDEOS_DIR", "relative/videos"); // not a place: the system's own
    EXPECT_TRUE(RecordingPlace::DefaultFolder().endsWith(QStringLiteral("/Korvanta")));
    EXPECT_TRUE(QDir::isAbsolutePath(RecordingPlace::DefaultFolder()));
    qunsetenv("XDG_VIDEOS_DIR");
}

TEST(RecordingFile, StretchesBetweenReconnectsEndUpInOneFileInOrder)
{
    TempDir temp;
    const QString path = temp.FilePath(QStringLiteral("A 2026-03-29 20-15-03.ts"));
    RecordingFile recording(path);
    QByteArray expected;
    for (const QByteArray& stretch : {QByteArray("first"), QByteArray(3 * 1024 * 1024, 's'), QByteArray("third")}) {
        QFile file(recording.NextStretch());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(stretch);
        expected += stretch;
    }
    recording.Finish();
    EXPECT_EQ(temp.ReadFile(QFileInfo(path).fileName()), expected);
    EXPECT_EQ(QDir(temp.Path()).entryList(QDir::Files), QStringList{QFileInfo(path).fileName()});
}
