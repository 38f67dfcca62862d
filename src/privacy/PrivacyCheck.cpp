#include "PrivacyCheck.h"

void PrivacyCheck::SetMarks(const PrivacyMarks& marks)
{
    byPlaylist.clear();
    sections.clear();
    builtinChannels.clear();
    const auto add = [this](const std::vector<PrivacyPlace>& places, unsigned mark) {
        for (const PrivacyPlace& place : places) {
            if (place.IsBuiltin()) {
                if (place.position < 0)
                    sections[place.section] |= mark;
                else
                    builtinChannels[MakeChannelId(place.section, place.position)] |= mark;
                continue;
            }
            PlaylistMarks& list = byPlaylist[place.playlist];
            if (place.IsPlaylist())
                list.own |= mark;
            else if (place.channel.isEmpty())
                list.groups[place.group] |= mark;
            else
                list.channels[place.group][place.channel] |= mark;
        }
    };
    add(marks.hidden, kHidden);
    add(marks.locked, kLocked);
}

// A country's section is held by the countries' node.
unsigned PrivacyCheck::BuiltinMarks(const PrivacyPlace& place, bool withHolders) const
{
    if (place.position >= 0) {
        const unsigned own = builtinChannels.value(MakeChannelId(place.section, place.position), kNone);
        return withHolders ? own | BuiltinMarks(PrivacyPlace::Builtin(place.section), true) : own;
    }
    const unsigned own = sections.value(place.section, kNone);
    const bool inCountries = place.section >= kFirstCountrySection;
    return withHolders && inCountries ? own | sections.value(PrivacyPlace::kAllCountries, kNone) : own;
}

unsigned PrivacyCheck::OwnMarks(const PrivacyPlace& place) const
{
    if (place.IsBuiltin())
        return BuiltinMarks(place, false);
    const auto list = byPlaylist.constFind(place.playlist);
    if (list == byPlaylist.constEnd())
        return kNone;
    if (place.IsPlaylist())
        return list->own;
    if (place.channel.isEmpty())
        return list->groups.value(place.group, kNone);
    return list->channels.value(place.group).value(place.channel, kNone);
}

unsigned PrivacyCheck::MarksOf(const PrivacyPlace& place) const
{
    if (place.IsBuiltin())
        return BuiltinMarks(place, true);
    const auto list = byPlaylist.constFind(place.playlist);
    if (list == byPlaylist.constEnd())
        return kNone;
    unsigned marks = list->own;
    if (!place.IsPlaylist())
        marks |= list->groups.value(place.group, kNone);
    if (place.channel.isEmpty())
        return marks;
    if (const auto group = list->channels.constFind(place.group); group != list->channels.constEnd())
        marks |= group->value(place.channel, kNone);
    return marks;
}

PrivacyPlace PrivacyCheck::PlaceOf(const ChannelKey& key) const
{
    if (!key.IsOwn() && key.id != 0)
        return PrivacyPlace::Builtin(SectionNumber(key.id), ChannelPosition(key.id));
    if (!key.IsOwn() || static_cast<std::size_t>(key.playlist) >= playlists.size())
        return {};
    const Playlist& playlist = playlists[static_cast<std::size_t>(key.playlist)];
    if (key.entry < 0 || static_cast<std::size_t>(key.entry) >= playlist.channels.size())
        return {};
    const PlaylistChannel& channel = playlist.channels[static_cast<std::size_t>(key.entry)];
    return {playlist.name, channel.group, channel.name};
}

unsigned PrivacyCheck::MarksOfChannel(const ChannelKey& key) const
{
    if (!Any())
        return kNone;
    return MarksOf(PlaceOf(key));
}

bool PrivacyCheck::Leaves(const ChannelKey& key) const
{
    const unsigned marks = MarksOfChannel(key);
    return (marks & kHidden) != 0 || ((marks & kLocked) != 0 && !unlocked);
}

bool PrivacyCheck::Shut(const ChannelKey& key) const
{
    return !unlocked && (MarksOfChannel(key) & kLocked) != 0;
}
