#include "RecordingMarks.h"

namespace {
constexpr qsizetype kMostFoldedKept = 100000;
} // namespace

const QString& RecordingMarks::Folded(const QString& title) const
{
    const auto known = folded.constFind(title);
    if (known != folded.constEnd())
        return *known;
    if (folded.size() >= kMostFoldedKept)
        folded.clear();
    return *folded.insert(title, title.simplified().toCaseFolded());
}

void RecordingMarks::Rebuild(const std::vector<RecordingRule>& rules)
{
    once.clear();
    series.clear();
    anywhere.clear();
    for (const RecordingRule& rule : rules) {
        if (rule.kind == RuleKind::Once)
            once.insert({rule.channel, rule.programme.start.time_since_epoch().count()});
        else if (rule.anyChannel)
            anywhere.insert(Folded(rule.programme.title));
        else
            series[Folded(rule.programme.title)].push_back(rule.channel);
    }
}

bool RecordingMarks::Marked(const ChannelKey& channel, const QString& title, qint64 start) const
{
    if (!once.empty() && once.count({channel, start}) != 0)
        return true;
    if (series.isEmpty() && anywhere.isEmpty())
        return false;
    const QString& key = Folded(title);
    if (anywhere.contains(key))
        return true;
    const auto found = series.constFind(key);
    return found != series.constEnd() && std::find(found->begin(), found->end(), channel) != found->end();
}
