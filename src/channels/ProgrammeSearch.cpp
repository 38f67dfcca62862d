#include "ProgrammeSearch.h"

#include <QDateTime>

namespace {
constexpr int kShortestQuery = 2; // one letter is in nearly every title
} // namespace

ProgrammeSearch::ProgrammeSearch(QObject* parent) : QObject(parent)
{
}

void ProgrammeSearch::SetChannels(std::vector<GuideViewerChannel> channels, const GuideMatcher& matcher,
                                  const QString& path)
{
    databasePath = path;
    ++*latest; // what was asked before answers for the old channels
    work.Run(
        [channels = std::move(channels), matcher, links = links] {
            *links = {};
            for (int entry = 0; entry < static_cast<int>(channels.size()); ++entry) {
                const GuideLink link = matcher.Find(channels[static_cast<std::size_t>(entry)]);
                if (link.IsValid()) {
                    links->links.push_back(link);
                    links->entries.push_back(entry);
                }
            }
            return links->links.size();
        },
        [](std::size_t) {});
}

void ProgrammeSearch::Find(const QString& query)
{
    const quint64 asked = ++*latest;
    if (query.trimmed().size() < kShortestQuery)
        return;
    work.Run(
        [links = links, path = databasePath, query, asked, latest = latest] {
            std::vector<GuideHit> hits;
            if (asked != *latest || links->links.empty())
                return hits; // typed over already
            GuideStore store; // a connection of this thread's own
            if (!store.Open(path))
                return hits;
            hits = store.FindOnAir(links->links, query, QDateTime::currentSecsSinceEpoch());
            for (GuideHit& hit : hits)
                hit.link = links->entries[static_cast<std::size_t>(hit.link)];
            return hits;
        },
        [this, query, asked](const std::vector<GuideHit>& hits) {
            if (asked == *latest)
                emit Found(query, hits);
        });
}
