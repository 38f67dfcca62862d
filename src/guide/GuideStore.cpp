#include "GuideStore.h"

#include "GuideTimeline.h"
#include "TextFold.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace {

// How far back a programme running now may have started: longer ones are not looked for.
constexpr qint64 kLongestProgramme = kGuideLongestProgramme;
// How far after now the merge of several guides first looks for the next programme;
// twice as far each time it finds none while a guide has more.
constexpr qint64 kFirstLookAhead = 2 * 3600;

constexpr qint64 kAlways = std::numeric_limits<qint64>::min();
constexpr qint64 kNever = std::numeric_limits<qint64>::max();

constexpr const char* kColumns = "start, stop, title, sub_title, description, category, episode, icon";

std::string Query(const char* tail)
{
    return std::string("SELECT ") + kColumns + " FROM programmes WHERE channel = ?1 " + tail;
}

GuideProgramme ReadProgramme(const GuideDatabase::Statement& row, qint64 shift)
{
    GuideProgramme programme;
    programme.start = row.Integer(0) + shift;
    programme.hasStop = !row.IsNull(1);
    programme.stop = programme.hasStop ? row.Integer(1) + shift : 0;
    programme.title = row.Text(2);
    programme.subTitle = row.Text(3);
    programme.description = row.Text(4);
    programme.category = row.Text(5);
    programme.episode = row.Text(6);
    programme.icon = row.Text(7);
    return programme;
}

// The link's guide channels with their shifts, the first guide's first.
std::vector<GuideLinkedChannel> ChannelsOf(const GuideLink& link)
{
    std::vector<GuideLinkedChannel> channels{{link.channel, link.shiftSeconds}};
    channels.insert(channels.end(), link.later.begin(), link.later.end());
    return channels;
}

// The first guide's now and next are the merged ones when the time between them is too
// short for another guide to fill, and both have their own end.
bool FirstGuideDecides(const GuideNowNext& first)
{
    return first.now && first.next && first.now->hasStop && first.next->hasStop
           && first.next->start - first.now->stop < kGuideGapFilled;
}

// The programme's part within [from, to); it has an end.
GuideProgramme Clipped(GuideProgramme programme, qint64 from, qint64 to)
{
    programme.start = std::max(programme.start, from);
    programme.stop = std::min(programme.stop, to);
    return programme;
}

} // namespace

// One guide's programmes about a moment: the one on then (the latest begun), else when
// the last before it ended.
struct GuideStore::Around {
    std::optional<GuideProgramme> on;
    qint64 endedBy = kAlways;
};

// The first guide's own at now.
struct GuideStore::Own {
    Around around;
    std::optional<GuideProgramme> next;
};

// What the merged guides have at a moment: the programme on then and the guide it is of,
// else the first after it.
struct GuideStore::Placed {
    std::optional<GuideProgramme> on, after;
    std::size_t guide = 0;
};

struct GuideStore::Statements {
    GuideDatabase::Statement around, next, range, guides, channels, icon;

    explicit Statements(const GuideDatabase& db)
        : around(db, Query("AND start <= ?2 AND start > ?2 - ?3 ORDER BY start DESC").c_str()),
          next(db, Query("AND start > ?2 ORDER BY start LIMIT 1").c_str()),
          range(db, Query("AND start < ?3 AND start > ?2 - ?4 AND (stop IS NULL OR stop > ?2) ORDER BY start").c_str()),
          guides(db, "SELECT source, imported, problem, (SELECT COUNT(*) FROM channels c WHERE c.guide = g.id) "
                     "FROM guides g ORDER BY id"),
          channels(db, "SELECT c.cid, g.source, c.id, c.names, c.icon FROM channels c JOIN guides g ON g.id = c.guide "
                       "ORDER BY c.guide, c.cid"),
          icon(db, "SELECT icon FROM channels WHERE cid = ?1")
    {
    }
};

GuideStore::GuideStore() = default;
GuideStore::~GuideStore() = default;

bool GuideStore::Open(const QString& path)
{
    statements.reset();
    if (!database.Open(path))
        return false;
    statements = std::make_unique<Statements>(database);
    return true;
}

std::vector<GuideInfo> GuideStore::Guides() const
{
    std::vector<GuideInfo> guides;
    if (!statements)
        return guides;
    auto& query = statements->guides;
    while (query.Step())
        guides.push_back({query.Text(0), query.Integer(1), static_cast<int>(query.Integer(2)),
                          static_cast<int>(query.Integer(3))});
    query.Reset();
    return guides;
}

std::vector<GuideChannelInfo> GuideStore::Channels() const
{
    std::vector<GuideChannelInfo> channels;
    if (!statements)
        return channels;
    auto& query = statements->channels;
    while (query.Step()) {
        channels.push_back({query.Integer(0), query.Text(1), query.Text(2),
                            query.Text(3).split(QLatin1Char('\n'), Qt::SkipEmptyParts), query.Text(4)});
    }
    query.Reset();
    return channels;
}

QString GuideStore::ChannelIcon(qint64 channel) const
{
    if (!statements || channel == 0)
        return {};
    auto& query = statements->icon;
    query.Bind(1, channel);
    const QString icon = query.Step() ? query.Text(0) : QString();
    query.Reset();
    return icon;
}

GuideNowNext GuideStore::NowAndNext(const GuideLink& link, qint64 now) const
{
    if (!statements || !link.IsValid())
        return {};
    const Own own{OwnAround(link.channel, now, link.shiftSeconds), OwnNext(link.channel, now, link.shiftSeconds)};
    GuideNowNext first{own.around.on, own.next};
    if (link.later.empty() || FirstGuideDecides(first))
        return first;
    const std::vector<GuideLinkedChannel> channels = ChannelsOf(link);
    if (std::optional<GuideNowNext> placed = PlacedNowAndNext(channels, now, own))
        return std::move(*placed);
    // The guides merged over what runs now, from an hour before the earliest of the
    // guides' programmes on now began (the pauses before them decide where a later one
    // shows from), and on until a merged programme after now turns up.
    qint64 from = first.now ? first.now->start : now;
    for (const GuideLinkedChannel& channel : link.later) {
        if (const std::optional<GuideProgramme> onNow = OwnAround(channel.channel, now, channel.shiftSeconds).on)
            from = std::min(from, onNow->start);
    }
    from -= kGuideGapFilled;
    GuideNowNext found;
    for (qint64 ahead = kFirstLookAhead;; ahead *= 2) {
        found = {};
        for (GuideProgramme& programme : Merged(channels, from, now + ahead)) {
            // Of a guide's overlapping programmes, the one begun last, also among the next.
            if (programme.start <= now && now < programme.RunsUntil())
                found.now = std::move(programme);
            else if (programme.start > now && programme.start < now + ahead
                     && (!found.next || found.next->start == programme.start))
                found.next = std::move(programme);
        }
        if (found.next || !AnyStartsAfter(channels, now + ahead))
            return found;
    }
}

std::optional<GuideNowNext> GuideStore::PlacedNowAndNext(const std::vector<GuideLinkedChannel>& channels, qint64 now,
                                                         const Own& first) const
{
    std::optional<Placed> atNow = PlacedAt(channels, now, first, now);
    if (!atNow)
        return {};
    if (!atNow->on)
        return GuideNowNext{{}, std::move(atNow->after)};
    // The next begins where the one on ends, or later; unless that guide's own programmes
    // overlap.
    const qint64 end = atNow->on->stop;
    const std::optional<GuideProgramme> ownNext = NextOf(channels, atNow->guide, now, first);
    if (ownNext && ownNext->start < end)
        return {};
    std::optional<Placed> atEnd = PlacedAt(channels, end, first, now);
    if (!atEnd || (atEnd->on && atEnd->on->start < end))
        return {};
    return GuideNowNext{std::move(atNow->on), atEnd->on ? std::move(atEnd->on) : std::move(atEnd->after)};
}

std::optional<GuideStore::Placed> GuideStore::PlacedAt(const std::vector<GuideLinkedChannel>& channels, qint64 at,
                                                       const Own& first, qint64 now) const
{
    Placed placed;
    qint64 from = kAlways, to = kNever; // the pause about the moment the guides so far leave
    for (std::size_t guide = 0; guide < channels.size(); ++guide) {
        if (from != kAlways && to != kNever && to - from < kGuideGapFilled)
            break;
        const GuideLinkedChannel& channel = channels[guide];
        Around around = guide == 0 && at == now ? first.around : OwnAround(channel.channel, at, channel.shiftSeconds);
        if (around.on) {
            if (!around.on->hasStop)
                return {};
            placed.on = Clipped(std::move(*around.on), from, to);
            placed.guide = guide;
            return placed;
        }
        from = std::max(from, around.endedBy);
        std::optional<GuideProgramme> next = NextOf(channels, guide, at, first);
        if (next && next->start < to) {
            if (!next->hasStop)
                return {};
            placed.after = Clipped(std::move(*next), from, std::exchange(to, next->start));
        }
    }
    return placed;
}

std::optional<GuideProgramme> GuideStore::NextOf(const std::vector<GuideLinkedChannel>& channels, std::size_t guide,
                                                 qint64 after, const Own& first) const
{
    // The first guide has nothing beginning between now and its next.
    if (guide == 0 && (!first.next || first.next->start > after))
        return first.next;
    return OwnNext(channels[guide].channel, after, channels[guide].shiftSeconds);
}

std::vector<GuideProgramme> GuideStore::Range(const GuideLink& link, qint64 from, qint64 to) const
{
    if (!statements || !link.IsValid())
        return {};
    if (link.later.empty())
        return OwnRange(link.channel, from, to, link.shiftSeconds);
    // Read an hour beyond on each side: a pause across the edges is then seen as long as it is.
    std::vector<GuideProgramme> programmes = Merged(ChannelsOf(link), from - kGuideGapFilled, to);
    std::erase_if(programmes, [&](const GuideProgramme& p) { return p.RunsUntil() <= from || p.start >= to; });
    return programmes;
}

std::vector<GuideProgramme> GuideStore::Merged(const std::vector<GuideLinkedChannel>& channels, qint64 from, qint64 to) const
{
    ByGuide byGuide;
    for (const GuideLinkedChannel& channel : channels)
        byGuide.push_back(OwnRange(channel.channel, from, to + kGuideGapFilled, channel.shiftSeconds));
    EndOpenProgrammes(byGuide, channels);
    return MergeGuideProgrammes(byGuide);
}

bool GuideStore::AnyStartsAfter(const std::vector<GuideLinkedChannel>& channels, qint64 time) const
{
    auto& next = statements->next;
    bool any = false;
    for (std::size_t k = 0; k < channels.size() && !any; ++k) {
        next.Bind(1, channels[k].channel).Bind(2, time - channels[k].shiftSeconds);
        any = next.Step();
        next.Reset();
    }
    return any;
}

GuideStore::Around GuideStore::OwnAround(qint64 channel, qint64 at, qint64 shift) const
{
    Around around;
    auto& query = statements->around;
    query.Bind(1, channel).Bind(2, at - shift).Bind(3, kLongestProgramme);
    while (query.Step()) {
        if (query.IsNull(1) || query.Integer(1) + shift > at) {
            around.on = ReadProgramme(query, shift);
            break;
        }
        around.endedBy = std::max(around.endedBy, query.Integer(1) + shift);
    }
    query.Reset();
    return around;
}

std::optional<GuideProgramme> GuideStore::OwnNext(qint64 channel, qint64 after, qint64 shift) const
{
    std::optional<GuideProgramme> found;
    auto& next = statements->next;
    next.Bind(1, channel).Bind(2, after - shift);
    if (next.Step())
        found = ReadProgramme(next, shift);
    next.Reset();
    return found;
}

std::vector<GuideProgramme> GuideStore::OwnRange(qint64 channel, qint64 from, qint64 to, qint64 shift) const
{
    std::vector<GuideProgramme> programmes;
    auto& query = statements->range;
    query.Bind(1, channel).Bind(2, from - shift).Bind(3, to - shift).Bind(4, kLongestProgramme);
    while (query.Step())
        programmes.push_back(ReadProgramme(query, shift));
    query.Reset();
    return programmes;
}

// A guide's own programmes without a stop are its last (the import ends the others where
// the next begins), so only the other guides can end them.
void GuideStore::EndOpenProgrammes(ByGuide& byGuide, const std::vector<GuideLinkedChannel>& channels) const
{
    auto& next = statements->next;
    for (std::size_t guide = 0; guide < byGuide.size(); ++guide) {
        for (GuideProgramme& programme : byGuide[guide]) {
            if (programme.hasStop)
                continue;
            for (std::size_t other = 0; other < channels.size(); ++other) {
                if (other == guide)
                    continue;
                const qint64 shift = channels[other].shiftSeconds;
                next.Bind(1, channels[other].channel).Bind(2, programme.start - shift);
                if (next.Step() && (!programme.hasStop || next.Integer(0) + shift < programme.stop)) {
                    programme.stop = next.Integer(0) + shift;
                    programme.hasStop = true;
                }
                next.Reset();
            }
        }
    }
}

std::vector<GuideHit> GuideStore::FindOnAir(const std::vector<GuideLink>& links, const QString& query, qint64 now) const
{
    std::vector<GuideHit> hits;
    const QString needle = FoldText(query.trimmed());
    if (needle.isEmpty())
        return hits;
    for (std::size_t i = 0; i < links.size(); ++i) {
        GuideNowNext onAir = NowAndNext(links[i], now);
        for (auto* programme : {&onAir.now, &onAir.next}) {
            if (*programme && FoldText((*programme)->title).contains(needle))
                hits.push_back({static_cast<int>(i), programme == &onAir.now, std::move(**programme)});
        }
    }
    return hits;
}
