#include "NextEpisode.h"

#include "EpisodeName.h"

#include <utility>

int NextEpisodeOf(const std::vector<PlaylistChannel>& channels, int entry)
{
    if (entry < 0 || std::size_t(entry) >= channels.size())
        return -1;
    const PlaylistChannel& current = channels[std::size_t(entry)];
    const std::optional<EpisodeName> name = ParseEpisodeName(current.name);
    if (!name)
        return -1;
    const std::pair after{name->season, name->episode};
    int next = -1;
    std::pair<int, int> nextAt;
    for (std::size_t k = 0; k < channels.size(); ++k) {
        if (channels[k].group != current.group)
            continue;
        const std::optional<EpisodeName> other = ParseEpisodeName(channels[k].name);
        if (!other || other->series.compare(name->series, Qt::CaseInsensitive) != 0)
            continue;
        const std::pair at{other->season, other->episode};
        if (at > after && (next < 0 || at < nextAt)) {
            next = int(k);
            nextAt = at;
        }
    }
    return next;
}
