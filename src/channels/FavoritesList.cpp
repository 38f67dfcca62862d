#include "FavoritesList.h"

#include "ChannelDirectory.h"
#include "ChannelItemDelegate.h"
#include "ChannelTreeLayout.h"
#include "LogoCache.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace {
constexpr int kColumnWidth = 100;
constexpr QSize kSmallIcon(16, 16);
} // namespace

FavoritesList::FavoritesList(QWidget* window, Favorites& favorites, const ChannelDirectory& directory,
                             const QList<QIcon>& images)
    : QObject(window), favorites(favorites), directory(directory), images(images), list(new QTreeWidget(window))
{
    list->setObjectName(QStringLiteral("favoritesList"));
    list->setColumnCount(1);
    list->setHeaderHidden(true);
    list->header()->setStretchLastSection(false);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setItemDelegate(new ChannelItemDelegate(list));
    list->setIconSize(kSmallIcon);
    list->setColumnWidth(0, kColumnWidth);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setAllColumnsShowFocus(true);
    list->hide();
    connect(list, &QTreeWidget::itemSelectionChanged, this, &FavoritesList::SelectionChanged);
    connect(list, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { emit Activated(list->indexOfTopLevelItem(item)); });
    connect(&favorites, &Favorites::Changed, this, &FavoritesList::Refill);
}

void FavoritesList::ShowLogos(LogoCache& logos)
{
    static_cast<ChannelItemDelegate*>(list->itemDelegate())
        ->SetLogoOf([this, &logos](const QModelIndex& index, int height) {
            const int row = index.row();
            const OwnStream stream = row < favorites.Count() ? favorites.At(row).stream : OwnStream();
            return logos.Logo(directory.LogoAddressOf(directory.KeyOfStream(stream)), height);
        });
    connect(&logos, &LogoCache::Answered, list->viewport(), qOverload<>(&QWidget::update));
}

// Quietly: whoever changed the favourites selects what the change concerns.
void FavoritesList::Refill()
{
    const QSignalBlocker blocker(list);
    list->clear();
    for (const Favorite& favorite : favorites.All()) {
        auto* item = new QTreeWidgetItem();
        item->setText(0, favorite.name);
        item->setIcon(0, images.value(static_cast<int>(favorite.icon)));
        item->setData(0, ImageIndexRole, favorite.icon);
        item->setData(0, Qt::UserRole, favorite.id);
        list->addTopLevelItem(item);
    }
}

bool FavoritesList::HasSelection() const
{
    return !list->selectedItems().isEmpty();
}

int FavoritesList::SelectedRow() const
{
    QTreeWidgetItem* current = list->currentItem();
    if (current == nullptr && HasSelection())
        current = list->selectedItems().first();
    return HasSelection() ? list->indexOfTopLevelItem(current) : -1;
}

void FavoritesList::Select(int row)
{
    QTreeWidgetItem* item = list->topLevelItem(row);
    list->clearSelection();
    list->setCurrentItem(item);
    list->scrollToItem(item, QAbstractItemView::EnsureVisible);
    if (item == nullptr)
        emit SelectionChanged(); // the list is empty: nothing left to play, remove or move
}

QString FavoritesList::DescriptionOf(int row) const
{
    const Favorite& favorite = favorites.At(row);
    return favorite.stream.IsEmpty() ? directory.DescriptionOf(favorite.id) : directory.DescriptionOf(favorite.stream);
}

void FavoritesList::Add(const Favorite& favorite)
{
    const int row = favorites.Add(favorite);
    if (row >= 0)
        Select(row);
}

void FavoritesList::RemoveSelected()
{
    int row = SelectedRow();
    if (row < 0)
        return;
    favorites.Remove(row);
    if (row >= favorites.Count())
        --row;
    Select(row);
}

void FavoritesList::MoveSelected(int step)
{
    const int row = SelectedRow();
    if (row >= 0 && favorites.Move(row, step))
        Select(row + step);
}
