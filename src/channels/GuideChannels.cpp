#include "GuideChannels.h"

namespace {

constexpr qint64 kSecondsPerMinute = 60;

GuideViewerChannel BuiltinChannel(ChannelId id, const QString& name)
{
    return {QStringLiteral("builtin:") + QString::number(id), {}, {}, name, 0};
}

// Kept under the playlist and the address, which a refresh of the playlist keeps.
GuideViewerChannel OwnChannel(const Playlist& playlist, const PlaylistChannel& channel)
{
    return {playlist.source + QLatin1Char('\n') + channel.address, channel.tvgId, channel.tvgName, channel.name,
            channel.guideShiftMinutes * kSecondsPerMinute};
}

} // namespace

GuideViewerChannel GuideChannelOf(const ChannelKey& key, const ChannelLists& names,
                                  const std::vector<Playlist>& playlists)
{
    if (key.IsOwn()) {
        if (static_cast<std::size_t>(key.playlist) >= playlists.size())
            return {};
        const Playlist& playlist = playlists[static_cast<std::size_t>(key.playlist)];
        if (key.entry < 0 || static_cast<std::size_t>(key.entry) >= playlist.channels.size())
            return {};
        return OwnChannel(playlist, playlist.channels[static_cast<std::size_t>(key.entry)]);
    }
    const int section = SectionIndex(key.id);
    if (key.id == 0 || section < 0 || section >= kSectionCount)
        return {};
    return BuiltinChannel(key.id, names[static_cast<std::size_t>(section)].value(ChannelPosition(key.id)));
}

ChannelKey FindOwnChannel(const std::vector<Playlist>& playlists, const QString& playlist, const QString& address,
                          const QString& name)
{
    for (std::size_t p = 0; p < playlists.size(); ++p) {
        if (playlists[p].name != playlist)
            continue;
        const auto& channels = playlists[p].channels;
        for (std::size_t e = 0; e < channels.size(); ++e) {
            if (channels[e].address == address && (name.isEmpty() || channels[e].name == name))
                return {0, static_cast<int>(p), static_cast<int>(e)};
        }
    }
    return {};
}

std::vector<ChannelKey> AllChannelKeys(const ChannelLists& names, const std::vector<Playlist>& playlists)
{
    std::vector<ChannelKey> keys;
    for (int section = 1; section <= kSectionCount; ++section) {
        const int count = static_cast<int>(names[static_cast<std::size_t>(section - 1)].size());
        for (int position = 0; position < count; ++position)
            keys.push_back(ChannelKey{MakeChannelId(section, position)});
    }
    for (std::size_t p = 0; p < playlists.size(); ++p) {
        const int count = static_cast<int>(playlists[p].channels.size());
        for (int entry = 0; entry < count; ++entry)
            keys.push_back(ChannelKey{0, static_cast<int>(p), entry});
    }
    return keys;
}
