// Provider accounts against a loopback panel: what an account brings, every refusal with its
// own reason, the password only in the secret service, and a start without network.

#include "AccountLibrary.h"
#include "AccountPlaylist.h"
#include "AccountsTexts.h"
#include "BuiltinTexts.h"
#include "CatchupAddress.h"
#include "FilmPlaces.h"
#include "NoFileHolds.h"
#include "PanelServer.h"
#include "TempDir.h"
#include "ZooServer.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int kWaitMs = 60000;
const QString kPassword = QStringLiteral("secret");
const QByteArray kPanelZone = "Asia/Kolkata"; // as tests/support/panel_server.py tells it

class AccountLibraryTest : public ::testing::Test
{
protected:
    TempDir folders;
    QByteArray previousCache = qgetenv("XDG_CACHE_HOME");
    LanguageStrings texts;
    std::unique_ptr<PanelServer> panel = std::make_unique<PanelServer>();

    ~AccountLibraryTest() override { qputenv("XDG_CACHE_HOME", previousCache); }

    void SetUp() override
    {
        folders.UseAsConfigHome(); // config and data
        qputenv("XDG_CACHE_HOME", folders.FilePath(QStringLiteral("cache")).toUtf8());
        texts[Accounts] = BuiltinTexts(Accounts);
        texts[Guidance] = BuiltinTexts(Guidance);
        ASSERT_TRUE(panel->Start());
    }

    static QString ConfigFolder() { return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation); }
    QString Text(int index) const { return texts.Text(Accounts, index); }

    // The playlist an account was shown as, once it came (by signal: a fetch's or the copy's).
    static std::shared_ptr<Playlist> BuiltBy(AccountLibrary& library, const std::function<void()>& start,
                                             void (AccountLibrary::*signal)(const std::shared_ptr<Playlist>&) = &AccountLibrary::Built)
    {
        QSignalSpy built(&library, signal);
        start();
        if (!WaitFor([&] { return built.count() > 0; }, kWaitMs))
            return nullptr;
        return built.takeFirst().at(0).value<std::shared_ptr<Playlist>>();
    }
};

TEST_F(AccountLibraryTest, AnAccountBringsItsLiveChannelsFilmsAndSeriesInTheServersOrder)
{
    AccountLibrary library(texts);
    library.Load(ConfigFolder());
    const auto playlist = BuiltBy(library, [&] { library.Add({panel->Server(), QStringLiteral("viewer"), kPassword}); });
    ASSERT_TRUE(playlist);
    EXPECT_TRUE(playlist->account);
    EXPECT_EQ(playlist->name, u"127.0.0.1");
    const auto& channels = playlist->channels;
    ASSERT_EQ(channels.size(), 8u);
    // Live in the categories' order (News before Sport), then films, then series.
    EXPECT_EQ(channels[0].name, u"Channel 2");
    EXPECT_EQ(channels[0].group, u"News");
    EXPECT_EQ(channels[0].number, u"2");
    EXPECT_EQ(channels[0].tvgId, u"ch2.panel");
    EXPECT_EQ(channels[1].name, u"Channel 1");
    EXPECT_EQ(channels[1].catchup, (CatchupOffer{CatchupMode::Xc, 3, {}, QTimeZone(kPanelZone)}));
    EXPECT_EQ(channels[1].address, panel->Server() + QStringLiteral("/live/viewer/***/100.ts"));
    EXPECT_EQ(channels[3].kind, EntryKind::Film);
    EXPECT_EQ(channels[3].address, panel->Server() + QStringLiteral("/movie/viewer/***/500.mp4"));
    // An id the address tells is not kept twice; a series has no address to tell it.
    EXPECT_TRUE(channels[3].id.isEmpty());
    EXPECT_EQ(AccountPlaylist::IdOf(channels[1]), u"100");
    EXPECT_EQ(AccountPlaylist::IdOf(channels[3]), u"500");
    EXPECT_FALSE(AccountPlaylist::IdOf(channels[6]).isEmpty());
    EXPECT_EQ(channels[6].kind, EntryKind::Series);
    EXPECT_EQ(playlist->guideAddresses,
              QStringList(panel->Server() + QStringLiteral("/xmltv.php?username=viewer&password=***")));
    // Only the request leaving for the panel holds the password.
    EXPECT_EQ(library.Revealed(channels[1].address), panel->Server() + QStringLiteral("/live/viewer/secret/100.ts"));
    const std::optional<AccountState> state = library.StateOf(playlist->source);
    ASSERT_TRUE(state);
    EXPECT_EQ(state->maxConnections, 2);
    EXPECT_TRUE(library.Describe(*playlist, -1).contains(Text(AccountsConnectionsLine).arg(0).arg(2)));

    // A series' episodes come when it is opened; a film's details when it is shown.
    std::vector<Playlist> shown{*playlist};
    library.SetPlaylists(&shown);
    QSignalSpy added(&library, &AccountLibrary::EntriesAdded);
    library.OpenSeries(playlist->source, 6);
    ASSERT_TRUE(WaitFor([&] { return added.count() == 1; }, kWaitMs));
    const auto episodes = added.at(0).at(1).value<std::shared_ptr<std::vector<PlaylistChannel>>>();
    ASSERT_EQ(episodes->size(), 4u);
    EXPECT_EQ(episodes->at(0).name, u"Show 1 S01E01 - Part 1");
    EXPECT_EQ(episodes->at(0).series, 6);
    EXPECT_EQ(library.Describe(shown[0], 3), Text(AccountsLoading));
    QSignalSpy details(&library, &AccountLibrary::DetailsArrived);
    ASSERT_TRUE(WaitFor([&] { return details.count() > 0; }, kWaitMs));
    EXPECT_TRUE(library.Describe(shown[0], 3).contains(Text(AccountsLengthLine).arg(90)));
    EXPECT_TRUE(panel->Asked().contains(QStringLiteral("/player_api.php?username=viewer&password=secret&action=get_vod_info&vod_id=500")));
    // The poster the details name, a series' for its episodes too.
    EXPECT_EQ(library.PosterOf(shown[0], 3), panel->Server() + QStringLiteral("/images/film-500.png"));
    shown[0].channels.insert(shown[0].channels.end(), episodes->begin(), episodes->end());
    EXPECT_EQ(library.PosterOf(shown[0], 8), QString());
    library.Describe(shown[0], 8);
    ASSERT_TRUE(WaitFor([&] { return !library.PosterOf(shown[0], 8).isEmpty(); }, kWaitMs));
    EXPECT_EQ(library.PosterOf(shown[0], 8), panel->Server() + QStringLiteral("/images/series-900.png"));

    // A live channel's now and next from the panel's short guide, asked once while current.
    EXPECT_TRUE(library.ShortGuideOf(shown[0], 1).empty());
    ASSERT_TRUE(WaitFor([&] { return !library.ShortGuideOf(shown[0], 1).empty(); }, kWaitMs));
    const std::vector<ShortProgramme> onAir = library.ShortGuideOf(shown[0], 1);
    ASSERT_EQ(onAir.size(), 2u);
    EXPECT_EQ(onAir[0].title, u"Now Showing");
    EXPECT_LT(onAir[0].start, onAir[0].stop);
    EXPECT_EQ(onAir[1].title, u"Up Next");
    EXPECT_EQ(panel->Asked().filter(QStringLiteral("action=get_short_epg&stream_id=100&limit=2")).size(), 1);
}

// The archive of a channel that keeps one: the panel's timeshift address, with the password
// only in the request that leaves, answers with the programme's stream.
TEST_F(AccountLibraryTest, APastProgrammeIsAskedOfThePanelsTimeshiftAddress)
{
    AccountLibrary library(texts);
    library.Load(ConfigFolder());
    const auto playlist = BuiltBy(library, [&] { library.Add({panel->Server(), QStringLiteral("viewer"), kPassword}); });
    ASSERT_TRUE(playlist);
    const PlaylistChannel& channel = playlist->channels[1];
    ChannelRequest live = RequestFor(channel.address);
    live.playlist = playlist->name;
    live.catchup = channel.catchup;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QDateTime start(now.date().addDays(-1), QTime(20, 30), QTimeZone::utc());
    const ChannelRequest archived = CatchupAddress::Request(live, {start, start.addSecs(45 * 60)}, now);
    ASSERT_TRUE(archived.FromArchive());
    EXPECT_TRUE(archived.PlayedAddress().contains(u"/timeshift/viewer/***/")) << qPrintable(archived.PlayedAddress());

    QNetworkAccessManager network;
    const QUrl revealed(library.Revealed(archived.PlayedAddress()));
    const std::unique_ptr<QNetworkReply> reply(network.get(QNetworkRequest(revealed)));
    ASSERT_TRUE(WaitFor([&] { return reply->isFinished(); }, kWaitMs));
    EXPECT_EQ(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
    EXPECT_EQ(reply->read(1), QByteArray("\x47")); // an MPEG-TS packet's first byte
    // In the panel's clock, not UTC.
    const QString there = start.toTimeZone(QTimeZone(kPanelZone)).toString(u"yyyy-MM-dd:HH-mm");
    const QString asked = QStringLiteral("/timeshift/viewer/secret/45/%1/100.ts").arg(there);
    EXPECT_TRUE(panel->Asked().contains(asked)) << qPrintable(panel->Asked().join(u'\n'));
}

TEST_F(AccountLibraryTest, EveryRefusalHasItsOwnReason)
{
    const struct
    {
        QString server, user, password;
        int reason;
    } cases[] = {
        {panel->Server(), QStringLiteral("viewer"), QStringLiteral("wrong"), AccountsWrongLogin},
        {panel->Server(), QStringLiteral("expired"), kPassword, AccountsExpired},
        {panel->Server(), QStringLiteral("disabled"), kPassword, AccountsDisabled},
        {panel->Server(), QStringLiteral("banned"), kPassword, AccountsBanned},
        {panel->Server(), QStringLiteral("full"), kPassword, AccountsTooManyConnections},
        {panel->Server(), QStringLiteral("html"), kPassword, AccountsNotPanel},
        {panel->Server(), QStringLiteral("hostile"), kPassword, AccountsNotPanel},
        {panel->Server(), QStringLiteral("huge"), kPassword, AccountsTooBig},
        {panel->Server(), QStringLiteral("many"), kPassword, AccountsTooManyEntries},
        {panel->Server(), QStringLiteral("slow"), kPassword, AccountsTimedOut},
        {ClosedPortUrl({}), QStringLiteral("viewer"), kPassword, AccountsRefused},
        {panel->Server(), QStringLiteral("drop"), kPassword, AccountsUnreachable},
        {QStringLiteral("ftp://127.0.0.1"), QStringLiteral("viewer"), kPassword, AccountsBadServer},
    };
    AccountLibrary library(texts);
    library.SetTimeout(1000);
    library.Load(ConfigFolder());
    QSignalSpy built(&library, &AccountLibrary::Built);
    for (const auto& c : cases) {
        QSignalSpy failed(&library, &AccountLibrary::Failed);
        library.Add({c.server, c.user, c.password});
        ASSERT_TRUE(WaitFor([&] { return failed.count() == 1; }, kWaitMs)) << qPrintable(c.user);
        EXPECT_EQ(failed.at(0).at(1).toString(), Text(c.reason)) << qPrintable(c.user);
    }
    EXPECT_EQ(built.count(), 0);
    EXPECT_FALSE(QFile::exists(ConfigFolder() + QStringLiteral("/Korvanta/Accounts.xml")));
}

TEST_F(AccountLibraryTest, AnExpiryWithinAWeekIsToldOnceADay)
{
    AccountLibrary library(texts);
    library.Load(ConfigFolder());
    QSignalSpy notices(&library, &AccountLibrary::Notice);
    ASSERT_TRUE(BuiltBy(library, [&] { library.Add({panel->Server(), QStringLiteral("expiring"), kPassword}); }));
    ASSERT_TRUE(WaitFor([&] { return notices.count() > 0; }, kWaitMs));
    EXPECT_TRUE(notices.at(0).at(0).toString().startsWith(Text(AccountsExpiresSoon).section(u'%', 0, 0)));
    library.WarnOfExpiry();
    EXPECT_EQ(notices.count(), 1);
}

TEST_F(AccountLibraryTest, PasswordInTheSecretServiceAndTheCatalogueOfflineFromItsCopy)
{
    QString source;
    {
        AccountLibrary library(texts);
        library.Load(ConfigFolder());
        const auto playlist = BuiltBy(library, [&] { library.Add({panel->Server(), QStringLiteral("viewer"), kPassword}); });
        ASSERT_TRUE(playlist);
        source = playlist->source;
    }
    ExpectNoFileHolds(kPassword);
    const QString live = panel->Server() + QStringLiteral("/live/viewer/***/100.ts");
    panel->Kill();

    // A start without network: the same tree from the copy, the password from the keyring.
    AccountLibrary library(texts);
    QSignalSpy asked(&library, &AccountLibrary::PasswordNeeded);
    const auto playlist = BuiltBy(library, [&] { library.Load(ConfigFolder()); }, &AccountLibrary::CopyRead);
    ASSERT_TRUE(playlist);
    EXPECT_EQ(playlist->channels.size(), 8u);
    EXPECT_EQ(playlist->channels[1].catchup.zone, QTimeZone(kPanelZone)); // its archive's clock kept too
    ASSERT_TRUE(WaitFor([&] { return library.Revealed(live) != live; }, kWaitMs));
    EXPECT_EQ(asked.count(), 0);

    // A refresh that cannot reach the panel keeps the copy and says why and of when.
    QSignalSpy kept(&library, &AccountLibrary::CopyKept);
    QSignalSpy built(&library, &AccountLibrary::Built);
    library.Refresh(source);
    ASSERT_TRUE(WaitFor([&] { return kept.count() == 1; }, kWaitMs));
    EXPECT_TRUE(kept.at(0).at(1).toString().startsWith(Text(AccountsRefused)));
    EXPECT_EQ(built.count(), 0);
    ExpectNoFileHolds(kPassword);
}

// A film of the account as the tree plays it.
ChannelRequest FilmRequest(const Playlist& playlist, int entry)
{
    const PlaylistChannel& film = playlist.channels[static_cast<std::size_t>(entry)];
    ChannelRequest request = RequestFor(film.address);
    request.name = film.name;
    request.playlist = playlist.name;
    request.group = film.group;
    return request;
}

TEST_F(AccountLibraryTest, AFilmsPlaceAndItsWatchedMarkOutlastARestartFromTheCopy)
{
    const QString path = folders.FilePath(QStringLiteral("Films.sqlite"));
    const auto kept = [&](const Playlist& playlist, int entry, double position, bool watched) {
        FilmPlace place;
        place.request = FilmRequest(playlist, entry);
        place.key = FilmKeyOf(place.request);
        place.position = position;
        place.length = 5400;
        place.watched = watched;
        return place;
    };
    {
        AccountLibrary library(texts);
        library.Load(ConfigFolder());
        const auto playlist = BuiltBy(library, [&] { library.Add({panel->Server(), QStringLiteral("viewer"), kPassword}); });
        ASSERT_TRUE(playlist);
        ASSERT_EQ(playlist->channels[4].kind, EntryKind::Film);
        FilmPlaces places;
        QSignalSpy loaded(&places, &FilmPlaces::Loaded);
        places.Open(path);
        ASSERT_TRUE(loaded.wait());
        places.Keep(kept(*playlist, 3, 1200, false));
        places.Keep(kept(*playlist, 4, 0, true));
        places.Flush();
    }
    panel->Kill();
    AccountLibrary library(texts);
    const auto playlist = BuiltBy(library, [&] { library.Load(ConfigFolder()); }, &AccountLibrary::CopyRead);
    ASSERT_TRUE(playlist);
    FilmPlaces places;
    QSignalSpy loaded(&places, &FilmPlaces::Loaded);
    places.Open(path);
    ASSERT_TRUE(loaded.wait());
    const FilmPlace* place = places.Find(FilmKeyOf(FilmRequest(*playlist, 3)));
    ASSERT_NE(place, nullptr);
    EXPECT_EQ(place->position, 1200);
    EXPECT_FALSE(place->key.contains(kPassword));
    EXPECT_TRUE(places.Watched(FilmKeyOf(FilmRequest(*playlist, 4))));
}

} // namespace
