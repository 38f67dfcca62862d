#include "RecordingMarks.h"

namespace {

QString ProgrammeKey(const ChannelKey& channel, qint64 start)
{
    return QStringLiteral("%1/%2/%3/%4").arg(channel.id).arg(channel.playlist).arg(channel.entry).arg(start);
}

} // namespace

QString RecordingMarks::Folded(const QString& title)
{
    return title.simplified().toCaseFolded();
}

void RecordingMarks::Rebuild(const std::vector<RecordingRule>& rules)
{
    once.clear();
    series.clear();
    anywhere.clear();
    for (const RecordingRule& rule : rules) {
        if (rule.kind == RuleKind::Once)
            once.insert(ProgrammeKey(rule.channel, rule.programme.start.time_since_epoch().count()));
        else if (rule.anyChannel)
            anywhere.insert(Folded(rule.programme.title));
        else
            series[Folded(rule.programme.title)].push_back(rule.channel);
    }
}

bool RecordingMarks::Marked(const ChannelKey& channel, const QString& title, qint64 start) const
{
    if (!once.isEmpty() && once.contains(ProgrammeKey(channel, start)))
        return true;
    if (series.isEmpty() && anywhere.isEmpty())
        return false;
    const QString folded = Folded(title);
    if (anywhere.contains(folded))
        return true;
    const auto found = series.constFind(folded);
    return found != series.constEnd() && std::find(found->begin(), found->end(), channel) != found->end();
}
