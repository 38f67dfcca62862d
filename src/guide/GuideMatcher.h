#pragma once
// Which guide channels show the programmes of which of the viewer's channels: the viewer's
// own choice, else in each guide its channel of the same tvg-id (case ignored), else of
// that id without its feed ("TG4.ie@SD" is "TG4.ie"), else a display-name equal to
// tvg-name or the channel's name, folded as the search folds them and without the marks
// lists add to names (trailing HD, FHD, UHD, 4K, SD; "(1080p)", "[Geo-blocked]"). Every
// guide that has the channel is linked, in the guides' order. Also answers, during an
// import, which guide channels anyone watches, so only their programmes are stored.

#include "GuideTypes.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <map>
#include <vector>

// One of the viewer's channels as matching sees it: a built-in one has only its name.
struct GuideViewerChannel {
    QString key;  // what a choice is remembered under
    QString tvgId, tvgName, name;
    qint64 shiftSeconds = 0; // tvg-shift of the entry, else of its playlist's header
};

// The viewer's own choice for a channel: a channel of a guide.
struct GuideChoice {
    QString source, id;
    bool operator==(const GuideChoice&) const = default;
};

using GuideChoices = std::map<QString, GuideChoice>; // by GuideViewerChannel::key

class GuideMatcher
{
public:
    static constexpr qint64 kMaxOffsetSeconds = 12 * 3600;

    GuideMatcher();
    GuideMatcher(const std::vector<GuideViewerChannel>& channels, GuideChoices choices);

    // During an import: whether any viewer's channel matches this guide channel.
    bool Wants(const QString& source, const QString& id, const QStringList& names) const;

    // The stored guides' channels, for Find; the guides in the order of sources, those
    // it does not name after them in the store's order. A guide the settings turn off
    // links nothing, not even the viewer's choice; a correction moves its times.
    void SetGuideChannels(const std::vector<GuideChannelInfo>& channels, const QStringList& sources = {},
                          const std::map<QString, GuideSetting>& settings = {});
    // One offset added to every guide's times, within ±kMaxOffsetSeconds.
    void SetGlobalOffset(qint64 seconds);
    qint64 GlobalOffset() const { return globalOffset; }
    GuideLink Find(const GuideViewerChannel& channel) const;

    // Changes whenever Wants would answer differently. Made with the matcher, on whichever
    // thread makes it: over 200,000 channels it takes a while.
    const QByteArray& Fingerprint() const { return fingerprint; }

    static QString IdKey(const QString& id);
    // The id's key without its feed; empty for an id without one.
    static QString FeedlessIdKey(const QString& id);
    static QString NameKey(const QString& name);

private:
    // A guide channel, with the place of its guide in the guides' order.
    struct Candidate {
        int guide = 0;
        qint64 number = 0;
    };
    // Of each guide, its first channel of a key, in the guides' order.
    using Candidates = std::vector<Candidate>;

    static QString ChoiceKey(const QString& source, const QString& id);
    // Into list unless its guide is there already.
    static void Insert(Candidates& list, const Candidate& candidate);
    qint64 CorrectionOf(const Candidate& candidate) const;
    QByteArray MakeFingerprint() const;

    QSet<QString> viewerIds, viewerNames, chosen;
    GuideChoices choices;
    // The stored guides' channels by key.
    QHash<QString, Candidates> guideIds, guideNames;
    QHash<QString, Candidate> guideChoices;
    std::vector<qint64> corrections; // by the guide's place
    int guideCount = 0;
    qint64 globalOffset = 0;
    QByteArray fingerprint;
};
