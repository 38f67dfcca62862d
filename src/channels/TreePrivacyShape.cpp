#include "TreePrivacyShape.h"

#include "PrivacyCheck.h"

#include <QPalette>
#include <QTreeWidget>

void ShapeByPrivacy(QTreeWidgetItem* item, const TreePrivacyShape& shape, bool greyedAbove)
{
    const unsigned marks = shape.marksOf(item);
    const bool hidden = (marks & PrivacyCheck::kHidden) != 0;
    if (hidden && !shape.check.ShowHidden()) {
        delete item;
        return;
    }
    const bool greyed = greyedAbove || hidden;
    SetGreyed(item, greyed || (shape.greyedAnyway && shape.greyedAnyway(item)), item->treeWidget()->palette());
    if ((marks & PrivacyCheck::kLocked) != 0 && !shape.check.Unlocked()) {
        item->setExpanded(false);
        if (item->childCount() > 0)
            item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator); // still offered to open
        qDeleteAll(item->takeChildren());
        return;
    }
    for (int k = item->childCount() - 1; k >= 0; --k)
        ShapeByPrivacy(item->child(k), shape, greyed);
}

void SetGreyed(QTreeWidgetItem* item, bool greyed, const QPalette& palette)
{
    if (greyed)
        item->setForeground(0, palette.brush(QPalette::Disabled, QPalette::Text));
    else if (item->data(0, Qt::ForegroundRole).isValid())
        item->setData(0, Qt::ForegroundRole, QVariant());
}
