// The panel's answers as typed values, whatever they hold, and the account's addresses.

#include "AccountAddress.h"
#include "AccountReader.h"

#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

TEST(AccountReader, LoginAnswerGivesTheStateOrItsRefusal)
{
    const auto state = [](const char* info) {
        return AccountReader::State(QByteArray("{\"user_info\":") + info + "}");
    };
    const AccountRead<AccountState> active =
        state(R"({"auth":1,"status":"Active","exp_date":"1800000000","active_cons":"1","max_connections":"2"})");
    EXPECT_EQ(active.refusal, AccountRefusal::None);
    EXPECT_EQ(active.value.expiry.toSecsSinceEpoch(), 1800000000);
    EXPECT_EQ(active.value.activeConnections, 1);
    EXPECT_EQ(active.value.maxConnections, 2);
    EXPECT_FALSE(state(R"({"auth":1,"status":"Active","exp_date":null})").value.expiry.isValid());

    const std::pair<const char*, AccountRefusal> refusals[] = {
        {R"({"auth":0})", AccountRefusal::WrongLogin},
        {R"({"auth":"1","status":"Expired"})", AccountRefusal::Expired},
        {R"({"auth":1,"status":"disabled"})", AccountRefusal::Disabled},
        {R"({"auth":1,"status":"Banned"})", AccountRefusal::Banned},
        {R"({"auth":1,"status":"Active","active_cons":2,"max_connections":"2"})", AccountRefusal::TooManyConnections},
        {R"("user")", AccountRefusal::NotPanel},
    };
    for (const auto& [info, refusal] : refusals)
        EXPECT_EQ(state(info).refusal, refusal) << info;
    EXPECT_EQ(AccountReader::State("<html>").refusal, AccountRefusal::NotPanel);

    // The panel's clock, which its archive addresses are written in: its offset in winter,
    // or none told.
    constexpr int kNone = -1;
    const std::pair<const char*, int> zones[] = {
        {R"("timezone":"Europe/Berlin")", 3600},
        {R"("timezone":"Nowhere/Else","time_now":"2024-01-01 09:30:00","timestamp_now":1704094200)", 7200},
        {R"("time_now":"2024-01-01 07:31:10","timestamp_now":"1704094200")", kNone},
        {R"("timezone":7,"time_now":"soon","timestamp_now":1704094200)", kNone},
    };
    const QDateTime winter(QDate(2024, 1, 1), QTime(12, 0), QTimeZone::utc());
    for (const auto& [server, offset] : zones) {
        const QString zone =
            AccountReader::State(QByteArray(R"({"user_info":{"auth":1,"status":"Active"},"server_info":{)") + server + "}}")
                .value.zone;
        EXPECT_EQ(zone.isEmpty() ? kNone : QTimeZone(zone.toLatin1()).offsetFromUtc(winter), offset) << server;
    }
}

TEST(AccountReader, ListsTakeWhatTheyCanOfWrongTypesAndRefuseWhatIsNoList)
{
    const AccountRead<std::vector<LiveStream>> live = AccountReader::Live(
        R"([1, "two", null, {"stream_id": {"x": 1}, "name": ["n"]},
            {"stream_id": 7, "name": "Seven", "num": 7, "tv_archive": "1", "tv_archive_duration": "99999"},
            {"stream_id": "8", "name": 8, "epg_channel_id": null, "tv_archive": 0, "tv_archive_duration": 5}])");
    ASSERT_EQ(live.refusal, AccountRefusal::None);
    ASSERT_EQ(live.value.size(), 2u);
    EXPECT_EQ(live.value[0].id, u"7");
    EXPECT_EQ(live.value[0].number, u"7");
    EXPECT_EQ(live.value[0].archiveDays, 365); // bounded
    EXPECT_EQ(live.value[1].name, u"8");
    EXPECT_EQ(live.value[1].archiveDays, 0);   // no archive without tv_archive

    EXPECT_EQ(AccountReader::Films("{}").refusal, AccountRefusal::None); // some panels' empty list
    EXPECT_EQ(AccountReader::Films("null").refusal, AccountRefusal::None);
    EXPECT_EQ(AccountReader::Films(R"({"a":1})").refusal, AccountRefusal::NotPanel);
    EXPECT_EQ(AccountReader::Series("\"films\"").refusal, AccountRefusal::NotPanel);
    EXPECT_EQ(AccountReader::Categories("[{\"category_id\":").refusal, AccountRefusal::NotPanel);

    QByteArray deep(100000, '[');
    deep += QByteArray(100000, ']');
    EXPECT_EQ(AccountReader::Live(deep).refusal, AccountRefusal::NotPanel);
    const QByteArray huge = "[{\"stream_id\":1,\"name\":\"" + QByteArray(1 << 20, 'x') + "\"}]";
    EXPECT_LE(AccountReader::Live(huge).value.at(0).name.size(), 500);

    QByteArray many = "[";
    for (int k = 0; k <= kMaxListEntries; ++k)
        many += "{},";
    many.back() = ']';
    EXPECT_EQ(AccountReader::Live(many).refusal, AccountRefusal::TooManyEntries);
}

TEST(AccountReader, DetailsEpisodesAndShortGuide)
{
    const AccountRead<FilmDetails> film = AccountReader::FilmInfo(
        R"({"info":{"releasedate":"2021-05-01","rating":7.5,"genre":"Drama","plot":"P","cast":"C","duration_secs":"5400"}})");
    EXPECT_EQ(film.value.year, u"2021");
    EXPECT_EQ(film.value.rating, u"7.5");
    EXPECT_EQ(film.value.minutes, 90);
    EXPECT_EQ(AccountReader::FilmInfo(R"({"info":[]})").refusal, AccountRefusal::None);

    const auto series = AccountReader::SeriesDetails(
        R"({"info":{"plot":"S"},"episodes":{"2":[{"id":"21","season":2,"episode_num":1}],
            "1":[{"id":"12","season":1,"episode_num":2},{"id":"11","season":"1","episode_num":"1"},{"title":"no id"}]}})");
    ASSERT_EQ(series.value.episodes.size(), 3u);
    EXPECT_EQ(series.value.episodes[0].id, u"11");
    EXPECT_EQ(series.value.episodes[2].id, u"21");
    EXPECT_EQ(AccountReader::SeriesDetails(R"({"episodes":[[{"id":"1","season":1,"episode_num":1}]]})").value.episodes.size(),
              1u);

    const auto guide = AccountReader::ShortGuide(
        R"({"epg_listings":[{"title":"Tm93","start_timestamp":"100","stop_timestamp":200},{"title":5},
            {"title":"TmV4dA==","start_timestamp":200,"stop_timestamp":"150"}]})");
    EXPECT_EQ(guide.value, (std::vector<ShortProgramme>{{QStringLiteral("Now"), 100, 200}, {QStringLiteral("Next"), 200, 0}}));
}

TEST(AccountAddress, PlaylistAddressServerAndHiddenPassword)
{
    const auto login = AccountAddress::LoginOfPlaylistAddress(
        QStringLiteral("http://panel.example:8080/get.php?username=ann&password=p%40ss&type=m3u_plus&output=ts"));
    ASSERT_TRUE(login.has_value());
    EXPECT_EQ(login->server, u"http://panel.example:8080");
    EXPECT_EQ(login->user, u"ann");
    EXPECT_EQ(login->password, u"p@ss");
    EXPECT_FALSE(AccountAddress::LoginOfPlaylistAddress(QStringLiteral("http://a.example/get.php?username=ann")));
    EXPECT_FALSE(AccountAddress::LoginOfPlaylistAddress(QStringLiteral("http://a.example/list.m3u?username=a&password=b")));
    EXPECT_FALSE(AccountAddress::LoginOfPlaylistAddress(QStringLiteral("ftp://a.example/get.php?username=a&password=b")));

    EXPECT_EQ(AccountAddress::ServerOf(QStringLiteral(" panel.example:8080/path?x=1 ")), u"http://panel.example:8080");
    EXPECT_EQ(AccountAddress::ServerOf(QStringLiteral("https://panel.example")), u"https://panel.example");
    EXPECT_TRUE(AccountAddress::ServerOf(QStringLiteral("ftp://panel.example")).isEmpty());
    EXPECT_TRUE(AccountAddress::ServerOf(QStringLiteral("http://")).isEmpty());

    const AccountLogin full = *login;
    const QString stream = AccountAddress::Stream(full, u"movie", QStringLiteral("5"), QStringLiteral("mkv"));
    EXPECT_EQ(stream, u"http://panel.example:8080/movie/ann/***/5.mkv");
    EXPECT_EQ(AccountAddress::Revealed(stream, full), u"http://panel.example:8080/movie/ann/p%40ss/5.mkv");
    EXPECT_EQ(AccountAddress::Masked(AccountAddress::Revealed(stream, full), full), stream);
    // Catch-up addresses made from a live one keep the hidden password where it was.
    EXPECT_EQ(AccountAddress::Revealed(QStringLiteral("http://panel.example:8080/timeshift/ann/***/60/2024-01-01:10-00/7.ts"), full),
              u"http://panel.example:8080/timeshift/ann/p%40ss/60/2024-01-01:10-00/7.ts");
    EXPECT_EQ(AccountAddress::Revealed(stream, {QStringLiteral("http://other.example"), full.user, full.password}), stream);

    const QString guide = AccountAddress::Masked(AccountAddress::Guide(full).toString(), full);
    EXPECT_FALSE(guide.contains(u"p%40ss"));
    EXPECT_TRUE(AccountAddress::Revealed(guide, full).contains(u"password=p%40ss"));
    EXPECT_EQ(AccountAddress::Masked(QStringLiteral("http://a.example/get.php?username=u&password=pw&type=m3u")),
              u"http://a.example/get.php?username=u&password=***&type=m3u");
}

// Texts that may carry an account's addresses as they left for the panel: a report's line,
// an error naming the address, a redirect's target.
TEST(AccountAddress, TheAccountsPasswordHiddenWhereverATextHoldsIt)
{
    const AccountLogin login{QStringLiteral("http://panel.example:8080"), QStringLiteral("ann"), QStringLiteral("p@ss")};
    const struct
    {
        const char* text;
        const char* shown;
    } cases[] = {
        {"http://panel.example:8080/live/ann/p@ss/7.ts", "http://panel.example:8080/live/ann/***/7.ts"},
        {"ok http://cdn.example/movie/ann/p%40ss/5.mkv (media)", "ok http://cdn.example/movie/ann/***/5.mkv (media)"},
        {"http://panel.example:8080/timeshift/ann/p@ss/60/2024-01-01:10-00/7.ts",
         "http://panel.example:8080/timeshift/ann/***/60/2024-01-01:10-00/7.ts"},
        {"cannot download http://panel.example:8080/get.php?username=ann&password=p%40ss&type=m3u: refused",
         "cannot download http://panel.example:8080/get.php?username=ann&password=***&type=m3u: refused"},
        {"\"url\": \"http://panel.example:8080/xmltv.php?username=ann&password=p@ss\"",
         "\"url\": \"http://panel.example:8080/xmltv.php?username=ann&password=***\""},
        // Another user's path and a longer password are not this account's.
        {"http://panel.example:8080/live/bob/p@ss/7.ts", "http://panel.example:8080/live/bob/p@ss/7.ts"},
        {"get.php?username=ann&password=p@ssword", "get.php?username=ann&password=p@ssword"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AccountAddress::Hidden(QString::fromUtf8(c.text), login), QString::fromUtf8(c.shown)) << c.text;
}

} // namespace
