#include "GuideStore.h"

#include "GuideTimeline.h"
#include "TextFold.h"

#include <algorithm>

namespace {

// How far back a programme running now may have started: longer ones are not looked for.
constexpr qint64 kLongestProgramme = kGuideLongestProgramme;

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

// The link's guide channels, the first guide's first.
std::vector<qint64> ChannelsOf(const GuideLink& link)
{
    std::vector<qint64> channels{link.channel};
    channels.insert(channels.end(), link.later.begin(), link.later.end());
    return channels;
}

} // namespace

struct GuideStore::Statements {
    GuideDatabase::Statement now, next, range, guides, channels, icon;

    explicit Statements(const GuideDatabase& db)
        : now(db, Query("AND start <= ?2 AND start > ?2 - ?3 AND (stop IS NULL OR stop > ?2) "
                        "ORDER BY start DESC LIMIT 1").c_str()),
          next(db, Query("AND start > ?2 ORDER BY start LIMIT 1").c_str()),
          range(db, Query("AND start < ?3 AND start > ?2 - ?4 AND (stop IS NULL OR stop > ?2) ORDER BY start").c_str()),
          guides(db, "SELECT source, imported, problem FROM guides ORDER BY id"),
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
        guides.push_back({query.Text(0), query.Integer(1), static_cast<int>(query.Integer(2))});
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
    if (link.later.empty())
        return OwnNowAndNext(link.channel, now, link.shiftSeconds);
    // Each guide's own now and next, and what the guides before one on now had since its
    // now began (which decides from when that one is shown), hold all that the merged now
    // and next are made of.
    const std::vector<qint64> channels = ChannelsOf(link);
    ByGuide byGuide(channels.size());
    std::vector<bool> onNow(channels.size());
    qint64 since = now;           // the earliest start of a programme on now
    std::size_t lastOnNow = 0;    // the last guide with one, when any has
    for (std::size_t guide = 0; guide < channels.size(); ++guide) {
        GuideNowNext own = OwnNowAndNext(channels[guide], now, link.shiftSeconds);
        if (own.now) {
            onNow[guide] = true;
            since = std::min(since, own.now->start);
            lastOnNow = guide;
        }
        for (std::optional<GuideProgramme>* programme : {&own.now, &own.next}) {
            if (*programme)
                byGuide[guide].push_back(std::move(**programme));
        }
    }
    for (std::size_t guide = 0; guide < lastOnNow; ++guide) {
        if (onNow[guide])
            continue;
        std::vector<GuideProgramme> before = OwnRange(channels[guide], since, now, link.shiftSeconds);
        byGuide[guide].insert(byGuide[guide].begin(), before.begin(), before.end());
    }
    EndOpenProgrammes(byGuide, channels, link.shiftSeconds);
    GuideNowNext found;
    for (GuideProgramme& programme : MergeGuideProgrammes(byGuide)) {
        if (programme.start <= now && now < programme.RunsUntil())
            found.now = std::move(programme);
        else if (programme.start > now && !found.next)
            found.next = std::move(programme);
    }
    return found;
}

std::vector<GuideProgramme> GuideStore::Range(const GuideLink& link, qint64 from, qint64 to) const
{
    if (!statements || !link.IsValid())
        return {};
    if (link.later.empty())
        return OwnRange(link.channel, from, to, link.shiftSeconds);
    const std::vector<qint64> channels = ChannelsOf(link);
    ByGuide byGuide;
    for (const qint64 channel : channels)
        byGuide.push_back(OwnRange(channel, from, to, link.shiftSeconds));
    EndOpenProgrammes(byGuide, channels, link.shiftSeconds);
    std::vector<GuideProgramme> programmes = MergeGuideProgrammes(byGuide);
    std::erase_if(programmes, [&](const GuideProgramme& p) { return p.RunsUntil() <= from || p.start >= to; });
    return programmes;
}

GuideNowNext GuideStore::OwnNowAndNext(qint64 channel, qint64 now, qint64 shift) const
{
    GuideNowNext found;
    const qint64 guideTime = now - shift;
    auto& current = statements->now;
    current.Bind(1, channel).Bind(2, guideTime).Bind(3, kLongestProgramme);
    if (current.Step())
        found.now = ReadProgramme(current, shift);
    current.Reset();
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
void GuideStore::EndOpenProgrammes(ByGuide& byGuide, const std::vector<qint64>& channels, qint64 shift) const
{
    auto& next = statements->next;
    for (std::size_t guide = 0; guide < byGuide.size(); ++guide) {
        for (GuideProgramme& programme : byGuide[guide]) {
            if (programme.hasStop)
                continue;
            for (std::size_t other = 0; other < channels.size(); ++other) {
                if (other == guide)
                    continue;
                next.Bind(1, channels[other]).Bind(2, programme.start - shift);
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
