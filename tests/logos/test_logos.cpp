// Channel logos: downloaded once into the cache folder, refused when they are no picture
// or too large and then not asked for again for a day, the folder kept within its bound.

#include "LogoCache.h"
#include "LogoFolder.h"
#include "TempDir.h"
#include "TinyHttpServer.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {
constexpr int kWaitMs = 15000;
constexpr int kRowHeight = 20;

QByteArray Png(int width, int height, Qt::GlobalColor colour = Qt::red)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

const QByteArray kSvg = R"(<svg xmlns="http://www.w3.org/2000/svg" width="30" height="10"><rect width="30" height="10" fill="blue"/></svg>)";
} // namespace

TEST(Logos, PicturesAreKeptAndBadOnesAreNotAskedForAgainForADay)
{
    TempDir dir;
    TinyHttpServer server;
    struct Row {
        const char* path;
        QByteArray response;
        bool kept;
    };
    const Row rows[] = {
        {"/logo.png", HttpResponse("200 OK", Png(200, 100)), true},
        {"/logo.svg", HttpResponse("200 OK", kSvg, "Content-Type: image/svg+xml\r\n"), true},
        {"/gone.png", HttpResponse("404 Not Found", "gone"), false},
        {"/page.html", HttpResponse("200 OK", "<!DOCTYPE html><html><body>Not here</body></html>"), false},
        {"/huge.png", HttpResponse("200 OK", Png(16, 16) + QByteArray(LogoCache::kMaxLogoBytes, '\0')), false},
    };
    for (const Row& row : rows)
        server.responses[row.path] = row.response;

    // Asks for every logo, as the rows showing them would, until every ask is answered.
    const auto askAll = [&](LogoCache& cache) {
        QSet<QString> answered;
        const QObject listening;
        QObject::connect(&cache, &LogoCache::Answered, &listening,
                         [&](const QString& address) { answered.insert(address); });
        for (const Row& row : rows)
            cache.Logo(server.Url(row.path), kRowHeight);
        return QTest::qWaitFor([&] { return answered.size() == static_cast<qsizetype>(std::size(rows)); }, kWaitMs);
    };
    const QString folder = dir.FilePath(QStringLiteral("logos"));
    {
        LogoCache cache(folder);
        ASSERT_TRUE(askAll(cache));
        for (const Row& row : rows) {
            SCOPED_TRACE(row.path);
            const QString address = server.Url(row.path);
            EXPECT_EQ(cache.Logo(address, kRowHeight).height(), row.kept ? kRowHeight : 0);
            EXPECT_EQ(QImage(cache.StoredFile(address)).height(), row.kept ? LogoFolder::kStoredHeight : 0);
        }
    }
    LogoCache restarted(folder); // what the folder remembers
    ASSERT_TRUE(askAll(restarted));
    LogoFolder later(folder);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        const QString address = server.Url(row.path);
        EXPECT_EQ(server.requests[row.path], 1);
        EXPECT_EQ(restarted.Logo(address, kRowHeight).isNull(), !row.kept);
        const auto tomorrow = QDateTime::currentDateTimeUtc().addSecs(LogoFolder::kRetryAfterSeconds + 1);
        EXPECT_EQ(later.Lookup(address, tomorrow).state,
                  row.kept ? LogoFolder::State::Stored : LogoFolder::State::Missing);
    }
    EXPECT_TRUE(restarted.Logo(QStringLiteral("file:///etc/hostname"), kRowHeight).isNull());

    // One that never answers is dropped with the cache.
    auto leaving = std::make_unique<LogoCache>(folder);
    leaving->Logo(server.Url("/silent.png"), kRowHeight);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests["/silent.png"] == 1; }, kWaitMs));
    leaving.reset();
}

TEST(Logos, TheFolderLetsTheLeastRecentlyUsedGo)
{
    TempDir dir;
    const QByteArray logo = Png(64, 64);
    const auto address = [](char name) { return QStringLiteral("http://logos.test/%1.png").arg(name); };
    qint64 size = 0;
    {
        LogoFolder measure(dir.FilePath(QStringLiteral("measure")));
        ASSERT_FALSE(measure.Store(address('x'), logo).isNull());
        size = QFile(measure.FileOf(address('x'))).size();
    }
    // Room for three and a half.
    LogoFolder folder(dir.FilePath(QStringLiteral("logos")), 3 * size + size / 2);
    for (char name : {'a', 'b', 'c'})
        ASSERT_FALSE(folder.Store(address(name), logo).isNull());
    const auto soon = QDateTime::currentDateTimeUtc().addSecs(60);
    ASSERT_EQ(folder.Lookup(address('a'), soon).state, LogoFolder::State::Stored); // a used again
    ASSERT_FALSE(folder.Store(address('d'), logo).isNull());
    for (char name : {'a', 'b', 'c', 'd'}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(QFile::exists(folder.FileOf(address(name))), name != 'b');
    }
}
