#include "AccessibleTreeRows.h"

#include <QAccessible>
#include <QTreeView>

AccessibleTreeRows::AccessibleTreeRows(QTreeView* tree) : QObject(tree), tree(tree)
{
    // After the view's own handlers, which these connections follow.
    connect(tree, &QTreeView::expanded, this, &AccessibleTreeRows::Renew);
    connect(tree, &QTreeView::collapsed, this, &AccessibleTreeRows::Renew);
    QAbstractItemModel* model = tree->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, &AccessibleTreeRows::Renew);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &AccessibleTreeRows::Renew);
    connect(model, &QAbstractItemModel::rowsMoved, this, &AccessibleTreeRows::Renew);
    connect(model, &QAbstractItemModel::layoutChanged, this, &AccessibleTreeRows::Renew);
    connect(model, &QAbstractItemModel::modelReset, this, &AccessibleTreeRows::Renew);
}

void AccessibleTreeRows::Renew()
{
    if (!QAccessible::isActive())
        return;
    // The rows are laid out at once, so that the cells made next are those on screen.
    (void)tree->visualRect(tree->currentIndex());
    QAccessibleTableModelChangeEvent renewed(tree, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&renewed);
}
