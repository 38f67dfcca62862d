#pragma once
// Keeps what assistive technology sees of a tree's rows true to the screen. The toolkit
// keeps the accessible cells of a tree by their place among the rows shown, and moves
// them as if the tree were a flat table when rows come or go, so after a node opens the
// cells still name the rows that were there before: the rows moved to are never announced.
// This drops those cells whenever the rows shown change; they are made anew when asked.

#include <QObject>

class QTreeView;

class AccessibleTreeRows : public QObject
{
public:
    // Follows tree's model as set now.
    explicit AccessibleTreeRows(QTreeView* tree);

private:
    void Renew();

    QTreeView* tree;
};
