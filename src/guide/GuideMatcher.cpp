#include "GuideMatcher.h"

#include "TextFold.h"

#include <QCryptographicHash>

#include <algorithm>
#include <array>

namespace {
const std::array<QLatin1StringView, 5> kQualityWords = {
    QLatin1StringView("hd"), QLatin1StringView("fhd"), QLatin1StringView("uhd"),
    QLatin1StringView("4k"), QLatin1StringView("sd"),
};

bool IsQualityWord(QStringView word)
{
    return std::find(kQualityWords.begin(), kQualityWords.end(), word) != kQualityWords.end();
}

// "1080p", "576i".
bool IsResolution(QStringView word)
{
    return word.size() > 1 && (word.back() == QLatin1Char('p') || word.back() == QLatin1Char('i'))
           && std::all_of(word.begin(), word.end() - 1, [](QChar c) { return c.isDigit(); });
}

// The words of letters and digits, so "BBC One (HD)" and "bbc-one" are alike.
QStringList Words(QStringView text)
{
    QStringList words;
    QString word;
    for (QChar c : text) {
        if (c.isLetterOrNumber()) {
            word += c;
        } else if (!word.isEmpty()) {
            words.append(word);
            word.clear();
        }
    }
    if (!word.isEmpty())
        words.append(word);
    return words;
}

// Lists mark names in brackets with how or where a stream plays, not which channel it is:
// "(1080p)", "(HD)", "[Geo-blocked]", "[Not 24/7]". Round brackets go when they hold
// resolutions and quality words only, "(East)" stays; square ones always, as such lists
// keep them for their notes. A name that is nothing but marks stays whole.
QStringView WithoutMarks(QStringView name)
{
    for (name = name.trimmed(); name.endsWith(QLatin1Char(')')) || name.endsWith(QLatin1Char(']'));) {
        const bool round = name.endsWith(QLatin1Char(')'));
        const qsizetype open = name.lastIndexOf(round ? QLatin1Char('(') : QLatin1Char('['));
        const QStringView before = open > 0 ? name.first(open).trimmed() : QStringView();
        if (before.isEmpty())
            break;
        if (round) {
            const QStringList marks = Words(name.sliced(open + 1));
            if (marks.isEmpty() || !std::all_of(marks.begin(), marks.end(), [](const QString& word) {
                    return IsQualityWord(word) || IsResolution(word);
                }))
                break;
        }
        name = before;
    }
    return name;
}
} // namespace

GuideMatcher::GuideMatcher() : fingerprint(MakeFingerprint()) {}

GuideMatcher::GuideMatcher(const std::vector<GuideViewerChannel>& channels, GuideChoices choices)
    : choices(std::move(choices))
{
    for (const GuideViewerChannel& channel : channels) {
        if (!channel.tvgId.isEmpty())
            viewerIds.insert(IdKey(channel.tvgId));
        if (const QString feedless = FeedlessIdKey(channel.tvgId); !feedless.isEmpty())
            viewerIds.insert(feedless);
        for (const QString* name : {&channel.tvgName, &channel.name}) {
            if (const QString key = NameKey(*name); !key.isEmpty())
                viewerNames.insert(key);
        }
    }
    for (const auto& [key, choice] : this->choices)
        chosen.insert(ChoiceKey(choice.source, choice.id));
    fingerprint = MakeFingerprint();
}

QByteArray GuideMatcher::MakeFingerprint() const
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const QSet<QString>* keys : {&viewerIds, &viewerNames, &chosen}) {
        QStringList sorted(keys->begin(), keys->end());
        sorted.sort();
        hash.addData(sorted.join(QLatin1Char('\n')).toUtf8());
        hash.addData(QByteArrayView("\0", 1));
    }
    return hash.result();
}

QString GuideMatcher::IdKey(const QString& id)
{
    return id.trimmed().toCaseFolded();
}

QString GuideMatcher::FeedlessIdKey(const QString& id)
{
    const QString key = IdKey(id);
    const qsizetype at = key.lastIndexOf(QLatin1Char('@'));
    return at > 0 ? key.left(at) : QString();
}

QString GuideMatcher::NameKey(const QString& name)
{
    const QString folded = FoldText(name);
    QStringList words = Words(WithoutMarks(folded));
    while (words.size() > 1 && IsQualityWord(words.back()))
        words.removeLast();
    return words.join(QLatin1Char(' '));
}

QString GuideMatcher::ChoiceKey(const QString& source, const QString& id)
{
    return source + QLatin1Char('\n') + id;
}

bool GuideMatcher::Wants(const QString& source, const QString& id, const QStringList& names) const
{
    if (viewerIds.contains(IdKey(id)) || chosen.contains(ChoiceKey(source, id)))
        return true;
    return std::any_of(names.begin(), names.end(), [this](const QString& name) {
        return viewerNames.contains(NameKey(name));
    });
}

void GuideMatcher::Insert(Candidates& list, const Candidate& candidate)
{
    const auto place = std::find_if(list.begin(), list.end(), [&](const Candidate& c) { return c.guide >= candidate.guide; });
    if (place == list.end() || place->guide != candidate.guide)
        list.insert(place, candidate);
}

void GuideMatcher::SetGuideChannels(const std::vector<GuideChannelInfo>& channels, const QStringList& sources,
                                   const std::map<QString, GuideSetting>& settings)
{
    guideIds.clear();
    guideNames.clear();
    guideChoices.clear();
    corrections.clear();
    QHash<QString, int> places; // of the guides, by source
    QSet<int> present;          // the guides with channels
    const auto place = [&](const QString& source) {
        const auto known = places.constFind(source);
        if (known != places.constEnd())
            return known.value();
        const auto setting = settings.find(source);
        corrections.push_back(setting != settings.end() ? setting->second.correctionSeconds : 0);
        return places.insert(source, static_cast<int>(places.size())).value();
    };
    for (const QString& source : sources)
        place(source);
    for (const GuideChannelInfo& channel : channels) {
        if (const auto setting = settings.find(channel.source); setting != settings.end() && setting->second.off)
            continue;
        const int guide = place(channel.source);
        present.insert(guide);
        const Candidate candidate{guide, channel.number};
        Insert(guideIds[IdKey(channel.id)], candidate);
        guideChoices.insert(ChoiceKey(channel.source, channel.id), candidate);
        for (const QString& name : channel.names) {
            if (const QString key = NameKey(name); !key.isEmpty())
                Insert(guideNames[key], candidate);
        }
    }
    guideCount = static_cast<int>(present.size());
}

qint64 GuideMatcher::CorrectionOf(const Candidate& candidate) const
{
    return candidate.guide < static_cast<int>(corrections.size()) ? corrections[static_cast<std::size_t>(candidate.guide)] : 0;
}

void GuideMatcher::SetGlobalOffset(qint64 seconds)
{
    globalOffset = std::clamp(seconds, -kMaxOffsetSeconds, kMaxOffsetSeconds);
}

GuideLink GuideMatcher::Find(const GuideViewerChannel& channel) const
{
    GuideLink link{0, channel.shiftSeconds + globalOffset, {}};
    if (const auto choice = choices.find(channel.key); choice != choices.end()) {
        if (const auto found = guideChoices.find(ChoiceKey(choice->second.source, choice->second.id));
            found != guideChoices.end()) {
            link.channel = found.value().number;
            link.shiftSeconds += CorrectionOf(found.value());
            return link;
        }
    }
    // Of each guide its best match: by id, by the id without its feed, by name.
    Candidates picked;
    const auto take = [&](const QHash<QString, Candidates>& keys, const QString& key) {
        const auto found = keys.find(key);
        if (key.isEmpty() || found == keys.end())
            return;
        for (const Candidate& candidate : found.value())
            Insert(picked, candidate);
    };
    if (!channel.tvgId.isEmpty()) {
        take(guideIds, IdKey(channel.tvgId));
        take(guideIds, FeedlessIdKey(channel.tvgId));
    }
    // Once every guide has its match no name need be folded: most channels have one guide.
    for (const QString* name : {&channel.tvgName, &channel.name}) {
        if (!name->isEmpty() && static_cast<int>(picked.size()) < guideCount)
            take(guideNames, NameKey(*name));
    }
    if (picked.empty())
        return {};
    link.channel = picked.front().number;
    const qint64 shift = link.shiftSeconds;
    link.shiftSeconds += CorrectionOf(picked.front());
    for (auto candidate = picked.begin() + 1; candidate != picked.end(); ++candidate)
        link.later.push_back({candidate->number, shift + CorrectionOf(*candidate)});
    return link;
}
