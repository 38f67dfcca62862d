#include "PartedWidgetAccessible.h"

#include "AccessibleParts.h"
#include "PartAccessible.h"

PartedWidgetAccessible::PartedWidgetAccessible(QWidget* widget, AccessibleParts* parts)
    : QAccessibleWidget(widget, parts->AccessibleRole()), parts(parts)
{
}

PartedWidgetAccessible::~PartedWidgetAccessible()
{
    for (PartAccessible* part : made) {
        if (part != nullptr)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(part));
    }
}

QAccessible::Role PartedWidgetAccessible::role() const
{
    return parts->AccessibleRole();
}

int PartedWidgetAccessible::childCount() const
{
    return parts->PartCount();
}

QAccessibleInterface* PartedWidgetAccessible::child(int index) const
{
    if (index < 0 || index >= parts->PartCount())
        return nullptr;
    if (QWidget* stand = parts->Part(index).widget)
        return QAccessible::queryAccessibleInterface(stand);
    if (made.size() <= static_cast<std::size_t>(index))
        made.resize(static_cast<std::size_t>(index) + 1, nullptr);
    PartAccessible*& part = made[static_cast<std::size_t>(index)];
    if (part == nullptr) {
        part = new PartAccessible(widget(), parts, index);
        QAccessible::registerAccessibleInterface(part);
    }
    return part;
}

int PartedWidgetAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    for (int index = 0; index < childCount(); ++index) {
        if (this->child(index) == child)
            return index;
    }
    return -1;
}

QAccessibleInterface* PartedWidgetAccessible::childAt(int x, int y) const
{
    for (int index = 0; index < childCount(); ++index) {
        QAccessibleInterface* part = child(index);
        if (part != nullptr && part->rect().contains(x, y))
            return part;
    }
    return nullptr;
}

QAccessibleInterface* PartedWidgetAccessible::focusChild() const
{
    const int focused = parts->FocusedPart();
    return focused >= 0 ? child(focused) : QAccessibleWidget::focusChild();
}
