#pragma once
// How hiding and locking shape a node of the channel tree and what is under it: left out
// while hidden places are not shown, greyed while they are, closed and emptied while locked
// and the locks are shut (made again once they open).

#include <functional>

class PrivacyCheck;
class QPalette;
class QTreeWidgetItem;

struct TreePrivacyShape
{
    const PrivacyCheck& check;
    std::function<unsigned(const QTreeWidgetItem*)> marksOf;
    std::function<bool(const QTreeWidgetItem*)> greyedAnyway; // unset: by the marks alone
};

// Children of a greyed node stay greyed.
void ShapeByPrivacy(QTreeWidgetItem* item, const TreePrivacyShape& shape, bool greyedAbove = false);
void SetGreyed(QTreeWidgetItem* item, bool greyed, const QPalette& palette);
