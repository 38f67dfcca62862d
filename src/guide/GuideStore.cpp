#include "GuideStore.h"

#include "GuideTimeline.h"
#include "TextFold.h"

#include <algorithm>

namespace {

// How far back a programme running now may have started: longer ones are not looked for.
constexpr qint64 kLongestProgramme = kGuideLongestProgramme;
// How far after now the merge of several guides first looks for the next programme;
// twice as far each time it finds none while a guide has more.
constexpr qint64 kFirstLookAhead = 2 * 3600;

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

} // namespace

struct GuideStore::Statements {
    GuideDatabase::Statement now, next, range, guides, channels, icon;

    explicit Statements(const GuideDatabase& db)
        : now(db, Query("AND start <= ?2 AND start > ?2 - ?3 AND (stop IS NULL OR stop > ?2) "
                        "ORDER BY start DESC LIMIT 1").c_str()),
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
    GuideNowNext first = OwnNowAndNext(link.channel, now, link.shiftSeconds);
    if (link.later.empty() || FirstGuideDecides(first))
        return first;
    // The guides merged over what runs now, from an hour before the earliest of the
    // guides' programmes on now began (the pauses before them decide where a later one
    // shows from), and on until a merged programme after now turns up.
    const std::vector<GuideLinkedChannel> channels = ChannelsOf(link);
    qint64 from = first.now ? first.now->start : now;
    for (const GuideLinkedChannel& channel : link.later) {
        if (const std::optional<GuideProgramme> onNow = OwnNow(channel.channel, now, channel.shiftSeconds))
            from = std::min(from, onNow->start);
    }
    from -= kGuideGapFilled;
    GuideNowNext found;
    for (qint64 ahead = kFirstLookAhead;; ahead *= 2) {
        found = {};
        for (GuideProgramme& programme : Merged(channels, from, now + ahead)) {
            if (programme.start <= now && now < programme.RunsUntil())
                found.now = std::move(programme);
            else if (programme.start > now && programme.start < now + ahead && !found.next)
                found.next = std::move(programme);
        }
        if (found.next || !AnyStartsAfter(channels, now + ahead))
            return found;
    }
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

std::optional<GuideProgramme> GuideStore::OwnNow(qint64 channel, qint64 now, qint64 shift) const
{
    std::optional<GuideProgramme> found;
    auto& current = statements->now;
    current.Bind(1, channel).Bind(2, now - shift).Bind(3, kLongestProgramme);
    if (current.Step())
        found = ReadProgramme(current, shift);
    current.Reset();
    return found;
}

GuideNowNext GuideStore::OwnNowAndNext(qint64 channel, qint64 now, qint64 shift) const
{
    GuideNowNext found;
    const qint64 guideTime = now - shift;
    found.now = OwnNow(channel, now, shift);
    auto& next = statements->next;
    next.Bind(1, channel).Bind(2, guideTime);
    if (next.Step())
        found.next = ReadProgramme(next, shift);
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
