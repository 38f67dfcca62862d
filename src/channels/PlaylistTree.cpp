#include "PlaylistTree.h"

#include "CChannelDlg.h"
#include "ChannelTreeLayout.h"

#include <QHash>
#include <QTreeWidget>

namespace {
constexpr int kNone = -1;
} // namespace

PlaylistTree::PlaylistTree(QTreeWidget* tree, const QList<QIcon>& channelImages)
    : QObject(tree), tree(tree), nodeIcon(channelImages.value(kFurtherChannelsImage)),
      channelIcon(channelImages.value(kChannelImage))
{
    connect(tree, &QTreeWidget::itemExpanded, this, &PlaylistTree::Fill);
}

void PlaylistTree::Append(const std::vector<Playlist>* list, const QString& unavailableName, const QLocale& locale)
{
    playlists = list;
    groups.assign(list->size(), Groups());
    grouped.assign(list->size(), false);
    for (std::size_t k = 0; k < list->size(); ++k) {
        const Playlist& playlist = (*list)[k];
        QTreeWidgetItem* node = nullptr;
        if (playlist.unavailable) {
            node = MakeNode(unavailableName.arg(playlist.name), static_cast<int>(k));
            node->setForeground(0, tree->palette().brush(QPalette::Disabled, QPalette::Text));
        } else if (playlist.channels.empty()) {
            node = MakeNode(playlist.name, static_cast<int>(k)); // not read yet
        } else {
            const QString count = locale.toString(static_cast<qlonglong>(playlist.channels.size()));
            node = MakeNode(QStringLiteral("%1 (%2)").arg(playlist.name, count), static_cast<int>(k));
        }
        node->setData(0, SourceRole, playlist.source);
        tree->addTopLevelItem(node);
    }
}

PlaylistTree::Place PlaylistTree::Save() const
{
    Place place;
    for (int k = 0; k < tree->topLevelItemCount(); ++k) {
        const QTreeWidgetItem* node = tree->topLevelItem(k);
        if (!IsPlaylistNode(node))
            continue;
        place.sources.append(node->data(0, SourceRole).toString());
        SaveOpen(node, place.open);
    }
    if (const QTreeWidgetItem* current = tree->currentItem(); current != nullptr && PlaylistOf(current) >= 0)
        place.current = PathOf(current);
    return place;
}

void PlaylistTree::SaveOpen(const QTreeWidgetItem* item, QList<QStringList>& open) const
{
    if (!item->isExpanded())
        return;
    open.append(PathOf(item)); // before its children, which open only inside it
    for (int k = 0; k < item->childCount(); ++k)
        SaveOpen(item->child(k), open);
}

void PlaylistTree::Restore(const Place& place)
{
    for (const QStringList& path : place.open) {
        if (QTreeWidgetItem* item = ItemAt(path))
            item->setExpanded(true);
    }
    if (QTreeWidgetItem* item = ItemAt(place.current))
        tree->setCurrentItem(item);
}

QTreeWidgetItem* PlaylistTree::NodeOf(const QString& source) const
{
    for (int k = tree->topLevelItemCount() - 1; k >= 0; --k) {
        QTreeWidgetItem* node = tree->topLevelItem(k);
        if (!IsPlaylistNode(node))
            break; // the fixed groups come first
        if (node->data(0, SourceRole).toString() == source)
            return node;
    }
    return nullptr;
}

// The node's source, then the texts of the items down to this one.
QStringList PlaylistTree::PathOf(const QTreeWidgetItem* item) const
{
    QStringList path;
    for (; item->parent() != nullptr; item = item->parent())
        path.prepend(item->text(0));
    path.prepend(item->data(0, SourceRole).toString());
    return path;
}

QTreeWidgetItem* PlaylistTree::ItemAt(const QStringList& path) const
{
    QTreeWidgetItem* item = path.isEmpty() ? nullptr : NodeOf(path.first());
    for (qsizetype k = 1; item != nullptr && k < path.size(); ++k) {
        QTreeWidgetItem* parent = item;
        item = nullptr;
        for (int c = 0; c < parent->childCount() && item == nullptr; ++c) {
            if (parent->child(c)->text(0) == path[k])
                item = parent->child(c);
        }
    }
    return item;
}

QTreeWidgetItem* PlaylistTree::MakeNode(const QString& text, int playlist)
{
    auto* node = new QTreeWidgetItem();
    node->setText(0, text);
    node->setIcon(0, nodeIcon);
    node->setData(0, CChannelDlg::ImageIndexRole, kFurtherChannelsImage);
    node->setData(0, Qt::UserRole, 0u);
    node->setData(0, PlaylistRole, playlist);
    node->setData(0, EntryRole, kNone);
    node->setData(0, GroupRole, kNone);
    node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return node;
}

ChannelKey PlaylistTree::KeyOf(const QTreeWidgetItem* item)
{
    const QVariant entry = item->data(0, EntryRole);
    if (!entry.isValid() || entry.toInt() < 0)
        return {};
    return ChannelKey{0, item->data(0, PlaylistRole).toInt(), entry.toInt()};
}

int PlaylistTree::PlaylistOf(const QTreeWidgetItem* item)
{
    const QVariant playlist = item->data(0, PlaylistRole);
    return playlist.isValid() ? playlist.toInt() : kNone;
}

bool PlaylistTree::IsPlaylistNode(const QTreeWidgetItem* item)
{
    return PlaylistOf(item) >= 0 && item->parent() == nullptr;
}

const PlaylistTree::Groups& PlaylistTree::GroupsOf(int playlist)
{
    Groups& made = groups[static_cast<std::size_t>(playlist)];
    if (grouped[static_cast<std::size_t>(playlist)])
        return made;
    grouped[static_cast<std::size_t>(playlist)] = true;
    QHash<QString, int> indexOfTitle;
    const auto& channels = (*playlists)[static_cast<std::size_t>(playlist)].channels;
    for (std::size_t k = 0; k < channels.size(); ++k) {
        const QString& title = channels[k].group;
        if (title.isEmpty()) {
            made.loose.push_back(static_cast<int>(k));
            continue;
        }
        auto found = indexOfTitle.constFind(title);
        if (found == indexOfTitle.constEnd()) {
            found = indexOfTitle.insert(title, static_cast<int>(made.titles.size()));
            made.titles.push_back(title);
            made.members.emplace_back();
        }
        made.members[static_cast<std::size_t>(*found)].push_back(static_cast<int>(k));
    }
    return made;
}

void PlaylistTree::Fill(QTreeWidgetItem* node)
{
    const int playlist = PlaylistOf(node);
    if (playlist < 0 || playlists == nullptr || node->childCount() > 0
        || static_cast<std::size_t>(playlist) >= playlists->size())
        return;
    const Groups& made = GroupsOf(playlist);
    const int group = node->data(0, GroupRole).toInt();
    if (group >= 0) {
        AddChannels(node, playlist, made.members[static_cast<std::size_t>(group)]);
        return;
    }
    QList<QTreeWidgetItem*> children;
    for (std::size_t k = 0; k < made.titles.size(); ++k) {
        QTreeWidgetItem* child = MakeNode(made.titles[k], playlist);
        child->setData(0, GroupRole, static_cast<int>(k));
        children.append(child);
    }
    node->addChildren(children);
    AddChannels(node, playlist, made.loose);
    if (node->childCount() == 0)
        node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

void PlaylistTree::AddChannels(QTreeWidgetItem* parent, int playlist, const std::vector<int>& entries)
{
    const auto& channels = (*playlists)[static_cast<std::size_t>(playlist)].channels;
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(entries.size()));
    for (int entry : entries) {
        auto* item = new QTreeWidgetItem();
        item->setText(0, channels[static_cast<std::size_t>(entry)].name);
        item->setIcon(0, channelIcon);
        item->setData(0, CChannelDlg::ImageIndexRole, kChannelImage);
        item->setData(0, Qt::UserRole, 0u);
        item->setData(0, PlaylistRole, playlist);
        item->setData(0, EntryRole, entry);
        items.append(item);
    }
    parent->addChildren(items); // in one go: one layout for all of them
}
