#pragma once
// The search's programmes: what is on now or next on the searchable channels whose title
// holds what was typed, found on a worker so that typing never waits for the guide. The
// channels are matched to the guide once per change of the channels or the guide; an
// answer to a query typed over since is dropped.

#include "BackgroundWork.h"
#include "GuideMatcher.h"
#include "GuideStore.h"

#include <QObject>

#include <atomic>
#include <memory>
#include <vector>

class ProgrammeSearch : public QObject
{
    Q_OBJECT
public:
    explicit ProgrammeSearch(QObject* parent = nullptr);

    // The searchable channels, by search entry, matched with matcher to the store at
    // databasePath.
    void SetChannels(std::vector<GuideViewerChannel> channels, const GuideMatcher& matcher,
                     const QString& databasePath);
    void Find(const QString& query);

signals:
    // hits' link is the channel's search entry.
    void Found(const QString& query, const std::vector<GuideHit>& hits);

private:
    struct Links {
        std::vector<GuideLink> links;
        std::vector<int> entries; // the search entry of each link
    };

    // Written and read by the worker alone, whose pieces run one at a time in order, so a
    // query always meets the channels set before it.
    std::shared_ptr<Links> links = std::make_shared<Links>();
    QString databasePath;
    std::shared_ptr<std::atomic<quint64>> latest = std::make_shared<std::atomic<quint64>>(0);
    BackgroundWork work{this}; // last: gone first
};
