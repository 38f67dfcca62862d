// The viewer's guides: added by address and file, downloaded from the stream zoo, asked
// for again only when changed, named by playlists, and read from the store after a
// restart without network.

#include "GuideCache.h"
#include "GuideLibrary.h"
#include "GuideZooTest.h"
#include "GuidesFile.h"
#include "Playlist.h"
#include "TempDir.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

constexpr int kWaitMs = 30000;
constexpr qint64 kDay = 24 * kHour;

const GuideViewerChannel kOne{QStringLiteral("one"), QStringLiteral("one.example"), {}, QStringLiteral("One")};

class GuideLibraryTest : public GuideZooTest
{
protected:
    TempDir dir;
    QByteArray previousCacheHome = qgetenv("XDG_CACHE_HOME");

    GuideLibraryTest() { qputenv("XDG_CACHE_HOME", dir.FilePath(QStringLiteral("cache")).toUtf8()); }
    ~GuideLibraryTest() override { qputenv("XDG_CACHE_HOME", previousCacheHome); }

    std::unique_ptr<GuideLibrary> Open() const
    {
        auto library = std::make_unique<GuideLibrary>();
        library->SetDownloadTimeout(kWaitMs);
        library->Load(dir.Path(), dir.FilePath(QStringLiteral("cache/Korvanta/guide.sqlite")));
        library->SetViewerChannels({kOne});
        WaitFor([&] { return library->IsLinked(); }, kWaitMs); // matched on the worker
        return library;
    }
    static QString Url(const char* name)
    {
        return zoo->Url(GuidePath(QLatin1String(name)));
    }
    static QString NowOnOne(const GuideLibrary& library)
    {
        const GuideNowNext found = library.NowAndNext(kOne, Start() + 15 * kMinute);
        return found.now ? found.now->title : QString();
    }
};

} // namespace

TEST_F(GuideLibraryTest, AddsRenamesAndRemovesGuidesAndTakesThePlaylistsOwn)
{
    auto library = Open();
    QSignalSpy failed(library.get(), &GuideLibrary::Failed);
    library->Add(Url("gzip.xml.gz"));
    ASSERT_TRUE(WaitFor([&] { return NowOnOne(*library) == QStringLiteral("One 1"); }, kWaitMs));

    dir.WriteFile(QStringLiteral("mine.xml"), zoo->Get(GuidePath(QStringLiteral("zones.xml"))));
    library->Add(dir.FilePath(QStringLiteral("mine.xml")));
    library->Rename(0, QStringLiteral("Provider"));
    ASSERT_TRUE(WaitFor([&] { return library->Store().Guides().size() == 2; }, kWaitMs));
    const auto saved = LoadGuides(dir.FilePath(QStringLiteral("Korvanta/Guides.xml")));
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[0], std::make_pair(QStringLiteral("Provider"), Url("gzip.xml.gz")));
    EXPECT_EQ(saved[1].first, QStringLiteral("mine"));
    // The addresses and what they returned may carry the viewer's tokens.
    constexpr QFileDevice::Permissions kGroupAndOthers(0x0077);
    for (const QString& path : {dir.FilePath(QStringLiteral("Korvanta/Guides.xml")), GuideCachePath(Url("gzip.xml.gz"))})
        EXPECT_EQ(QFileInfo(path).permissions() & kGroupAndOthers, 0) << path.toStdString();

    // A web page instead of a guide: named, with the reason; the other guides stay.
    library->Add(Url("page.html"));
    ASSERT_TRUE(WaitFor([&] { return failed.size() == 1; }, kWaitMs));
    EXPECT_EQ(failed[0][1].value<GuideProblem>(), GuideProblem::WebPage);
    library->Remove(2);
    library->Remove(1);
    ASSERT_TRUE(WaitFor([&] { return library->Store().Guides().size() == 1; }, kWaitMs));

    // A playlist's header names a guide: it comes and goes with the playlist.
    Playlist playlist;
    playlist.guideAddresses = {Url("double.xml.gz")};
    library->SetPlaylists({playlist});
    ASSERT_TRUE(WaitFor([&] { return library->Store().Guides().size() == 2; }, kWaitMs));
    EXPECT_FALSE(library->Guides().back().own);
    library->SetPlaylists({});
    ASSERT_TRUE(WaitFor([&] { return library->Store().Guides().size() == 1; }, kWaitMs));
    EXPECT_EQ(library->Guides().size(), 1u);
}

TEST_F(GuideLibraryTest, ARestartReadsTheStoreOfflineAndAStaleCopyIsAskedForWithItsETag)
{
    auto library = Open();
    library->Add(Url("gzip.xml.gz"));
    ASSERT_TRUE(WaitFor([&] { return NowOnOne(*library) == QStringLiteral("One 1"); }, kWaitMs));
    library.reset();

    // Offline: the stored guide answers at once, a refresh fails and loses nothing.
    zoo->Kill();
    library = Open();
    EXPECT_EQ(NowOnOne(*library), QStringLiteral("One 1"));
    QSignalSpy failed(library.get(), &GuideLibrary::Failed);
    library->RefreshAll();
    ASSERT_TRUE(WaitFor([&] { return failed.size() == 1; }, kWaitMs));
    EXPECT_EQ(failed[0][1].value<GuideProblem>(), GuideProblem::Network);
    EXPECT_EQ(NowOnOne(*library), QStringLiteral("One 1"));
    library.reset();

    // Back online, the copy older than 12 hours is asked for at the start: unchanged, so
    // not sent again (304) and not imported again.
    ASSERT_TRUE(zoo->Start());
    GuideCacheInfo info = ReadGuideCacheInfo(Url("gzip.xml.gz"));
    info.fetched = QDateTime::currentDateTimeUtc().addSecs(-13 * kHour);
    ASSERT_TRUE(WriteGuideCacheInfo(Url("gzip.xml.gz"), info));
    library = std::make_unique<GuideLibrary>();
    QSignalSpy refreshed(library.get(), &GuideLibrary::Refreshed);
    QSignalSpy progress(library.get(), &GuideLibrary::Progress);
    library->Load(dir.Path(), dir.FilePath(QStringLiteral("cache/Korvanta/guide.sqlite")));
    library->SetViewerChannels({kOne});
    ASSERT_TRUE(WaitFor([&] { return refreshed.size() == 1; }, kWaitMs));
    EXPECT_FALSE(refreshed[0][1].toBool());
    EXPECT_EQ(ReadGuideCacheInfo(Url("gzip.xml.gz")).etag, info.etag);
    EXPECT_FALSE(info.etag.isEmpty());
    EXPECT_TRUE(progress.isEmpty());
}

TEST_F(GuideLibraryTest, EachMomentComesFromTheFirstGuideThatHasAProgrammeThen)
{
    auto library = Open();
    QSignalSpy failed(library.get(), &GuideLibrary::Failed);
    library->Add(Url("yesterday.xml")); // knows channel one, but only yesterday; stored first
    ASSERT_TRUE(WaitFor([&] { return library->Store().Guides().size() == 1; }, kWaitMs));
    library->Add(Url("plain.xml"));
    library->Add(Url("past.xml"));      // forty days ago: nothing of it is kept
    const auto settled = [&] {
        return library->Store().Guides().size() == 3 && library->IsLinked()
               && std::all_of(library->Guides().begin(), library->Guides().end(),
                              [&](const GuideSource& guide) { return library->PermilleOf(guide.source) < 0; });
    };
    ASSERT_TRUE(WaitFor(settled, kWaitMs));
    EXPECT_EQ(NowOnOne(*library), QStringLiteral("One 1"));
    QStringList day; // the guide window's row: yesterday's from the first guide, today's from the second
    for (const GuideProgramme& programme : library->Store().Range(library->LinkOf(kOne), Start() - kDay, Start() + kHour))
        day.append(programme.title + QLatin1Char('@') + QString::number((programme.start - Start()) / kMinute));
    EXPECT_EQ(day, QStringList({"One 1@-1440", "One 2@-1410", "One 3@-1380", "One 4@-1350", "One 1@0", "One 2@30"}));

    // Read, but every programme lies outside the days kept: the viewer hears which days it holds.
    ASSERT_EQ(failed.size(), 1);
    EXPECT_EQ(failed[0][1].value<GuideProblem>(), GuideProblem::OutsideDays);
    const QStringList days = failed[0][2].toString().split(QLatin1Char(' '));
    ASSERT_EQ(days.size(), 4);
    EXPECT_EQ(days[0].toLongLong(), Start() - 40 * kDay);
    EXPECT_EQ(days[1].toLongLong(), Start() - 40 * kDay + 2 * kHour);
    EXPECT_NEAR(days[2].toLongLong(), QDateTime::currentSecsSinceEpoch() - 7 * kDay, kHour);
    EXPECT_NEAR(days[3].toLongLong(), QDateTime::currentSecsSinceEpoch() + 14 * kDay, kHour);
}
