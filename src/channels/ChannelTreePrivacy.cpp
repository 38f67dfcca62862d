// The channel tree as hiding and locking shape it: the built-in groups made again when their
// marks change, the menu's Hide and Lock... for every kind of item.

#include "ChannelTree.h"

#include "ChannelTreeLayout.h"
#include "PlaylistTree.h"
#include "PrivacyCheck.h"
#include "PrivacyTexts.h"
#include "TreePrivacyShape.h"

#include <QMenu>
#include <QScrollBar>
#include <QSet>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>

namespace {
QVariant fixedSectionOf(const QTreeWidgetItem* item)
{
    return item != nullptr ? item->data(0, FixedSectionRole) : QVariant();
}

// What the fixed tree showed open and selected, by section and channel, to outlive its items.
struct FixedPlace
{
    QSet<int> open;
    QVariant currentSection;
    ChannelId currentChannel = 0;
};

void saveOpen(const QTreeWidgetItem* item, QSet<int>& open)
{
    if (item->isExpanded() && fixedSectionOf(item).isValid())
        open.insert(fixedSectionOf(item).toInt());
    for (int k = 0; k < item->childCount(); ++k)
        saveOpen(item->child(k), open);
}

QTreeWidgetItem* fixedNode(QTreeWidgetItem* item, const QVariant& section)
{
    if (fixedSectionOf(item) == section)
        return item;
    for (int k = 0; k < item->childCount(); ++k) {
        if (QTreeWidgetItem* found = fixedNode(item->child(k), section); found != nullptr)
            return found;
    }
    return nullptr;
}

// The item place names under item, opening what was open on the way.
QTreeWidgetItem* restoreOpen(QTreeWidgetItem* item, const FixedPlace& place)
{
    const QVariant section = fixedSectionOf(item);
    if (section.isValid() && place.open.contains(section.toInt()))
        item->setExpanded(true);
    QTreeWidgetItem* current = nullptr;
    if ((section.isValid() && section == place.currentSection)
        || (place.currentChannel != 0 && item->data(0, Qt::UserRole).toUInt() == place.currentChannel))
        current = item;
    for (int k = 0; k < item->childCount(); ++k) {
        if (QTreeWidgetItem* found = restoreOpen(item->child(k), place); found != nullptr)
            current = found;
    }
    return current;
}
} // namespace

void ChannelTree::SetPrivacy(const PrivacyCheck* check, std::function<bool()> ask)
{
    privacy = check;
    hiddenShown = check != nullptr && check->ShowHidden();
    openLocks = ask;
    playlistTree->SetPrivacy(check, std::move(ask));
}

void ChannelTree::ApplyPrivacy()
{
    if (privacy == nullptr)
        return;
    if (privacy->AnyBuiltin() || fixedShaped)
        RefillFixed();
    if (privacy->ShowHidden() != hiddenShown) {
        hiddenShown = privacy->ShowHidden();
        RefillPlaylists(NewPlaylists::Leave);
        return;
    }
    const QSignalBlocker blocker(tree); // the window shows the selection again itself
    playlistTree->ApplyPrivacy();
}

int ChannelTree::FixedTopLevelCount() const
{
    int count = 0;
    while (count < tree->topLevelItemCount() && fixedSectionOf(tree->topLevelItem(count)).isValid())
        ++count;
    return count;
}

PrivacyPlace ChannelTree::FixedPlaceOf(const QTreeWidgetItem* item) const
{
    if (const QVariant section = fixedSectionOf(item); section.isValid())
        return PrivacyPlace::Builtin(section.toInt());
    if (item == nullptr || PlaylistTree::PlaylistOf(item) >= 0)
        return {};
    const ChannelId id = item->data(0, Qt::UserRole).toUInt();
    return id != 0 ? PrivacyPlace::Builtin(SectionNumber(id), ChannelPosition(id)) : PrivacyPlace();
}

void ChannelTree::ShapeFixed()
{
    fixedShaped = privacy != nullptr && privacy->AnyBuiltin();
    if (!fixedShaped)
        return;
    const TreePrivacyShape shape{*privacy, [this](const QTreeWidgetItem* item) {
                                     const PrivacyPlace place = FixedPlaceOf(item);
                                     return place.IsBuiltin() ? privacy->MarksOf(place) : unsigned(PrivacyCheck::kNone);
                                 }, {}};
    for (int k = FixedTopLevelCount() - 1; k >= 0; --k)
        ShapeByPrivacy(tree->topLevelItem(k), shape);
}

// Made again whole: a few hundred items, and a node once locked has its channels back.
void ChannelTree::RefillFixed()
{
    FixedPlace place;
    for (int k = 0; k < FixedTopLevelCount(); ++k)
        saveOpen(tree->topLevelItem(k), place.open);
    if (const QTreeWidgetItem* current = tree->currentItem(); current != nullptr) {
        place.currentSection = fixedSectionOf(current);
        place.currentChannel = PlaylistTree::PlaylistOf(current) < 0 ? current->data(0, Qt::UserRole).toUInt() : 0;
    }
    const int scrolled = tree->verticalScrollBar()->value();
    const QSignalBlocker blocker(tree);
    for (int k = FixedTopLevelCount(); k > 0; --k)
        delete tree->takeTopLevelItem(0);
    FillFixed();
    QTreeWidgetItem* current = nullptr;
    for (int k = 0; k < FixedTopLevelCount(); ++k) {
        if (QTreeWidgetItem* found = restoreOpen(tree->topLevelItem(k), place); found != nullptr)
            current = found;
    }
    if (current != nullptr)
        tree->setCurrentItem(current);
    tree->verticalScrollBar()->setValue(scrolled);
}

// A locked built-in group asks for the PIN once the tree is done opening it, and opens
// when it is given.
void ChannelTree::FixedNodeOpened(QTreeWidgetItem* item)
{
    const QVariant section = fixedSectionOf(item);
    if (!section.isValid() || item->childCount() > 0 || privacy == nullptr || privacy->Unlocked()
        || (privacy->MarksOf(FixedPlaceOf(item)) & PrivacyCheck::kLocked) == 0)
        return;
    item->setExpanded(false);
    QTimer::singleShot(0, this, [this, section] {
        if (!openLocks || !openLocks())
            return;
        for (int k = 0; k < FixedTopLevelCount(); ++k) {
            if (QTreeWidgetItem* node = fixedNode(tree->topLevelItem(k), section); node != nullptr) {
                node->setExpanded(true);
                tree->setCurrentItem(node);
                return;
            }
        }
    });
}

ChannelTree::PrivacyItems ChannelTree::AddPrivacyItems(QMenu& menu, const QTreeWidgetItem* item) const
{
    PrivacyItems items;
    items.place = playlistTree->PlaceOf(item);
    if (items.place.IsNone())
        items.place = FixedPlaceOf(item);
    if (privacy == nullptr || items.place.IsNone())
        return items;
    const unsigned own = privacy->OwnMarks(items.place);
    items.hidden = (own & PrivacyCheck::kHidden) != 0;
    items.locked = (own & PrivacyCheck::kLocked) != 0;
    menu.addSeparator();
    items.hide = menu.addAction(texts.Text(Privacy, items.hidden ? PrivUnhideMenu : PrivHideMenu));
    items.lock = menu.addAction(texts.Text(Privacy, items.locked ? PrivUnlockMenu : PrivLockMenu));
    menu.addSeparator();
    return items;
}

bool ChannelTree::ChosePrivacy(const QAction* chosen, const PrivacyItems& items)
{
    if (chosen == items.hide)
        emit PrivacyRequested(items.hidden ? PrivacyChange::Unhide : PrivacyChange::Hide, items.place);
    else if (chosen == items.lock)
        emit PrivacyRequested(items.locked ? PrivacyChange::Unlock : PrivacyChange::Lock, items.place);
    else
        return false;
    return true;
}
