#include "PlaylistTree.h"

#include "ChannelTreeLayout.h"
#include "EpisodeName.h"
#include "GuideTree.h"
#include "PlaylistLibrary.h"
#include "PrivacyCheck.h"
#include "SourceNames.h"

#include <QHash>
#include <QTreeWidget>

#include <algorithm>
#include <map>

namespace {
constexpr int kPermillePerPercent = 10;
// Channels of no group are shown on pages of this many once there are more than fit on
// two, so that a node never holds more than the tree lays out within a few milliseconds.
constexpr std::size_t kPageSize = 1000;
} // namespace

PlaylistTree::PlaylistTree(QTreeWidget* tree, const QList<QIcon>& channelImages, PlaylistLibrary* library)
    : QObject(tree), tree(tree), library(library), nodeIcon(channelImages.value(kFurtherChannelsImage)),
      channelIcon(channelImages.value(kChannelImage))
{
    connect(tree, &QTreeWidget::itemExpanded, this, &PlaylistTree::Fill);
    if (library != nullptr)
        connect(library, &PlaylistLibrary::Progress, this, &PlaylistTree::ShowProgress);
}

void PlaylistTree::Append(const std::vector<Playlist>* list, const Names& nodeNames, const QLocale& numbers)
{
    playlists = list;
    names = nodeNames;
    locale = numbers;
    groups.assign(list->size(), Groups());
    grouped.assign(list->size(), false);
    for (std::size_t k = 0; k < list->size(); ++k) {
        const Playlist& playlist = (*list)[k];
        const unsigned marks = privacy != nullptr ? privacy->MarksOf({playlist.name, {}, {}}) : 0;
        if (!Shows(marks))
            continue;
        QTreeWidgetItem* node = MakeNode(TextOf(static_cast<int>(k)), static_cast<int>(k));
        SetGreyed(node, playlist.unavailable || (marks & PrivacyCheck::kHidden) != 0);
        node->setData(0, SourceRole, playlist.source);
        tree->addTopLevelItem(node);
    }
    if (library != nullptr) {
        for (const QString& source : library->Adding())
            AppendAdding(source);
    }
}

QString PlaylistTree::TextOf(int index) const
{
    const Playlist& playlist = (*playlists)[static_cast<std::size_t>(index)];
    if (IsLoading(playlist.source))
        return WithProgress(playlist.name, playlist.source);
    if (playlist.unavailable)
        return names.unavailable.arg(playlist.name);
    if (playlist.channels.empty())
        return playlist.name; // not read yet
    return QStringLiteral("%1 (%2)").arg(playlist.name, locale.toString(static_cast<qlonglong>(playlist.channels.size())));
}

// Without a declared length, a download can only tell how much came.
QString PlaylistTree::WithProgress(const QString& name, const QString& source) const
{
    const std::optional<PlaylistProgress> progress = library->ProgressOf(source);
    if (progress->permille == PlaylistProgress::kUnknown)
        return QStringLiteral("%1 (%2)").arg(name, locale.formattedDataSize(progress->receivedBytes));
    return names.progress.arg(name, locale.toString(progress->permille / kPermillePerPercent));
}

void PlaylistTree::ShowProgress(const QString& source)
{
    if (playlists == nullptr)
        return; // not shown yet
    QTreeWidgetItem* node = NodeOf(source);
    const int playlist = node != nullptr ? PlaylistOf(node) : kNone;
    if (playlist >= 0 && static_cast<std::size_t>(playlist) < playlists->size())
        node->setText(0, TextOf(playlist));
    else if (node != nullptr && IsLoading(source))
        node->setText(0, WithProgress(NameForSource(source), source));
    else if (node != nullptr)
        delete node; // given up or in: Changed brings its playlist's node
    else if (library->Adding().contains(source))
        AppendAdding(source);
}

// After the playlists' nodes, before the guides'.
void PlaylistTree::AppendAdding(const QString& source)
{
    QTreeWidgetItem* node = MakeNode(WithProgress(NameForSource(source), source), kNone);
    node->setData(0, SourceRole, source);
    node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
    int at = tree->topLevelItemCount();
    while (at > 0 && GuideTree::Owns(tree->topLevelItem(at - 1)))
        --at;
    tree->insertTopLevelItem(at, node);
}

QString PlaylistTree::SourceOf(const QTreeWidgetItem* item)
{
    return item != nullptr ? item->data(0, SourceRole).toString() : QString();
}

bool PlaylistTree::IsLoading(const QString& source) const
{
    return library != nullptr && !source.isEmpty() && library->ProgressOf(source).has_value();
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
        const QVariant nodeSource = node->data(0, SourceRole);
        if (nodeSource.isValid() && nodeSource.toString() == source)
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
    node->setData(0, ImageIndexRole, kFurtherChannelsImage);
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

int PlaylistTree::SeriesEntryOf(const QTreeWidgetItem* item)
{
    const QVariant entry = item != nullptr ? item->data(0, SeriesEntryRole) : QVariant();
    return entry.isValid() ? entry.toInt() : kNone;
}

bool PlaylistTree::IsAccount(int playlist) const
{
    return (*playlists)[static_cast<std::size_t>(playlist)].account;
}

namespace {
int SectionOfKind(EntryKind kind)
{
    switch (kind) {
    case EntryKind::Channel: return 0;
    case EntryKind::Film: return 1;
    case EntryKind::Series:
    case EntryKind::Episode: break;
    }
    return 2;
}
} // namespace

const PlaylistTree::Groups& PlaylistTree::GroupsOf(int playlist)
{
    Groups& made = groups[static_cast<std::size_t>(playlist)];
    if (grouped[static_cast<std::size_t>(playlist)])
        return made;
    grouped[static_cast<std::size_t>(playlist)] = true;
    QHash<QString, int> indexOfTitle;
    const auto& channels = (*playlists)[static_cast<std::size_t>(playlist)].channels;
    const bool account = IsAccount(playlist);
    for (std::size_t k = 0; k < channels.size(); ++k) {
        const PlaylistChannel& channel = channels[k];
        const int section = SectionOfKind(channel.kind);
        if (channel.kind == EntryKind::Episode) {
            made.episodes[channel.series].push_back(static_cast<int>(k));
            continue;
        }
        const QString& title = channel.group;
        if (title.isEmpty()) {
            made.loose.push_back(static_cast<int>(k));
            made.sectionLoose[static_cast<std::size_t>(section)].push_back(static_cast<int>(k));
            continue;
        }
        // An account's films and series may have categories of the same name as its channels.
        const QString key = account ? QString(QChar(u'0' + section)) + title : title;
        auto found = indexOfTitle.constFind(key);
        if (found == indexOfTitle.constEnd()) {
            found = indexOfTitle.insert(key, static_cast<int>(made.titles.size()));
            made.titles.push_back(title);
            made.members.emplace_back();
            made.sectionOf.push_back(section);
        }
        made.members[static_cast<std::size_t>(*found)].push_back(static_cast<int>(k));
    }
    return made;
}

void PlaylistTree::Fill(QTreeWidgetItem* node)
{
    const int playlist = PlaylistOf(node);
    if (playlist < 0 || playlists == nullptr || static_cast<std::size_t>(playlist) >= playlists->size()
        || !MayOpen(node) || node->childCount() > 0)
        return;
    const Groups& made = GroupsOf(playlist);
    const int group = node->data(0, GroupRole).toInt();
    if (group >= 0) {
        AddGroup(node, playlist, ShownEntries(playlist, made.members[static_cast<std::size_t>(group)]));
        return;
    }
    const QVariant section = node->data(0, SectionRole);
    if (const QVariant page = node->data(0, PageRole); page.isValid()) {
        const auto& loose = section.isValid() ? made.sectionLoose[static_cast<std::size_t>(section.toInt())] : made.loose;
        AddChannels(node, playlist, ShownEntries(playlist, loose), static_cast<std::size_t>(page.toInt()) * kPageSize, kPageSize);
        return;
    }
    if (const int series = SeriesEntryOf(node); series >= 0) {
        AddSeasons(node, playlist, series);
        return;
    }
    if (section.isValid()) {
        AddSection(node, playlist, section.toInt());
        return;
    }
    if (IsAccount(playlist)) {
        AddSections(node, playlist);
        return;
    }
    QList<QTreeWidgetItem*> children;
    const QString& name = (*playlists)[static_cast<std::size_t>(playlist)].name;
    for (std::size_t k = 0; k < made.titles.size(); ++k) {
        const unsigned marks = privacy != nullptr ? privacy->MarksOf({name, made.titles[k], {}}) : 0;
        if (!Shows(marks))
            continue;
        QTreeWidgetItem* child = MakeNode(made.titles[k], playlist);
        child->setData(0, GroupRole, static_cast<int>(k));
        SetGreyed(child, (marks & PrivacyCheck::kHidden) != 0);
        children.append(child);
    }
    node->addChildren(children);
    AddLoose(node, playlist, ShownEntries(playlist, made.loose));
    if (node->childCount() == 0)
        node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

// Live TV, Films, Series, in this order, each made when opened.
void PlaylistTree::AddSections(QTreeWidgetItem* node, int playlist)
{
    QList<QTreeWidgetItem*> sections;
    for (int k = 0; k < kSectionCount; ++k) {
        QTreeWidgetItem* section = MakeNode(names.sections.value(k), playlist);
        section->setData(0, SectionRole, k);
        sections.append(section);
    }
    node->addChildren(sections);
}

void PlaylistTree::AddSection(QTreeWidgetItem* node, int playlist, int section)
{
    const Groups& made = GroupsOf(playlist);
    QList<QTreeWidgetItem*> children;
    for (std::size_t k = 0; k < made.titles.size(); ++k) {
        if (made.sectionOf[k] != section)
            continue;
        QTreeWidgetItem* child = MakeNode(made.titles[k], playlist);
        child->setData(0, GroupRole, static_cast<int>(k));
        children.append(child);
    }
    node->addChildren(children);
    AddLoose(node, playlist, made.sectionLoose[static_cast<std::size_t>(section)]);
    if (node->childCount() == 0)
        node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

// An account's series: its seasons once the panel told them; until then the node asks.
void PlaylistTree::AddSeasons(QTreeWidgetItem* node, int playlist, int series)
{
    const Groups& made = GroupsOf(playlist);
    const auto found = made.episodes.find(series);
    if (found == made.episodes.end()) {
        if (seriesOpened)
            seriesOpened(playlist, series);
        return;
    }
    const auto& channels = (*playlists)[static_cast<std::size_t>(playlist)].channels;
    std::map<int, std::vector<std::pair<int, int>>> seasons;
    for (int entry : found->second) {
        const std::optional<EpisodeName> episode = ParseEpisodeName(channels[static_cast<std::size_t>(entry)].name);
        seasons[episode ? episode->season : 0].push_back({episode ? episode->episode : 0, entry});
    }
    for (auto& [number, episodes] : seasons) {
        QTreeWidgetItem* season = MakeSeriesNode(names.season.arg(number), playlist);
        for (const auto& episode : episodes)
            season->addChild(MakeChannel(playlist, episode.second));
        node->addChild(season);
    }
}

void PlaylistTree::AddLoose(QTreeWidgetItem* node, int playlist, const std::vector<int>& loose)
{
    if (loose.size() <= 2 * kPageSize) {
        AddGroup(node, playlist, loose);
        return;
    }
    QList<QTreeWidgetItem*> pages;
    for (std::size_t first = 0; first < loose.size(); first += kPageSize) {
        const std::size_t last = std::min(loose.size(), first + kPageSize);
        QTreeWidgetItem* page = MakeNode(names.page.arg(locale.toString(static_cast<qulonglong>(first + 1)),
                                                        locale.toString(static_cast<qulonglong>(last))),
                                         playlist);
        page->setData(0, PageRole, static_cast<int>(first / kPageSize));
        page->setData(0, SectionRole, node->data(0, SectionRole));
        pages.append(page);
    }
    node->addChildren(pages);
}

void PlaylistTree::AddChannels(QTreeWidgetItem* parent, int playlist, const std::vector<int>& entries,
                               std::size_t from, std::size_t count)
{
    const std::size_t end = std::min(entries.size(), from + std::min(count, entries.size()));
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(end - std::min(from, end)));
    for (std::size_t k = from; k < end; ++k)
        items.append(MakeChannel(playlist, entries[k]));
    parent->addChildren(items); // in one go: one layout for all of them
}

QTreeWidgetItem* PlaylistTree::MakeChannel(int playlist, int entry) const
{
    auto* item = new QTreeWidgetItem();
    item->setText(0, (*playlists)[static_cast<std::size_t>(playlist)].channels[static_cast<std::size_t>(entry)].name);
    item->setIcon(0, channelIcon);
    item->setData(0, ImageIndexRole, kChannelImage);
    item->setData(0, Qt::UserRole, 0u);
    item->setData(0, PlaylistRole, playlist);
    item->setData(0, EntryRole, entry);
    if (privacy != nullptr && privacy->ShowHidden())
        SetGreyed(item, (privacy->MarksOf(privacy->PlaceOf({0, playlist, entry})) & PrivacyCheck::kHidden) != 0);
    return item;
}

QTreeWidgetItem* PlaylistTree::MakeSeriesNode(const QString& text, int playlist)
{
    QTreeWidgetItem* node = MakeNode(text, playlist);
    node->setData(0, SeriesRole, true);
    return node;
}

void PlaylistTree::AddGroup(QTreeWidgetItem* parent, int playlist, const std::vector<int>& entries)
{
    struct Series
    {
        QString title;
        std::map<int, std::vector<std::pair<int, int>>> seasons; // season -> (episode, entry)
    };
    const auto& channels = (*playlists)[static_cast<std::size_t>(playlist)].channels;
    std::vector<Series> series;
    QHash<QString, std::size_t> seriesOf; // by the title in lower case
    std::vector<int> others;
    QList<QTreeWidgetItem*> accountSeries;
    for (int entry : entries) {
        if (channels[static_cast<std::size_t>(entry)].kind == EntryKind::Series) {
            QTreeWidgetItem* node = MakeSeriesNode(channels[static_cast<std::size_t>(entry)].name, playlist);
            node->setData(0, SeriesEntryRole, entry);
            accountSeries.append(node);
            continue;
        }
        const std::optional<EpisodeName> episode = ParseEpisodeName(channels[static_cast<std::size_t>(entry)].name);
        if (!episode) {
            others.push_back(entry);
            continue;
        }
        const QString folded = episode->series.toCaseFolded();
        auto found = seriesOf.constFind(folded);
        if (found == seriesOf.constEnd()) {
            found = seriesOf.insert(folded, series.size());
            series.push_back({episode->series, {}});
        }
        series[*found].seasons[episode->season].push_back({episode->episode, entry});
    }
    QList<QTreeWidgetItem*> nodes;
    for (Series& one : series) {
        QTreeWidgetItem* node = MakeSeriesNode(one.title, playlist);
        for (auto& [number, episodes] : one.seasons) {
            QTreeWidgetItem* season = MakeSeriesNode(names.season.arg(number), playlist);
            std::stable_sort(episodes.begin(), episodes.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            for (const auto& episode : episodes)
                season->addChild(MakeChannel(playlist, episode.second));
            node->addChild(season);
        }
        nodes.append(node);
    }
    parent->addChildren(nodes);
    parent->addChildren(accountSeries);
    AddChannels(parent, playlist, others);
}

std::vector<ChannelKey> PlaylistTree::ChannelsOf(const QTreeWidgetItem* item)
{
    const int playlist = item != nullptr ? PlaylistOf(item) : kNone;
    if (playlist < 0 || KeyOf(item).IsOwn() || playlists == nullptr
        || static_cast<std::size_t>(playlist) >= playlists->size())
        return {};
    if (item->data(0, SeriesRole).toBool()) {
        std::vector<ChannelKey> keys; // made whole with the group: its episodes in order
        for (int k = 0; k < item->childCount(); ++k)
            if (KeyOf(item->child(k)).IsOwn())
                keys.push_back(KeyOf(item->child(k)));
        return keys;
    }
    const Groups& made = GroupsOf(playlist);
    const int group = item->data(0, GroupRole).toInt();
    const QVariant section = item->data(0, SectionRole);
    const std::vector<int>& entries = group >= 0         ? made.members[static_cast<std::size_t>(group)]
                                      : section.isValid() ? made.sectionLoose[static_cast<std::size_t>(section.toInt())]
                                                          : made.loose;
    const auto& channels = (*playlists)[static_cast<std::size_t>(playlist)].channels;
    std::vector<ChannelKey> keys;
    keys.reserve(entries.size());
    const bool marked = privacy != nullptr && privacy->Any();
    for (int entry : entries) {
        const ChannelKey key{0, playlist, entry};
        if (channels[static_cast<std::size_t>(entry)].kind != EntryKind::Series // nothing to play
            && (!marked || !privacy->Leaves(key)))
            keys.push_back(key);
    }
    return keys;
}

void PlaylistTree::AddGuideLists(GuideListing& listing)
{
    if (playlists == nullptr)
        return;
    for (std::size_t p = 0; p < playlists->size(); ++p) {
        const Playlist& playlist = (*playlists)[p];
        const Groups& made = GroupsOf(static_cast<int>(p));
        const QString node = TextOf(static_cast<int>(p));
        const auto add = [&](const QString& name, const std::vector<int>& entries) {
            GuideRowList list{name, {}};
            list.rows.reserve(entries.size());
            for (int entry : entries) {
                if (privacy != nullptr && privacy->Leaves(ChannelKey{0, static_cast<int>(p), entry}))
                    continue;
                const PlaylistChannel& channel = playlist.channels[static_cast<std::size_t>(entry)];
                if (channel.kind != EntryKind::Channel)
                    continue; // an account's films and series have no programmes
                list.rows.push_back({ChannelKey{0, static_cast<int>(p), entry}, channel.name, channel.catchup});
            }
            if (!list.rows.empty())
                listing.lists.push_back(std::move(list));
        };
        add(node, made.loose);
        for (std::size_t g = 0; g < made.titles.size(); ++g)
            add(node + QStringLiteral(" / ") + made.titles[g], made.members[g]);
    }
}
