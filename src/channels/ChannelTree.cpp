#include "ChannelTree.h"

#include "AccessTexts.h"
#include "AccountsTexts.h"
#include "ChannelDirectory.h"
#include "ChannelIcons.h"
#include "ChannelItemDelegate.h"
#include "ChannelTreeLayout.h"
#include "Favorites.h"
#include "FilmsTexts.h"
#include "GuideLibrary.h"
#include "GuideTexts.h"
#include "GuideTree.h"
#include "GuidanceTexts.h"
#include "InvalidArgument.h"
#include "LanguageEntries.h"
#include "LogoCache.h"
#include "MessageBox.h"
#include "PlaylistLibrary.h"
#include "PlaylistTexts.h"
#include "PlaylistTree.h"
#include "ReaderTexts.h"
#include "PluralForms.h"
#include "PrivacyCheck.h"
#include "PrivacyTexts.h"
#include "TimeshiftTexts.h"

#include <QHeaderView>
#include <QInputDialog>
#include <QLocale>
#include <QMenu>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTreeWidget>

#include <algorithm>
#include <array>

namespace {
constexpr QSize kSmallIcon(16, 16);
constexpr int kAddFavoriteTip = 5;   // ChannelsDialog: the add button's tip names the menu item
constexpr int kAddFavoriteIcon = 132; // and its icon shows beside it

ChannelId itemId(const QTreeWidgetItem* item)
{
    return item->data(0, Qt::UserRole).toUInt();
}

ChannelKey itemKey(const QTreeWidgetItem* item)
{
    const ChannelKey own = PlaylistTree::KeyOf(item);
    return own.IsOwn() ? own : ChannelKey{itemId(item)};
}

bool isChannelItem(const QTreeWidgetItem* item)
{
    const ChannelKey key = itemKey(item);
    return key.id != 0 || key.IsOwn();
}

int itemImage(const QTreeWidgetItem* item)
{
    return item->data(0, ImageIndexRole).toInt();
}

// The channels among the children of parent (or the top level) in tree order.
std::vector<ChannelKey> childChannels(const QTreeWidget* tree, const QTreeWidgetItem* parent)
{
    const int count = parent != nullptr ? parent->childCount() : tree->topLevelItemCount();
    std::vector<ChannelKey> keys;
    for (int k = 0; k < count; ++k) {
        const QTreeWidgetItem* child = parent != nullptr ? parent->child(k) : tree->topLevelItem(k);
        if (isChannelItem(child))
            keys.push_back(itemKey(child));
    }
    return keys;
}

// The fixed tree's groups, which are always made whole but for what hiding and locking
// leave out; hidden channels stay out of the guide while the tree shows them greyed.
void addGuideLists(const QTreeWidgetItem* node, const QString& path, const PrivacyCheck* privacy, GuideListing& listing)
{
    GuideRowList list{path, {}};
    for (int k = 0; k < node->childCount(); ++k) {
        const QTreeWidgetItem* child = node->child(k);
        if (isChannelItem(child) && (privacy == nullptr || !privacy->Leaves(itemKey(child))))
            list.rows.push_back({itemKey(child), child->text(0)});
    }
    if (!list.rows.empty())
        listing.lists.push_back(std::move(list));
    for (int k = 0; k < node->childCount(); ++k) {
        if (!isChannelItem(node->child(k)))
            addGuideLists(node->child(k), path + QStringLiteral(" / ") + node->child(k)->text(0), privacy, listing);
    }
}
} // namespace

ChannelTree::ChannelTree(QWidget* window, const LanguageStrings& texts, const ChannelDirectory& directory,
                         const Favorites& favorites, PlaylistLibrary* playlists, GuideLibrary* guides)
    : QObject(window), texts(texts), directory(directory), favorites(favorites), playlistLibrary(playlists),
      images(LoadChannelImages()), tree(new QTreeWidget(window)), guides(guides)
{
    tree->setObjectName(QStringLiteral("channelTree"));
    tree->setColumnCount(1);
    tree->setHeaderHidden(true);
    tree->header()->setStretchLastSection(false);
    tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree->setItemDelegate(new ChannelItemDelegate(tree));
    tree->setIconSize(kSmallIcon);
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree, &QTreeWidget::currentItemChanged, this, &ChannelTree::CurrentChanged);
    connect(tree, &QTreeWidget::itemDoubleClicked, this, &ChannelTree::Activated);
    connect(tree, &QTreeWidget::customContextMenuRequested, this, &ChannelTree::ShowContextMenu);
    connect(tree, &QTreeWidget::itemExpanded, this, &ChannelTree::FixedNodeOpened);
    playlistTree = new PlaylistTree(tree, images, playlists);
    playlistTree->SetSeriesOpened([this](int playlist, int entry) {
        emit SeriesOpened(this->directory.Playlists()[static_cast<std::size_t>(playlist)].source, entry);
    });
    if (guides != nullptr) {
        guideTree = new GuideTree(tree, images.value(kFurtherChannelsImage), texts, *guides);
        connect(guideTree, &GuideTree::AddGuideRequested, this, &ChannelTree::AddGuideRequested);
    }
}

void ChannelTree::ShowLogos(LogoCache& logos)
{
    static_cast<ChannelItemDelegate*>(tree->itemDelegate())
        ->SetLogoOf([this, &logos](const QModelIndex& index, int height) {
            return logos.Logo(directory.LogoAddressOf(PlaylistTree::KeyOf(tree->itemFromIndex(index))), height);
        });
    connect(&logos, &LogoCache::Answered, tree->viewport(), qOverload<>(&QWidget::update));
}

void ChannelTree::ShowMarks(std::function<QString(const ChannelKey&)> markOf)
{
    static_cast<ChannelItemDelegate*>(tree->itemDelegate())
        ->SetMarkOf([this, markOf = std::move(markOf)](const QModelIndex& index) {
            const ChannelKey key = PlaylistTree::KeyOf(tree->itemFromIndex(index));
            return key.IsOwn() ? markOf(key) : QString();
        });
}

void ChannelTree::Fill()
{
    FillFixed();
    AppendPlaylists();
}

// Refilled with its redrawing and notifications off; both come back even when the refill
// stops half way, so the tree never stays frozen.
void ChannelTree::FillAgain()
{
    const QSignalBlocker blocker(tree);
    tree->setUpdatesEnabled(false);
    try {
        tree->clear();
        Fill();
    } catch (...) {
        tree->setUpdatesEnabled(true);
        throw;
    }
    tree->setUpdatesEnabled(true);
}

// Made above whatever the tree holds already, so that it can be made again alone.
void ChannelTree::FillFixed()
{
    std::array<QTreeWidgetItem*, kSectionCount + 1> nodes{};   // by section number
    std::array<QTreeWidgetItem*, kSectionCount + 1> further{}; // by section number

    int topLevel = 0; // each in the tree at once: a build stopped half way keeps what it made
    const auto addTop = [&](QTreeWidgetItem* node) {
        tree->insertTopLevelItem(topLevel++, node);
        return node;
    };
    QTreeWidgetItem* countries = addTop(
        MakeGroupNode(nullptr, texts.Text(Groups, kCountriesLabel), kCountriesImage, PrivacyPlace::kAllCountries));
    for (int section : kGenreOrder)
        nodes[section] = addTop(MakeGroupNode(nullptr, texts.Text(Groups, section), section, section));
    for (int section : kCountryOrder) {
        nodes[section] = MakeGroupNode(countries, texts.Text(Countries, section - kFirstCountrySection),
                                       section + kCountryImageOffset, section);
        if (FurtherChannelsFrom(section) > 0) {
            further[section] =
                MakeGroupNode(nodes[section], texts.Text(Groups, kFurtherChannelsLabel), kFurtherChannelsImage, 0);
        }
    }

    for (int section = 1; section <= kSectionCount; ++section) {
        const QStringList& names = CheckedAt(directory.Names(), section - 1);
        const int furtherFrom = FurtherChannelsFrom(section);
        for (int position : TreePositions(section)) {
            QTreeWidgetItem* parent = furtherFrom > 0 && position >= furtherFrom ? further[section] : nodes[section];
            InsertChannelItem(MakeChannelId(section, position), CheckedAt(names, position), parent);
        }
    }
    ShapeFixed();
}

QTreeWidgetItem* ChannelTree::MakeGroupNode(QTreeWidgetItem* parent, const QString& text, int image, int section)
{
    auto* item = new QTreeWidgetItem();
    item->setText(0, text);
    item->setIcon(0, images.value(image));
    item->setData(0, ImageIndexRole, image);
    item->setData(0, Qt::UserRole, 0u);
    if (section != 0)
        item->setData(0, FixedSectionRole, section);
    if (parent != nullptr)
        parent->addChild(item);
    return item;
}

void ChannelTree::InsertChannelItem(ChannelId id, const QString& text, QTreeWidgetItem* parent)
{
    auto* item = new QTreeWidgetItem();
    item->setText(0, text);
    item->setIcon(0, images.value(kChannelImage));
    item->setData(0, ImageIndexRole, kChannelImage);
    item->setData(0, Qt::UserRole, id);
    parent->addChild(item);
}

void ChannelTree::AppendPlaylists()
{
    // Only loads followed show how far they got.
    const QString progressName = playlistLibrary != nullptr ? texts.Text(Guide, GuideProgress) : QString();
    playlistTree->Append(&directory.Playlists(),
                         {PlaylistText(PlaylistUnavailableNode), progressName, texts[Readers].value(ReadersPage),
                          texts[Films].value(FilmsSeason),
                          {texts[Accounts].value(AccountsLiveNode), texts[Accounts].value(AccountsFilmsNode),
                           texts[Accounts].value(AccountsSeriesNode)}},
                         QLocale(texts[Locale].value(LocaleCode)));
    if (guideTree != nullptr)
        guideTree->Append();
}

void ChannelTree::RefillPlaylists(NewPlaylists newOnes)
{
    const PlaylistTree::Place place = playlistTree->Save();
    const int scrolled = tree->verticalScrollBar()->value();
    {
        const QSignalBlocker blocker(tree);
        const int fixed = FixedTopLevelCount();
        while (tree->topLevelItemCount() > fixed)
            delete tree->takeTopLevelItem(fixed);
        AppendPlaylists();
    }
    playlistTree->Restore(place);
    tree->verticalScrollBar()->setValue(scrolled);
    if (newOnes == NewPlaylists::Open)
        OpenNew(place.sources);
}

// A playlist just added opens and is highlighted, where the viewer looks for it.
void ChannelTree::OpenNew(const QStringList& known)
{
    for (const Playlist& playlist : directory.Playlists()) {
        QTreeWidgetItem* node = known.contains(playlist.source) ? nullptr : playlistTree->NodeOf(playlist.source);
        if (node != nullptr) {
            node->setExpanded(true);
            tree->setCurrentItem(node);
            tree->scrollToItem(node, QAbstractItemView::PositionAtTop);
        }
    }
}

ChannelKey ChannelTree::CurrentKey() const
{
    const QTreeWidgetItem* item = tree->currentItem();
    return item != nullptr ? itemKey(item) : ChannelKey();
}

bool ChannelTree::IsChannel(const QTreeWidgetItem* item) const
{
    return item != nullptr && isChannelItem(item);
}

QString ChannelTree::NodeDescription(const QTreeWidgetItem* item, bool& onGuide) const
{
    onGuide = guideTree != nullptr && GuideTree::Owns(item);
    if (onGuide)
        return guideTree->DescriptionOf(item);
    // An own playlist says how its last load went; its nodes follow every change. An
    // account tells its state, a series its details.
    if (item == nullptr)
        return {};
    const int playlist = PlaylistTree::PlaylistOf(item);
    if (const int series = PlaylistTree::SeriesEntryOf(item); series >= 0)
        return directory.AccountDescription(playlist, series);
    if (PlaylistTree::IsPlaylistNode(item)) {
        const Playlist& shown = directory.Playlists()[static_cast<std::size_t>(playlist)];
        return shown.account ? directory.AccountDescription(playlist, -1) : directory.RefreshText(shown);
    }
    return {};
}

QString ChannelTree::NodePoster(const QTreeWidgetItem* item) const
{
    const bool own = item != nullptr && (guideTree == nullptr || !GuideTree::Owns(item));
    const int series = own ? PlaylistTree::SeriesEntryOf(item) : -1;
    return series >= 0 ? directory.PosterAddressOf({0, PlaylistTree::PlaylistOf(item), series}) : QString();
}

ListChoice ChannelTree::Choice() const
{
    const QTreeWidgetItem* item = tree->currentItem();
    if (!IsChannel(item))
        return {};
    const QTreeWidgetItem* parent = item->parent();
    ListChoice choice{{}, ChannelsUnder(parent)};
    const int position = static_cast<int>(std::find(choice.list.begin(), choice.list.end(), itemKey(item)) -
                                          choice.list.begin());
    const ChannelOrigin origin{ChannelOrigin::List::TreeGroup, parent != nullptr ? parent->text(0) : QString(), position};
    choice.request = itemKey(item).IsOwn()
                         ? directory.RequestOf(itemKey(item), origin)
                         : directory.BuiltinRequest(itemId(item), item->text(0),
                                                    parent != nullptr ? itemImage(parent) : 0, origin);
    return choice;
}

SelectedGroup ChannelTree::Selected()
{
    QTreeWidgetItem* item = tree->currentItem();
    if (item == nullptr || (guideTree != nullptr && GuideTree::Owns(item)))
        return {};
    QTreeWidgetItem* parent = isChannelItem(item) ? item->parent() : item;
    if (parent != nullptr)
        parent->setExpanded(true); // a playlist's group reads its channels when first opened
    return {parent != nullptr ? parent->text(0) : QString(), ChannelsUnder(parent)};
}

bool ChannelTree::ToggleCurrentGroup()
{
    QTreeWidgetItem* item = tree->currentItem();
    if (item == nullptr || isChannelItem(item))
        return false;
    item->setExpanded(!item->isExpanded());
    return true;
}

// A playlist's node and its groups hold their channels whether made in the tree or not.
std::vector<ChannelKey> ChannelTree::ChannelsUnder(const QTreeWidgetItem* parent) const
{
    if (parent != nullptr && PlaylistTree::PlaylistOf(parent) >= 0)
        return playlistTree->ChannelsOf(parent);
    return childChannels(tree, parent);
}

GuideListing ChannelTree::GuideLists(const ChannelRequest& current) const
{
    GuideListing listing;
    for (int k = 0; k < tree->topLevelItemCount(); ++k) {
        const QTreeWidgetItem* node = tree->topLevelItem(k);
        if (PlaylistTree::PlaylistOf(node) < 0 && !GuideTree::Owns(node))
            addGuideLists(node, node->text(0), privacy, listing);
    }
    playlistTree->AddGuideLists(listing);
    // Opened at the channel playing, else at the one selected, else at the first list that
    // the guide knows something of.
    const QTreeWidgetItem* selected = tree->currentItem();
    if (ShowAt(listing, directory.KeyOf(current), current.origin.name) || ShowAt(listing, CurrentKey(), {}))
        return listing;
    if (selected != nullptr && !IsChannel(selected) && ShowList(listing, selected))
        return listing;
    for (std::size_t list = 0; list < listing.lists.size() && guides != nullptr; ++list) {
        const auto& rows = listing.lists[list].rows;
        if (std::any_of(rows.begin(), rows.end(),
                        [&](const GuideRow& row) { return guides->LinkOf(directory.GuideChannelOf(row.key)).IsValid(); })) {
            listing.current = static_cast<int>(list);
            break;
        }
    }
    return listing;
}

// The list holding key, the one named after group first; false when none does.
bool ChannelTree::ShowAt(GuideListing& listing, const ChannelKey& key, const QString& group) const
{
    if (key.id == 0 && !key.IsOwn())
        return false;
    int found = -1;
    int foundRow = 0;
    for (std::size_t list = 0; list < listing.lists.size(); ++list) {
        const auto& rows = listing.lists[list].rows;
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const GuideRow& r) { return r.key == key; });
        if (row == rows.end())
            continue;
        const bool named = !group.isEmpty() && listing.lists[list].name.endsWith(group);
        if (found < 0 || named) {
            found = static_cast<int>(list);
            foundRow = static_cast<int>(row - rows.begin());
        }
        if (named)
            break;
    }
    if (found < 0)
        return false;
    listing.current = found;
    listing.row = foundRow;
    return true;
}

// The list of a selected group: the first of its channels is in it.
bool ChannelTree::ShowList(GuideListing& listing, const QTreeWidgetItem* group) const
{
    const std::vector<ChannelKey> keys = ChannelsUnder(group);
    if (!keys.empty())
        return ShowAt(listing, keys.front(), {});
    return false;
}

void ChannelTree::ShowContextMenuAtCurrent()
{
    // Opens over the selected item, where the pointer would have been.
    const QTreeWidgetItem* item = tree->currentItem();
    ShowContextMenu(item != nullptr ? tree->visualItemRect(item).center() : QPoint());
}

void ChannelTree::ShowContextMenu(const QPoint& at)
{
    QTreeWidgetItem* item = tree->itemAt(at);
    const QPoint globalAt = tree->viewport()->mapToGlobal(at);
    if (guideTree != nullptr && GuideTree::Owns(item))
        guideTree->ShowMenu(item, globalAt);
    else if (item == nullptr || !PlaylistTree::IsPlaylistNode(item))
        ShowChannelMenu(item, globalAt);
    else
        ShowPlaylistMenu(item, globalAt);
}

void ChannelTree::ShowChannelMenu(QTreeWidgetItem* item, const QPoint& globalAt)
{
    QMenu menu(tree->window());
    // Taken now: a load that ends while the menu is open takes its node with it.
    const QString source = PlaylistTree::SourceOf(item);
    QAction* cancel = playlistTree->IsLoading(source) ? menu.addAction(texts.Text(Guide, GuideCancelMenu)) : nullptr;
    const bool channel = IsChannel(item);
    QAction* favorite = channel ? menu.addAction(LoadWindowIcon(kAddFavoriteIcon), texts.Text(ChannelsDialog, kAddFavoriteTip))
                                : nullptr;
    QAction* choose = guideTree != nullptr && channel ? menu.addAction(texts.Text(Guide, GuideChooseMenu)) : nullptr;
    const ArchiveSpan onNow = item != nullptr ? directory.ArchivedProgrammeOnNow(itemKey(item)) : ArchiveSpan();
    QAction* fromStart = onNow.start.isValid() ? menu.addAction(texts.Text(Timeshift, TimeshiftFromStartMenu)) : nullptr;
    const PrivacyItems privacyItems = AddPrivacyItems(menu, item);
    QAction* add = menu.addAction(PlaylistText(PlaylistAddMenu));
    QAction* addAccount = menu.addAction(texts[Accounts].value(AccountsAddItem));
    QAction* addGuide = guideTree != nullptr ? menu.addAction(texts.Text(Guide, GuideAddMenu)) : nullptr;
    QAction* chosen = menu.exec(globalAt);
    if (chosen == nullptr || ChosePrivacy(chosen, privacyItems))
        return;
    if (chosen == cancel)
        playlistLibrary->Cancel(source); // offered only while a load is followed
    else if (chosen == favorite)
        emit FavoriteRequested(itemKey(item));
    else if (chosen == add)
        emit AddPlaylistRequested();
    else if (chosen == addAccount)
        emit AddAccountRequested();
    else if (chosen == addGuide)
        emit AddGuideRequested();
    else if (chosen == choose)
        guideTree->ChooseGuideChannel(directory.GuideChannelOf(itemKey(item)), item->text(0));
    else if (chosen == fromStart)
        emit ChannelChosen(directory.ArchiveRequest(itemKey(item), onNow));
}

void ChannelTree::ShowPlaylistMenu(QTreeWidgetItem* item, const QPoint& globalAt)
{
    QMenu menu(tree->window());
    const QString source = PlaylistTree::SourceOf(item);
    const int playlist = PlaylistTree::PlaylistOf(item);
    const QString name = directory.Playlists()[static_cast<std::size_t>(playlist)].name;
    QAction* rename = menu.addAction(PlaylistText(PlaylistRenameMenu));
    QAction* refresh = menu.addAction(PlaylistText(PlaylistRefreshMenu));
    QAction* cancel = playlistTree->IsLoading(source) ? menu.addAction(texts.Text(Guide, GuideCancelMenu)) : nullptr;
    QAction* remove = menu.addAction(PlaylistText(PlaylistRemoveMenu));
    const PrivacyItems privacyItems = AddPrivacyItems(menu, item);
    QAction* chosen = menu.exec(globalAt);
    if (chosen == nullptr || ChosePrivacy(chosen, privacyItems))
        return;
    if (chosen == cancel) {
        playlistLibrary->Cancel(source);
    } else if (chosen == rename) {
        bool ok = false;
        const QString newName = QInputDialog::getText(tree->window(), PlaylistText(PlaylistRenameMenu),
                                                      PlaylistText(PlaylistRenamePrompt), QLineEdit::Normal, name, &ok);
        if (ok && !newName.trimmed().isEmpty())
            emit RenamePlaylistRequested(playlist, newName.trimmed());
    } else if (chosen == refresh) {
        emit RefreshPlaylistRequested(playlist);
    } else if (chosen == remove && ConfirmRemove(playlist)) {
        emit RemovePlaylistRequested(playlist);
    }
}

bool ChannelTree::ConfirmRemove(int playlist) const
{
    const Playlist& list = directory.Playlists()[static_cast<std::size_t>(playlist)];
    const int fromIt = favorites.CountFrom(list);
    const QStringList& guidance = texts[Guidance];
    QString text = guidance.value(GuidanceRemoveQuestion).arg(list.name);
    if (fromIt > 0) {
        const QString& locale = texts[Locale].value(LocaleCode);
        text += QLatin1Char('\n') + PluralForm(guidance.value(GuidanceFavoritesKept), locale, fromIt).arg(fromIt);
    }
    return MessageBox(tree->window(), text, PlaylistText(PlaylistCaption), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

const QString& ChannelTree::PlaylistText(int index) const
{
    return texts.Text(Playlists, index);
}
