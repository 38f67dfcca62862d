#pragma once
// Whether the rules record a programme, asked for every programme the guide grid paints:
// answered from an index of the rules, so that many rules cost no more than a few.

#include "PlannedTypes.h"

#include <QHash>
#include <QSet>

#include <vector>

class RecordingMarks
{
public:
    void Rebuild(const std::vector<RecordingRule>& rules);
    bool Marked(const ChannelKey& channel, const QString& title, qint64 start) const;

private:
    static QString Folded(const QString& title);

    QSet<QString> once;                            // channel and start
    QHash<QString, std::vector<ChannelKey>> series; // by folded title
    QSet<QString> anywhere;                        // folded titles of rules for any channel
};
