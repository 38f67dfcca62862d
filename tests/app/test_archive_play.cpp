// A channel whose playlist offers its provider's archive: what the zoo's archive is asked
// when a programme gone by is played from the guide window, when a step back passes what the
// buffer holds, and when End returns to live.

#include "CommandId.h"
#include "GuideGrid.h"
#include "MainWindowFixture.h"
#include "GuideWindow.h"
#include "ZooServer.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>
#include <QTreeWidget>
#include <QUrlQuery>

namespace {
constexpr int kPlayingWaitMs = 20000;
constexpr int kGuideWaitMs = 20000;
constexpr qint64 kHalfHour = 1800;
constexpr qint64 kStepTolerance = 8; // seconds: the buffer held and the start's own delay
} // namespace

class ArchivePlayTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(zoo.Start()) << zoo.Error().toStdString();
        // The guide's four half hours of "One 1".."One 4" from an hour ago: One 3 is on now.
        const QByteArray guide = zoo.Url(QStringLiteral("/guide/plain.xml?start=%1").arg(guideStart)).toUtf8();
        config.WriteFile(QStringLiteral("archive.m3u"),
                         "#EXTM3U x-tvg-url=\"" + guide + "\" catchup=\"shift\" catchup-days=\"1\"\n"
                         "#EXTINF:-1 tvg-id=\"one.example\" group-title=\"Zoo\",Archived\n" +
                             zoo.Url(QStringLiteral("/archive/live.m3u8")).toUtf8() + "\n");
        ASSERT_TRUE(Start());
        app->AddPlaylists({config.FilePath(QStringLiteral("archive.m3u"))});
        ASSERT_TRUE(QTest::qWaitFor([&] { return ChannelNode() != nullptr; }, 10000));
    }

    QTreeWidgetItem* ChannelNode() const
    {
        auto* tree = app->Channels().findChild<QTreeWidget*>(QStringLiteral("channelTree"));
        for (int k = 0; k < tree->topLevelItemCount(); ++k) {
            QTreeWidgetItem* playlist = tree->topLevelItem(k);
            if (!playlist->text(0).startsWith(QLatin1String("archive")) || playlist->childCount() == 0)
                continue;
            playlist->setExpanded(true); // groups are filled when opened
            playlist->child(0)->setExpanded(true);
            return playlist->child(0)->child(0);
        }
        return nullptr;
    }

    bool Plays(bool fromArchive)
    {
        return QTest::qWaitFor([&] {
            return app->Playback().State().state == PLAYSTATE_PLAYING && app->Playback().State().request.FromArchive() == fromArchive;
        }, kPlayingWaitMs);
    }

    // The moments the archive was asked for since the last Reset (the live channel: -1).
    std::vector<qint64> Asked() const
    {
        std::vector<qint64> moments;
        for (const QJsonValue& path : QJsonDocument::fromJson(zoo.Get(QStringLiteral("/archive/log"))).array()) {
            const QUrlQuery query(QUrl(path.toString()).query());
            moments.push_back(query.hasQueryItem(QStringLiteral("utc")) ? query.queryItemValue(QStringLiteral("utc")).toLongLong()
                                                                       : -1);
        }
        return moments;
    }

    ZooServer zoo;
    const qint64 guideStart = QDateTime::currentSecsSinceEpoch() / kHalfHour * kHalfHour - 2 * kHalfHour;
};

TEST_F(ArchivePlayTest, PastProgrammesAndStepsBeyondTheBufferPlayFromTheArchiveAndEndReturnsToLive)
{
    auto* tree = app->Channels().findChild<QTreeWidget*>(QStringLiteral("channelTree"));
    tree->setCurrentItem(ChannelNode());
    emit tree->itemDoubleClicked(ChannelNode(), 0);
    ASSERT_TRUE(Plays(false)) << app->Status().Text().toStdString();

    app->Actions().Run(ID_GUIDE);
    ASSERT_NE(app->Library().GuideView(), nullptr);
    GuideGrid* grid = app->Library().GuideView()->Grid();
    ASSERT_TRUE(QTest::qWaitFor([&] {
        const std::optional<GuideProgramme> programme = grid->SelectedProgramme();
        return programme && programme->title == QLatin1String("One 3");
    }, kGuideWaitMs));
    const ArchiveSpan onNow = app->Directory().ArchivedProgrammeOnNow(
        ChannelKey{0, static_cast<int>(app->OwnPlaylists().Playlists().size()) - 1, 0});
    EXPECT_EQ(onNow.start.toSecsSinceEpoch(), guideStart + 2 * kHalfHour) << "Watch from the start";

    zoo.Reset();
    QTest::keyClick(grid, Qt::Key_Left); // One 2, gone by
    QTest::keyClick(grid, Qt::Key_Return);
    ASSERT_TRUE(Plays(true)) << app->Status().Text().toStdString();
    EXPECT_EQ(Asked().front(), guideStart + kHalfHour);
    EXPECT_TRUE(app->Status().Text().contains(QLatin1String("(from the archive"))) << app->Status().Text().toStdString();

    zoo.Reset();
    app->Actions().Run(ID_BACK_TO_LIVE);
    ASSERT_TRUE(Plays(false)) << app->Status().Text().toStdString();
    EXPECT_EQ(Asked().front(), -1);

    // Just started, the buffer holds less than a step.
    zoo.Reset();
    const qint64 stepAt = QDateTime::currentSecsSinceEpoch();
    app->Actions().Run(ID_STEP_BACK);
    ASSERT_TRUE(Plays(true)) << app->Status().Text().toStdString();
    ASSERT_FALSE(Asked().empty());
    EXPECT_NEAR(Asked().front(), stepAt - 10, kStepTolerance);
}
