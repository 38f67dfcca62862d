// The viewer's own playlists: downloads from a server made here, the cached copies,
// Playlists.xml and the outcome the viewer hears of.

#include "PlaylistLibrary.h"

#include "BuiltinTexts.h"
#include "GuidanceTexts.h"
#include "M3uParser.h"
#include "PlaylistCache.h"
#include "PlaylistDownload.h"
#include "PlaylistTexts.h"
#include "ReaderTexts.h"
#include "StallWatch.h"
#include "TempDir.h"
#include "TinyHttpServer.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <sys/stat.h>

namespace {

// Far above what one step of the program's work takes, far below the seconds a read or
// inflation that waits or runs unbounded holds the window.
constexpr qint64 kFrozenMs = 500;

// Nothing listens there: connecting is refused at once.
const QString kRefusedAddress = QStringLiteral("http://127.0.0.1:9/tv.m3u");
const QByteArray kList = "#EXTM3U\n#EXTINF:-1 group-title=\"News\",One\nsub/one.m3u8\n#EXTINF:-1,Two\nhttp://s/two\n";

// Leaves every new file open to everyone unless the program narrows it.
struct OpenUmask {
    mode_t previous = ::umask(0);
    ~OpenUmask() { ::umask(previous); }
};

int Mode(const QString& path)
{
    struct stat info{};
    constexpr mode_t kPermissionBits = 0777;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? static_cast<int>(info.st_mode & kPermissionBits) : -1;
}

} // namespace

class PlaylistLibraryTest : public ::testing::Test
{
protected:
    TempDir dir;
    QByteArray previousCacheHome = qgetenv("XDG_CACHE_HOME");
    LanguageStrings texts;
    TinyHttpServer server;

    PlaylistLibraryTest()
    {
        qputenv("XDG_CACHE_HOME", dir.FilePath(QStringLiteral("cache")).toUtf8());
        texts[Playlists] = BuiltinTexts(Playlists);
        texts[Guidance] = BuiltinTexts(Guidance);
    }
    ~PlaylistLibraryTest() override { qputenv("XDG_CACHE_HOME", previousCacheHome); }

    QString Text(int index) const { return texts.Text(Playlists, index); }
};

TEST_F(PlaylistLibraryTest, DownloadsFollowRedirectsAcceptGzipAndRefuseWhatFails)
{
    server.responses["/list.m3u"] = HttpResponse("200 OK", kList);
    server.responses["/moved"] = HttpResponse("302 Found", {}, "Location: /tv/list.m3u\r\n");
    server.responses["/tv/list.m3u"] = HttpResponse("200 OK", kList);
    server.responses["/packed.m3u"] = HttpResponse("200 OK", Gzip(kList), "Content-Encoding: gzip\r\n");
    server.responses["/cut.m3u"] = HttpResponse("200 OK", Gzip(kList).chopped(12), "Content-Encoding: gzip\r\n");
    server.responses["/missing.m3u"] = HttpResponse("404 Not Found", "no");
    server.responses["/page"] = HttpResponse("200 OK", "<!DOCTYPE html><html><body>sign in</body></html>");
    server.responses["/huge.m3u"] = HttpResponse("200 OK", "#EXTM3U\n" + QByteArray(M3uParser::kMaxBytes, '\n'));

    struct Case {
        const char* path;
        QString firstAddress; // empty: refused with reason
        QString reason;
    };
    const Case cases[] = {
        {"/list.m3u", server.Url("/sub/one.m3u8"), {}},
        {"/moved", server.Url("/tv/sub/one.m3u8"), {}}, // relative to where the redirect led
        {"/packed.m3u", server.Url("/sub/one.m3u8"), {}},
        {"/cut.m3u", {}, Text(PlaylistDamagedDownload)},
        {"/missing.m3u", {}, Text(PlaylistHttpError).arg(404)},
        {"/page", {}, Text(PlaylistIsWebPage)},
        {"/huge.m3u", {}, Text(PlaylistTooLarge)},
        {"/silent.m3u", {}, Text(PlaylistTimedOut)},
        {"refused", {}, texts.Text(Guidance, GuidanceConnectionRefused)},
    };
    for (const Case& c : cases) {
        PlaylistLibrary library(texts);
        library.Load(dir.Path());
        library.SetDownloadTimeout(c.reason == Text(PlaylistTimedOut) ? 300 : 20000);
        QSignalSpy imported(&library, &PlaylistLibrary::Imported);
        QSignalSpy failed(&library, &PlaylistLibrary::Failed);
        library.Add(QLatin1String(c.path) == QLatin1String("refused") ? kRefusedAddress : server.Url(c.path));
        ASSERT_TRUE(QTest::qWaitFor([&] { return imported.size() + failed.size() > 0; }, 20000)) << c.path;
        if (c.firstAddress.isEmpty()) {
            EXPECT_TRUE(library.Playlists().empty()) << c.path;
            EXPECT_EQ(failed.value(0).value(1).toString(), c.reason) << c.path;
            continue;
        }
        ASSERT_EQ(library.Playlists().size(), 1u) << c.path;
        const Playlist& playlist = library.Playlists()[0];
        ASSERT_EQ(playlist.channels.size(), 2u) << c.path;
        EXPECT_EQ(playlist.channels[0].address, c.firstAddress) << c.path;
        EXPECT_EQ(playlist.channels[0].group, "News");
        EXPECT_TRUE(playlist.lastRefresh.isValid());
        library.Remove(0);
    }
}

TEST_F(PlaylistLibraryTest, ImportReportKeepsTheNameAsItIsAndNamesTheFirstRefusedLines)
{
    texts[Readers] = BuiltinTexts(Readers);
    const struct {
        QByteArray list;
        const char* report; // after the playlist's name
    } cases[] = {
        {"#EXTM3U\nhttp://s/a\n<p>\n", " was imported. 1 line could not be read and was skipped.\nLine 3: markup, not an address"},
        {"#EXTM3U\nhttp://s/a\njavascript:alert(1)\n",
         " was imported. 1 line was not allowed and was skipped.\nLine 3: this kind of address is not allowed"},
        {"[NO PUBLIC STREAM]\nhttp://s/a\nav://lavfi:x\n",
         " was imported. 2 lines were skipped.\nLine 1: neither an address nor a file\n"
         "Line 3: this kind of address is not allowed"},
    };
    for (const auto& c : cases) {
        dir.WriteFile(QStringLiteral("pl%1.m3u"), c.list);
        PlaylistLibrary library(texts);
        library.Load(dir.Path());
        QSignalSpy imported(&library, &PlaylistLibrary::Imported);
        library.Add(dir.FilePath(QStringLiteral("pl%1.m3u")));
        ASSERT_TRUE(QTest::qWaitFor([&] { return imported.size() == 1; }, 20000));
        EXPECT_EQ(imported[0][2].toString(), QStringLiteral("The playlist \"pl%1\"") + QString::fromUtf8(c.report));
    }
}

TEST_F(PlaylistLibraryTest, ListAndCopiesSurviveARestartWithoutNetwork)
{
    server.responses["/moved"] = HttpResponse("302 Found", {}, "Location: /tv/list.m3u\r\n");
    server.responses["/tv/list.m3u"] = HttpResponse("200 OK", kList);
    const QString address = server.Url("/moved");
    dir.WriteFile(QStringLiteral("mine.m3u"), "#EXTINF:-1,Local\nclip.ts\nfile:///x.ts|\n#EXTINF:-1,Orphan\n");
    {
        const OpenUmask openUmask;
        PlaylistLibrary library(texts);
        library.Load(dir.Path());
        QSignalSpy imported(&library, &PlaylistLibrary::Imported);
        library.Add(dir.FilePath(QStringLiteral("mine.m3u")));
        ASSERT_TRUE(QTest::qWaitFor([&] { return imported.size() == 1; }, 20000));
        library.Add(QStringLiteral("HTTP") + address.mid(4)); // the same playlist however it is typed
        library.Add(address);
        ASSERT_TRUE(QTest::qWaitFor([&] { return imported.size() == 2; }, 20000));
        EXPECT_EQ(imported[0].mid(0, 2), (QVariantList{"mine", 1}));
        library.Rename(1, QStringLiteral(" News & more "));
    }
    const QByteArray file = dir.ReadFile(QStringLiteral("Korvanta/Playlists.xml"));
    EXPECT_TRUE(file.contains("name=\"News &amp; more\" source=\"" + address.toUtf8() + "\" location=\""
                              + server.Url("/tv/list.m3u").toUtf8() + "\""));
    EXPECT_TRUE(file.contains("lastError=\"\" />\r\n"));
    // Addresses may carry tokens: only the viewer may read them or the lists.
    EXPECT_EQ(Mode(dir.FilePath(QStringLiteral("Korvanta/Playlists.xml"))), 0600);
    EXPECT_EQ(Mode(dir.FilePath(QStringLiteral("cache/Korvanta"))), 0700);
    EXPECT_EQ(Mode(PlaylistCachePath(address)), 0600);

    // Fresh copies are not fetched again; the address now answers nothing. Relative
    // entries still resolve against where the redirect led.
    server.responses.clear();
    PlaylistLibrary library(texts);
    library.Load(dir.Path());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !library.IsBusy(); }, 20000));
    ASSERT_EQ(library.Playlists().size(), 2u);
    EXPECT_EQ(library.Playlists()[0].channels.size(), 2u);
    EXPECT_EQ(library.Playlists()[0].channels[0].address, dir.FilePath(QStringLiteral("clip.ts")));
    EXPECT_EQ(library.Playlists()[1].name, "News & more");
    ASSERT_EQ(library.Playlists()[1].channels.size(), 2u);
    EXPECT_EQ(library.Playlists()[1].channels[0].address, server.Url("/tv/sub/one.m3u8"));

    // A refresh that fails keeps the channels and records why.
    dir.WriteFile(QStringLiteral("mine.m3u"), "");
    QSignalSpy failed(&library, &PlaylistLibrary::Failed);
    library.Refresh(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return failed.size() == 1; }, 20000));
    EXPECT_EQ(failed.value(0), (QVariantList{"mine", Text(PlaylistEmpty)}));
    EXPECT_EQ(library.Playlists()[0].channels.size(), 2u);
    EXPECT_EQ(library.Playlists()[0].lastError, Text(PlaylistEmpty));

    library.Add(QStringLiteral("ftp://h/x.m3u"));
    EXPECT_EQ(failed.value(1).value(1), Text(PlaylistUnsupportedSource));
    library.Add(QStringLiteral("http://h/") + QString(PlaylistLibrary::kMaxSourceLength, QLatin1Char('a')));
    EXPECT_EQ(failed.value(2).value(1), Text(PlaylistSourceTooLong));
    EXPECT_EQ(library.Playlists().size(), 2u);
}

// Offline, a downloaded playlist plays on from its copy, and the viewer hears why the refresh
// failed in their words and of when the copy is.
TEST_F(PlaylistLibraryTest, ARefusedRefreshKeepsTheCopyAndSaysOfWhenItIs)
{
    const QDateTime copied(QDate(2026, 3, 14), QTime(9, 26), Qt::UTC);
    dir.WriteFile(QStringLiteral("Korvanta/Playlists.xml"),
                  "<Playlists><Playlist name=\"tv\" source=\"" + kRefusedAddress.toUtf8() + "\" lastRefresh=\""
                      + copied.toString(Qt::ISODate).toUtf8() + "\" /></Playlists>");
    ASSERT_TRUE(WriteCachedPlaylist(kRefusedAddress, kList));
    PlaylistLibrary library(texts);
    library.Load(dir.Path());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !library.IsBusy(); }, 20000));
    ASSERT_EQ(library.Playlists().size(), 1u); // the stale copy's own download was refused quietly

    QSignalSpy failed(&library, &PlaylistLibrary::Failed);
    QSignalSpy kept(&library, &PlaylistLibrary::CopyKept);
    library.Refresh(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return kept.size() == 1; }, 20000));
    const QString refused = texts.Text(Guidance, GuidanceConnectionRefused);
    const QString message = kept[0][1].toString();
    EXPECT_TRUE(message.startsWith(QStringLiteral("The playlist \"tv\" could not be refreshed: ") + refused)) << qPrintable(message);
    EXPECT_TRUE(message.contains(QStringLiteral("The copy of ") + QLocale::c().toString(copied.toLocalTime(), QLocale::ShortFormat)))
        << qPrintable(message);
    EXPECT_TRUE(failed.isEmpty());
    EXPECT_EQ(library.Playlists()[0].channels.size(), 2u);
    EXPECT_EQ(library.Playlists()[0].lastError, refused);
}

TEST_F(PlaylistLibraryTest, DamagedListIsKeptUntilThePlaylistsChange)
{
    const QByteArray damaged = "<Playlists><Playlist name=\"x\" source=\"/tmp/a.m3u\">";
    dir.WriteFile(QStringLiteral("Korvanta/Playlists.xml"), damaged);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.FilePath(QStringLiteral("Korvanta/Playlists.xml"))).constData(), 0644), 0);
    dir.WriteFile(QStringLiteral("a.m3u"), "http://s/a\n");
    PlaylistLibrary library(texts);
    library.Load(dir.Path());
    EXPECT_TRUE(library.Playlists().empty());
    EXPECT_TRUE(library.Save());
    EXPECT_EQ(dir.ReadFile(QStringLiteral("Korvanta/Playlists.xml")), damaged);

    library.Add(dir.FilePath(QStringLiteral("a.m3u")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !library.IsBusy(); }, 20000));
    EXPECT_TRUE(dir.ReadFile(QStringLiteral("Korvanta/Playlists.xml")).contains("name=\"a\""));
    EXPECT_EQ(Mode(dir.FilePath(QStringLiteral("Korvanta/Playlists.xml"))), 0600); // was readable by all

}

// Sources that cannot be read: refused with the reason when added; at start, kept in the
// list as unavailable, saying why, and an address whose copy is gone is downloaded again.
TEST_F(PlaylistLibraryTest, UnreadableSourcesAreRefusedWhenAddedAndUnavailableAtStart)
{
    ASSERT_EQ(::mkfifo(dir.FilePath(QStringLiteral("fifo.m3u")).toLocal8Bit().constData(), 0600), 0);
    QDir(dir.Path()).mkdir(QStringLiteral("folder.m3u"));
    server.responses["/back.m3u"] = HttpResponse("200 OK", kList);
    server.responses["/gone.m3u"] = HttpResponse("404 Not Found", "no");
    const QString fresh = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    struct Case {
        QString source;
        QString reason; // empty: available again
    };
    const Case cases[] = {
        {dir.FilePath(QStringLiteral("missing.m3u")), Text(PlaylistCannotOpen)},
        {dir.FilePath(QStringLiteral("fifo.m3u")), Text(PlaylistNotRegularFile)},
        {dir.FilePath(QStringLiteral("folder.m3u")), Text(PlaylistNotRegularFile)},
        {QStringLiteral("/dev/zero"), Text(PlaylistNotRegularFile)},
        {server.Url("/back.m3u"), {}},
        {server.Url("/gone.m3u"), Text(PlaylistHttpError).arg(404)},
    };
    QByteArray list = "<Playlists>";
    for (const Case& c : cases)
        list += "<Playlist name=\"n\" source=\"" + c.source.toUtf8() + "\" lastRefresh=\"" + fresh.toUtf8() + "\" />";
    dir.WriteFile(QStringLiteral("Korvanta/Playlists.xml"), list + "</Playlists>");

    PlaylistLibrary library(texts);
    {
        const StallWatch stalls;
        library.Load(dir.Path());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !library.IsBusy(); }, 20000));
        EXPECT_LT(stalls.LongestGapMs(), kFrozenMs);
    }
    ASSERT_EQ(library.Playlists().size(), std::size(cases));
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const Playlist& playlist = library.Playlists()[k];
        EXPECT_EQ(playlist.unavailable, !cases[k].reason.isEmpty()) << k;
        EXPECT_EQ(playlist.lastError, cases[k].reason) << k;
        EXPECT_EQ(playlist.channels.size(), cases[k].reason.isEmpty() ? 2u : 0u) << k;
    }

    PlaylistLibrary empty(texts);
    QSignalSpy failed(&empty, &PlaylistLibrary::Failed);
    const StallWatch stalls;
    for (std::size_t k = 0; k < 4; ++k) {
        empty.Add(cases[k].source);
        ASSERT_TRUE(QTest::qWaitFor([&] { return failed.size() == static_cast<int>(k) + 1; }, 20000));
        EXPECT_EQ(failed.value(static_cast<qsizetype>(k)).value(1), cases[k].reason) << k;
    }
    EXPECT_LT(stalls.LongestGapMs(), kFrozenMs);
}

// A load cancelled half way, whether it downloads with or without a declared length or is
// already parsing, leaves the playlists, their copies and the viewer's messages as they were.
TEST_F(PlaylistLibraryTest, ACancelledLoadShowsHowFarItGotAndLeavesEverythingAsItWas)
{
    QByteArray big = "#EXTM3U\n";
    for (int k = 0; k < 200000; ++k)
        big += "#EXTINF:-1,Channel " + QByteArray::number(k) + "\nhttp://s/" + QByteArray::number(k) + "\n";
    const qsizetype sent = big.size() - big.size() / 2;
    server.responses["/tv.m3u"] = HttpResponse("200 OK", kList);
    PlaylistLibrary library(texts);
    library.Load(dir.Path());
    QSignalSpy imported(&library, &PlaylistLibrary::Imported);
    const QString tv = server.Url("/tv.m3u");
    library.Add(tv);
    ASSERT_TRUE(QTest::qWaitFor([&] { return imported.size() == 1; }, 20000));
    const auto copyOfTv = [&] {
        QFile file(PlaylistCachePath(tv));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    ASSERT_EQ(copyOfTv(), kList);
    QSignalSpy failed(&library, &PlaylistLibrary::Failed);
    QSignalSpy kept(&library, &PlaylistLibrary::CopyKept);
    QSignalSpy progressed(&library, &PlaylistLibrary::Progress);

    const QString added = server.Url("/new.m3u");
    dir.WriteFile(QStringLiteral("big.m3u"), big);
    const QString local = dir.FilePath(QStringLiteral("big.m3u"));
    struct Case {
        const char* what;
        QString source;
        QByteArray response; // empty: a local file
        int permille;        // seen before the cancel
    };
    const Case cases[] = {
        {"refresh", tv, HttpResponse("200 OK", big), 450},
        {"refresh of undeclared length", tv, "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + big,
         PlaylistProgress::kUnknown},
        {"add", added, HttpResponse("200 OK", big), 450},
        {"add being parsed", local, {}, 900},
    };
    for (const Case& c : cases) {
        progressed.clear();
        if (!c.response.isEmpty()) {
            const QByteArray path = QUrl(c.source).path().toUtf8();
            server.responses[path] = c.response;
            server.heldBack[path] = big.size() / 2;
        }
        library.Add(c.source);
        const auto seen = [&] {
            const std::optional<PlaylistProgress> progress = library.ProgressOf(c.source);
            return progress && (c.response.isEmpty() ? progress->permille == c.permille : progress->receivedBytes == sent);
        };
        ASSERT_TRUE(QTest::qWaitFor(seen, 20000)) << c.what;
        EXPECT_EQ(library.ProgressOf(c.source)->permille, c.permille) << c.what;
        EXPECT_EQ(library.Adding(), c.source == tv ? QStringList() : QStringList{c.source}) << c.what;
        EXPECT_GE(progressed.size(), 2) << c.what; // begun, then further

        library.Cancel(c.source);
        EXPECT_FALSE(library.ProgressOf(c.source).has_value()) << c.what;
        EXPECT_EQ(progressed.last().value(0).toString(), c.source) << c.what;
        ASSERT_TRUE(QTest::qWaitFor([&] { return !library.IsBusy(); }, 20000)) << c.what; // a parse is dropped
        ASSERT_EQ(library.Playlists().size(), 1u) << c.what;
        EXPECT_EQ(library.Playlists()[0].channels.size(), 2u) << c.what;
        EXPECT_TRUE(library.Playlists()[0].lastError.isEmpty()) << c.what;
        EXPECT_EQ(copyOfTv(), kList) << c.what;
        EXPECT_TRUE(library.Adding().isEmpty()) << c.what;
    }
    EXPECT_EQ(imported.size(), 1);
    EXPECT_TRUE(failed.isEmpty());
    EXPECT_TRUE(kept.isEmpty());
}

TEST_F(PlaylistLibraryTest, AGzipBombIsRefusedEarlyWithoutFreezing)
{
    constexpr int kBombMiB = 4096;
    server.responses["/bomb.m3u"] = HttpResponse("200 OK", GzipBomb(kBombMiB), "Content-Encoding: gzip\r\n");
    QNetworkAccessManager network;
    const StallWatch stalls;
    PlaylistDownload download(network, QUrl(server.Url("/bomb.m3u")), 60000, M3uParser::kMaxBytes);
    std::optional<DownloadError> error;
    QObject::connect(&download, &PlaylistDownload::Finished,
                     [&](const QByteArray&, const QUrl&, DownloadError reason, const QString&) { error = reason; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return error.has_value(); }, 60000));
    EXPECT_EQ(error, DownloadError::TooLarge);
    // About what inflates to the limit, far from the 4 MiB on the wire.
    EXPECT_LT(download.ReceivedBytes(), 1024 * 1024);
    EXPECT_LT(stalls.LongestGapMs(), kFrozenMs);
}
