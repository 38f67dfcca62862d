// The playlists' tree as hiding and locking shape it: what is left out, greyed, or opened only
// after the PIN.

#include "PlaylistTree.h"

#include "ChannelTreeLayout.h"
#include "PlaylistLibrary.h"
#include "PrivacyCheck.h"
#include "TreePrivacyShape.h"

#include <QTreeWidget>

void PlaylistTree::SetPrivacy(const PrivacyCheck* check, std::function<bool()> ask)
{
    privacy = check;
    openLocks = std::move(ask);
}

PrivacyPlace PlaylistTree::PlaceOf(const QTreeWidgetItem* item) const
{
    const int playlist = item != nullptr ? PlaylistOf(item) : kNone;
    if (playlist < 0 || playlists == nullptr || static_cast<std::size_t>(playlist) >= playlists->size())
        return {};
    const Playlist& list = (*playlists)[static_cast<std::size_t>(playlist)];
    if (const ChannelKey key = KeyOf(item); key.IsOwn()) {
        if (static_cast<std::size_t>(key.entry) >= list.channels.size())
            return {}; // an item of a list since read again
        const PlaylistChannel& channel = list.channels[static_cast<std::size_t>(key.entry)];
        return {list.name, channel.group, channel.name};
    }
    if (IsPlaylistNode(item))
        return {list.name, {}, {}};
    const int group = item->data(0, GroupRole).toInt();
    if (group < 0 || !grouped[static_cast<std::size_t>(playlist)] || item->data(0, SeriesRole).toBool())
        return {}; // a page or a series: kept by nothing of its own
    return {list.name, groups[static_cast<std::size_t>(playlist)].titles[static_cast<std::size_t>(group)], {}};
}

unsigned PlaylistTree::MarksOf(const QTreeWidgetItem* item) const
{
    const PrivacyPlace place = PlaceOf(item);
    return privacy != nullptr && !place.playlist.isEmpty() ? privacy->MarksOf(place) : PrivacyCheck::kNone;
}

bool PlaylistTree::Shows(unsigned marks) const
{
    return (marks & PrivacyCheck::kHidden) == 0 || privacy->ShowHidden();
}

std::vector<int> PlaylistTree::ShownEntries(int playlist, const std::vector<int>& entries) const
{
    if (privacy == nullptr || !privacy->Any() || privacy->ShowHidden())
        return entries;
    std::vector<int> shown;
    shown.reserve(entries.size());
    for (int entry : entries) {
        if ((privacy->MarksOf(privacy->PlaceOf({0, playlist, entry})) & PrivacyCheck::kHidden) == 0)
            shown.push_back(entry);
    }
    return shown;
}

bool PlaylistTree::MayOpen(QTreeWidgetItem* node)
{
    if (privacy == nullptr || privacy->Unlocked() || (MarksOf(node) & PrivacyCheck::kLocked) == 0)
        return true;
    if (openLocks && openLocks())
        return true;
    node->setExpanded(false);
    return false;
}

void PlaylistTree::ApplyPrivacy()
{
    if (privacy == nullptr)
        return;
    const TreePrivacyShape shape{*privacy, [this](const QTreeWidgetItem* item) { return MarksOf(item); },
                                 [this](const QTreeWidgetItem* item) {
                                     return IsPlaylistNode(item)
                                            && (*playlists)[static_cast<std::size_t>(PlaylistOf(item))].unavailable;
                                 }};
    for (int k = tree->topLevelItemCount() - 1; k >= 0; --k) {
        QTreeWidgetItem* node = tree->topLevelItem(k);
        if (IsPlaylistNode(node))
            ShapeByPrivacy(node, shape);
    }
}

void PlaylistTree::SetGreyed(QTreeWidgetItem* item, bool greyed) const
{
    ::SetGreyed(item, greyed, tree->palette());
}
