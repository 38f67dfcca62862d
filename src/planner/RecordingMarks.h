#pragma once
// Whether the rules record a programme, asked for every programme the guide grid paints:
// answered from an index of the rules, so that many rules cost no more than a few.

#include "PlannedTypes.h"

#include <QHash>
#include <QSet>

#include <unordered_set>
#include <vector>

class RecordingMarks
{
public:
    void Rebuild(const std::vector<RecordingRule>& rules);
    bool Marked(const ChannelKey& channel, const QString& title, qint64 start) const;

private:
    struct Programme {
        ChannelKey channel;
        qint64 start;
        bool operator==(const Programme&) const = default;
    };
    struct ProgrammeHash {
        std::size_t operator()(const Programme& p) const
        {
            return qHashMulti(0, p.channel.id, p.channel.playlist, p.channel.entry, p.start);
        }
    };

    // Titles folded once: the grid asks for the same few again and again.
    const QString& Folded(const QString& title) const;

    std::unordered_set<Programme, ProgrammeHash> once;
    mutable QHash<QString, QString> folded;
    QHash<QString, std::vector<ChannelKey>> series; // by folded title
    QSet<QString> anywhere;                        // folded titles of rules for any channel
};
