#pragma once
// Reading the stored guides, on the thread that made the store (the window's): now and
// next, a time range for the guide window, a title search. Imports write through their
// own connection; a reader sees each guide whole, as it was before or after an import.
// A link to several guides reads them as one (GuideTimeline.h), and a programme without a
// stop ends where the next programme of its channel begins, in whichever guide.

#include "GuideDatabase.h"
#include "GuideTypes.h"

#include <memory>
#include <vector>

struct GuideInfo {
    QString source;
    qint64 imported = 0; // seconds since 1970, UTC
    int problem = 0;     // the GuideProblem of that import (a guide kept in part)
    int channels = 0;    // stored: those the viewer's channels match
};

struct GuideHit {
    int link = 0;  // index into the links searched
    bool now = false;
    GuideProgramme programme;
};

class GuideStore
{
public:
    GuideStore();
    ~GuideStore();

    bool Open(const QString& path = GuideDatabase::DefaultPath());

    std::vector<GuideInfo> Guides() const;
    // Every channel of every guide, guide by guide in the guides' order.
    std::vector<GuideChannelInfo> Channels() const;
    // The icon address of a guide channel; empty for none.
    QString ChannelIcon(qint64 channel) const;

    GuideNowNext NowAndNext(const GuideLink& link, qint64 now) const;
    // Programmes running at any time in [from, to), in order of start.
    std::vector<GuideProgramme> Range(const GuideLink& link, qint64 from, qint64 to) const;
    // Programmes on now or next on the linked channels whose title holds query, ignoring
    // case and accents; in the order of links, now before next.
    std::vector<GuideHit> FindOnAir(const std::vector<GuideLink>& links, const QString& query, qint64 now) const;

private:
    struct Statements;
    struct Around;
    struct Own;
    struct Placed;
    using ByGuide = std::vector<std::vector<GuideProgramme>>;

    Around OwnAround(qint64 channel, qint64 at, qint64 shift) const;
    std::optional<GuideProgramme> OwnNext(qint64 channel, qint64 after, qint64 shift) const;
    // Now and next from what the guides have at now and where the programme on then ends,
    // without reading their ranges; empty where that does not tell, when a programme has
    // no end or a guide's own programmes overlap.
    std::optional<GuideNowNext> PlacedNowAndNext(const std::vector<GuideLinkedChannel>& channels, qint64 now,
                                                 const Own& first) const;
    // What the merged guides have at a moment, guide by guide: each places its own there
    // only within the pause the guides before it leave, if that is an hour or more.
    std::optional<Placed> PlacedAt(const std::vector<GuideLinkedChannel>& channels, qint64 at, const Own& first,
                                   qint64 now) const;
    // A guide's next programme after a moment; the first guide's from what it had at now where that tells.
    std::optional<GuideProgramme> NextOf(const std::vector<GuideLinkedChannel>& channels, std::size_t guide, qint64 after,
                                         const Own& first) const;
    std::vector<GuideProgramme> OwnRange(qint64 channel, qint64 from, qint64 to, qint64 shift) const;
    // The guides' programmes running in [from, to), merged; read on an hour beyond to.
    std::vector<GuideProgramme> Merged(const std::vector<GuideLinkedChannel>& channels, qint64 from, qint64 to) const;
    bool AnyStartsAfter(const std::vector<GuideLinkedChannel>& channels, qint64 time) const;
    // Ends the programmes of each guide that have no end where another guide's next one
    // begins, if any does.
    void EndOpenProgrammes(ByGuide& byGuide, const std::vector<GuideLinkedChannel>& channels) const;

    GuideDatabase database;
    std::unique_ptr<Statements> statements;
};
