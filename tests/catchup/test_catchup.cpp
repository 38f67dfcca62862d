// Archive addresses: what playlists say about a channel's archive, and the address built
// from it for every mode and placeholder, on a fixed clock across a daylight-saving change.

#include "CatchupAddress.h"
#include "M3uParser.h"

#include <gtest/gtest.h>

namespace {

const QUrl kList(QStringLiteral("http://lists.example/tv.m3u"));

// 2026-03-29 00:30 to 01:30 UTC: Berlin moves its clocks forward in between.
const ArchiveSpan kSpan{QDateTime::fromSecsSinceEpoch(1774744200, QTimeZone::utc()),
                        QDateTime::fromSecsSinceEpoch(1774747800, QTimeZone::utc())};
const QDateTime kNow = QDateTime::fromSecsSinceEpoch(1774749600, QTimeZone::utc());
const QTimeZone kBerlin("Europe/Berlin");
const QTimeZone kNewYork("America/New_York");

CatchupOffer Offer(CatchupMode mode, const char* source = "", int days = 0)
{
    return {mode, days, QString::fromUtf8(source)};
}

} // namespace

TEST(Catchup, PlaylistsSayItPerEntryOrInTheirHeader)
{
    const struct {
        const char* shape;
        QByteArray entryAttributes;
        CatchupOffer expected;
    } cases[] = {
        {"header defaults", "", Offer(CatchupMode::Append, "?t={utc}", 3)},
        {"entry mode and days over the header's", "catchup=\"flussonic\" catchup-days=\"5\"",
         Offer(CatchupMode::Flussonic, "?t={utc}", 5)},
        {"catchup-type, tvg-rec", "catchup-type='xc' tvg-rec=2", Offer(CatchupMode::Xc, "?t={utc}", 2)},
        {"timeshift counts days, fs is flussonic", "catchup=fs timeshift=\"4\"", Offer(CatchupMode::Flussonic, "?t={utc}", 4)},
        {"own template", "catchup=\"default\" catchup-source=\"http://a/{utc}\"",
         Offer(CatchupMode::Default, "http://a/{utc}", 3)},
        {"unknown mode offers nothing", "catchup=\"vod\"", Offer(CatchupMode::None)},
    };
    for (const auto& c : cases) {
        const QByteArray list = "#EXTM3U catchup=\"append\" catchup-days=\"3\" catchup-source=\"?t={utc}\"\n"
                                "#EXTINF:-1 " + c.entryAttributes + ",Channel\nhttp://s/a.m3u8\n";
        const M3uResult result = M3uParser(kList).Parse(list);
        ASSERT_EQ(result.channels.size(), 1u) << c.shape;
        EXPECT_EQ(result.channels[0].catchup, c.expected) << c.shape;
    }

    // Without a header: days alone shift the address, a template alone is the address.
    const M3uResult bare = M3uParser(kList).Parse("#EXTINF:-1 tvg-rec=\"7\",A\nhttp://s/a\n"
                                                  "#EXTINF:-1 catchup-source=\"http://s/b?{utc}\",B\nhttp://s/b\n"
                                                  "#EXTINF:-1,C\nhttp://s/c\n");
    ASSERT_EQ(bare.channels.size(), 3u);
    EXPECT_EQ(bare.channels[0].catchup, Offer(CatchupMode::Shift, "", 7));
    EXPECT_EQ(bare.channels[1].catchup, Offer(CatchupMode::Default, "http://s/b?{utc}"));
    EXPECT_FALSE(bare.channels[2].catchup.Offered());
}

TEST(Catchup, BuildsTheArchiveAddressForEveryModeAndPlaceholder)
{
    const struct {
        const char* shape;
        const char* address;
        CatchupOffer offer;
        const char* expected;
        QTimeZone zone = QTimeZone::utc();
    } cases[] = {
        {"shift", "http://s/ch/index.m3u8", Offer(CatchupMode::Shift),
         "http://s/ch/index.m3u8?utc=1774744200&lutc=1774749600"},
        {"shift after a query", "http://s/ch.m3u8?token=x", Offer(CatchupMode::Shift),
         "http://s/ch.m3u8?token=x&utc=1774744200&lutc=1774749600"},
        {"append", "http://s/ch.m3u8", Offer(CatchupMode::Append, "?start=${start}&end=${end}&now=${timestamp}"),
         "http://s/ch.m3u8?start=1774744200&end=1774747800&now=1774749600"},
        {"append without a template", "http://s/ch.m3u8", Offer(CatchupMode::Append), ""},
        {"default: the template is the address", "http://s/live/ch.m3u8",
         Offer(CatchupMode::Default, "http://a/{Y}/{m}/{d}/{H}{M}{S}/{utcend}-{lutc}.m3u8"),
         "http://a/2026/03/29/003000/1774747800-1774749600.m3u8"},
        {"default: the address holds the placeholders", "http://s/ch.m3u8?from={utc}", Offer(CatchupMode::Default),
         "http://s/ch.m3u8?from=1774744200"},
        {"durations and offsets in units", "http://s/ch", Offer(CatchupMode::Default, "http://a/{duration}/{duration:60}/{offset:1}/{offset:60}"),
         "http://a/3600/60/5400/90"},
        {"formatted UTC fields", "http://s/ch",
         Offer(CatchupMode::Default, "http://a/?b={utc:Y-m-d H:M:S}&e={utcend:YmdHMS}&n={lutc:H.M}"),
         "http://a/?b=2026-03-29 00:30:00&e=20260329013000&n=02.00"},
        {"(b)/(e) in local time across the change", "http://s/ch",
         Offer(CatchupMode::Default, "http://a/${(b)yyyyMMddHHmmss}-${(e)yyyyMMddHHmmss}"),
         "http://a/20260329013000-20260329033000", kBerlin},
        {"(b)/(e) asked in UTC", "http://s/ch",
         Offer(CatchupMode::Default, "http://a/${(b)yyyy-MM-dd HH:mm:ss:UTC}/${(e)HHmm:UTC}"),
         "http://a/2026-03-29 00:30:00/0130", kBerlin},
        {"(b) local on the other side of the ocean", "http://s/ch", Offer(CatchupMode::Default, "http://a/${(b)ddHH}"),
         "http://a/2820", kNewYork},
        {"every other time in UTC whatever the zone", "http://s/ch", Offer(CatchupMode::Default, "http://a/{H}:{M}"),
         "http://a/00:30", kNewYork},
        {"unknown and broken placeholders stay", "http://s/ch", Offer(CatchupMode::Default, "http://a/{x}/{duration:0}/{utc"),
         "http://a/{x}/{duration:0}/{utc"},
        {"flussonic HLS", "http://f:8080/ch1/index.m3u8?token=t", Offer(CatchupMode::Flussonic),
         "http://f:8080/ch1/index-1774744200-3600.m3u8?token=t"},
        {"flussonic MPEG-TS", "http://f/ch1/mpegts?token=t", Offer(CatchupMode::Flussonic),
         "http://f/ch1/timeshift_abs-1774744200.ts?token=t"},
        {"flussonic of another shape", "http://f/", Offer(CatchupMode::Flussonic), ""},
        {"xc", "http://x:8000/live/user/pass/42.ts", Offer(CatchupMode::Xc),
         "http://x:8000/timeshift/user/pass/60/2026-03-29:00-30/42.ts"},
        {"xc without live or extension", "http://x:8000/user/pass/42", Offer(CatchupMode::Xc),
         "http://x:8000/timeshift/user/pass/60/2026-03-29:00-30/42.ts"},
        {"xc too short", "http://x:8000/42.ts", Offer(CatchupMode::Xc), ""},
        {"the provider's template over the mode's", "http://f/ch1/index.m3u8",
         Offer(CatchupMode::Flussonic, "http://f/ch1/archive-{utc}-{duration}.m3u8"),
         "http://f/ch1/archive-1774744200-3600.m3u8"},
        {"no archive", "http://s/ch", Offer(CatchupMode::None, "http://a/{utc}"), ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CatchupAddress::Build(QString::fromUtf8(c.address), c.offer, kSpan, kNow, c.zone),
                  QString::fromUtf8(c.expected))
            << c.shape;
    }
}

TEST(Catchup, ReachesBackAsManyDaysAsOffered)
{
    const QDateTime twoDaysAgo = kNow.addDays(-2);
    EXPECT_TRUE(CatchupAddress::Reaches(Offer(CatchupMode::Shift, "", 2), twoDaysAgo, kNow));
    EXPECT_FALSE(CatchupAddress::Reaches(Offer(CatchupMode::Shift, "", 2), twoDaysAgo.addSecs(-1), kNow));
    EXPECT_TRUE(CatchupAddress::Reaches(Offer(CatchupMode::Shift), kNow.addDays(-30), kNow)); // days not said
    EXPECT_FALSE(CatchupAddress::Reaches(Offer(CatchupMode::Shift), kNow.addSecs(60), kNow)); // not yet begun
    EXPECT_FALSE(CatchupAddress::Reaches(Offer(CatchupMode::None), twoDaysAgo, kNow));
}
