#include "ChannelDirectory.h"

#include "AccessTexts.h"
#include "ChannelTreeLayout.h"
#include "GuideChannels.h"
#include "GuideLibrary.h"
#include "GuideWording.h"
#include "GuidanceTexts.h"
#include "InvalidArgument.h"
#include "LanguageEntries.h"
#include "PlaylistTexts.h"
#include "SourceNames.h"
#include "StreamTable.h"

#include <QDateTime>
#include <QLocale>
#include <QUrl>

#include <algorithm>
#include <optional>

ChannelDirectory::ChannelDirectory(const LanguageStrings& texts, const ChannelLists& names,
                                   const ChannelLists& descriptions, const std::vector<Playlist>& playlists)
    : texts(texts), names(names), descriptions(descriptions), playlists(playlists)
{
}

ChannelRequest ChannelDirectory::RequestOf(const ChannelKey& key, const ChannelOrigin& origin) const
{
    if (key.IsOwn()) {
        const PlaylistChannel* channel = OwnChannel(key);
        // The playlist may have changed since the list was made.
        return channel != nullptr ? OwnRequest(StreamOf(key), channel->name, kChannelImage, origin) : ChannelRequest();
    }
    // The name is looked up once the id is known to name a channel.
    ChannelRequest request =
        BuiltinRequest(key.id, QString(), GroupImageOf(SectionNumber(key.id), ChannelPosition(key.id)), origin);
    if (!request.IsEmpty())
        request.name = NameOf(key);
    return request;
}

ChannelRequest ChannelDirectory::BuiltinRequest(ChannelId id, const QString& name, int icon,
                                                const ChannelOrigin& origin) const
{
    // A hand-edited favourite may name no built-in channel: then there is nothing to start.
    const std::optional<QString> address = id != 0 ? ResolveStreamAddress(id) : std::nullopt;
    if (!address)
        return {};
    ChannelRequest request;
    request.address = *address;
    request.name = name;
    request.origin = origin;
    request.id = id;
    request.icon = icon;
    return request;
}

ChannelRequest ChannelDirectory::OwnRequest(const OwnStream& stream, const QString& name, int icon,
                                            const ChannelOrigin& origin) const
{
    ChannelRequest request = RequestFor(stream.address, {stream.userAgent, stream.referrer});
    request.name = name;
    request.origin = origin;
    request.playlist = stream.playlist;
    request.group = stream.group;
    request.icon = icon;
    // A favourite keeps no archive of its own: its playlist's entry tells.
    for (const Playlist& playlist : playlists) {
        if (playlist.name != stream.playlist)
            continue;
        const auto entry = std::find_if(playlist.channels.begin(), playlist.channels.end(),
                                        [&](const PlaylistChannel& channel) { return channel.address == stream.address; });
        if (entry != playlist.channels.end())
            request.catchup = entry->catchup;
    }
    return request;
}

OwnStream ChannelDirectory::OwnStreamOf(const ChannelRequest& request)
{
    if (!request.IsOwn())
        return {};
    return {request.address, request.headers.userAgent, request.headers.referrer, request.playlist, request.group};
}

ChannelRequest ChannelDirectory::ArchiveRequest(const ChannelKey& key, const ArchiveSpan& span) const
{
    const ChannelRequest live = RequestOf(key, ChannelOrigin());
    const ChannelRequest archived = CatchupAddress::Request(live, span, QDateTime::currentDateTimeUtc());
    return archived.IsEmpty() ? live : archived;
}

ArchiveSpan ChannelDirectory::ArchivedProgrammeOnNow(const ChannelKey& key) const
{
    const PlaylistChannel* channel = OwnChannel(key);
    if (channel == nullptr || guides == nullptr)
        return {};
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const std::optional<GuideProgramme> onNow = guides->NowAndNext(GuideChannelOf(key), now.toSecsSinceEpoch()).now;
    if (!onNow)
        return {};
    const ArchiveSpan span = ArchiveSpan::Between(onNow->start, onNow->stop);
    return CatchupAddress::Reaches(channel->catchup, span.start, now) ? span : ArchiveSpan();
}

ChannelKey ChannelDirectory::KeyOf(const ChannelRequest& request) const
{
    if (!request.IsOwn())
        return ChannelKey{request.id};
    return FindOwnChannel(playlists, request.playlist, request.address, request.name);
}

ChannelKey ChannelDirectory::KeyOfStream(const OwnStream& stream) const
{
    if (stream.IsEmpty())
        return {};
    const QString id = stream.playlist + QLatin1Char('\n') + stream.address;
    const ChannelKey known = streamKeys.value(id);
    const PlaylistChannel* channel = OwnChannel(known);
    if (channel != nullptr && channel->address == stream.address
        && playlists[static_cast<std::size_t>(known.playlist)].name == stream.playlist)
        return known;
    const ChannelKey found = FindOwnChannel(playlists, stream.playlist, stream.address);
    streamKeys.insert(id, found);
    return found;
}

const PlaylistChannel* ChannelDirectory::OwnChannel(const ChannelKey& key) const
{
    if (!key.IsOwn() || static_cast<std::size_t>(key.playlist) >= playlists.size())
        return nullptr;
    const auto& channels = playlists[static_cast<std::size_t>(key.playlist)].channels;
    if (key.entry < 0 || static_cast<std::size_t>(key.entry) >= channels.size())
        return nullptr;
    return &channels[static_cast<std::size_t>(key.entry)];
}

OwnStream ChannelDirectory::StreamOf(const ChannelKey& key) const
{
    const PlaylistChannel* channel = OwnChannel(key);
    if (channel == nullptr)
        return {};
    return OwnStream{channel->address, channel->userAgent, channel->referrer,
                     playlists[static_cast<std::size_t>(key.playlist)].name, channel->group};
}

QString ChannelDirectory::NameOf(const ChannelKey& key) const
{
    if (const PlaylistChannel* channel = OwnChannel(key))
        return channel->name;
    return CheckedAt(CheckedAt(names, SectionIndex(key.id)), ChannelPosition(key.id));
}

int ChannelDirectory::NumberedPosition(const std::vector<ChannelKey>& keys, int number) const
{
    int byPlace = -1;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        const PlaylistChannel* channel = OwnChannel(keys[k]);
        bool numeric = false;
        const bool numbered = channel != nullptr && !channel->number.isEmpty();
        if (numbered && channel->number.toInt(&numeric) == number && numeric)
            return static_cast<int>(k);
        if (!numbered && static_cast<int>(k) + 1 == number && byPlace < 0)
            byPlace = static_cast<int>(k);
    }
    return byPlace;
}

QString ChannelDirectory::AccountDescription(int playlist, int entry) const
{
    if (!accountViews.describe || playlist < 0 || static_cast<std::size_t>(playlist) >= playlists.size())
        return {};
    return accountViews.describe(playlists[static_cast<std::size_t>(playlist)], entry);
}

QString ChannelDirectory::DescriptionOf(const ChannelKey& key) const
{
    if (key.IsOwn() && OwnChannel(key) != nullptr && playlists[static_cast<std::size_t>(key.playlist)].account) {
        const QString details = AccountDescription(key.playlist, key.entry);
        const QString own = DescriptionOf(StreamOf(key));
        return details.isEmpty() ? own : details + QStringLiteral("\n\n") + own;
    }
    if (key.IsOwn())
        return DescriptionOf(StreamOf(key));
    return key.id != 0 ? DescriptionOf(key.id) : QString();
}

QString ChannelDirectory::DescriptionOf(ChannelId id) const
{
    const int section = SectionIndex(id);
    if (section < 0 || section >= kSectionCount)
        return QString(); // a hand-edited favourite naming no section
    return CheckedAt(CheckedAt(descriptions, section), ChannelPosition(id));
}

QString ChannelDirectory::DescriptionOf(const OwnStream& stream) const
{
    QStringList lines;
    if (!stream.group.isEmpty())
        lines.append(PlaylistText(PlaylistGroupLine).arg(stream.group));
    if (!stream.playlist.isEmpty())
        lines.append(PlaylistText(PlaylistSourceLine).arg(stream.playlist));
    const QString host = QUrl(stream.address).host();
    if (!host.isEmpty())
        lines.append(PlaylistText(PlaylistServerLine).arg(host));
    return lines.join(QLatin1Char('\n'));
}

// A failure of an earlier run has no time of its own on record; a downloaded playlist whose
// refresh failed also says of when the copy in use is.
QString ChannelDirectory::RefreshText(const Playlist& playlist) const
{
    if (playlist.unavailable)
        return playlist.lastError;
    const QStringList& guidance = texts[Guidance];
    const auto when = [this](const QDateTime& at) { return ViewerDateTime(texts, at); };
    if (playlist.lastError.isEmpty())
        return playlist.lastRefresh.isValid() ? guidance.value(GuidanceLastRefreshGood).arg(when(playlist.lastRefresh))
                                              : QString();
    QStringList lines;
    lines.append(playlist.lastFailure.isValid()
                     ? guidance.value(GuidanceLastRefreshBad).arg(when(playlist.lastFailure), playlist.lastError)
                     : playlist.lastError);
    if (IsWebAddress(playlist.source) && playlist.lastRefresh.isValid())
        lines.append(guidance.value(GuidanceCopyInUse).arg(when(playlist.lastRefresh)));
    return lines.join(QLatin1Char('\n'));
}

QString ChannelDirectory::OnAirText(const ChannelKey& key) const
{
    if (guides == nullptr || (key.id == 0 && !key.IsOwn()))
        return {};
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const QString text = GuideOnAirText(texts, guides->NowAndNext(GuideChannelOf(key), now), now);
    if (!text.isEmpty() || !accountViews.onAir || OwnChannel(key) == nullptr
        || !playlists[static_cast<std::size_t>(key.playlist)].account)
        return text;
    return GuideOnAirText(texts, accountViews.onAir(playlists[static_cast<std::size_t>(key.playlist)], key.entry), now);
}

std::optional<GuideProgramme> ChannelDirectory::NextProgrammeOf(const ChannelKey& key) const
{
    if (guides == nullptr || (key.id == 0 && !key.IsOwn()))
        return std::nullopt;
    return guides->NowAndNext(GuideChannelOf(key), QDateTime::currentSecsSinceEpoch()).next;
}

QString ChannelDirectory::LogoAddressOf(const ChannelKey& key) const
{
    const PlaylistChannel* channel = OwnChannel(key);
    if (channel == nullptr || !channel->logo.isEmpty() || guides == nullptr)
        return channel != nullptr ? channel->logo : QString();
    return guides->Store().ChannelIcon(guides->LinkOf(GuideChannelOf(key)).channel);
}

QString ChannelDirectory::PosterAddressOf(const ChannelKey& key) const
{
    const QString poster = accountViews.poster && OwnChannel(key) != nullptr
                               ? accountViews.poster(playlists[static_cast<std::size_t>(key.playlist)], key.entry)
                               : QString();
    return poster.isEmpty() ? LogoAddressOf(key) : poster;
}

GuideViewerChannel ChannelDirectory::GuideChannelOf(const ChannelKey& key) const
{
    return ::GuideChannelOf(key, names, playlists);
}

const QString& ChannelDirectory::PlaylistText(int index) const
{
    return texts.Text(::Playlists, index);
}
