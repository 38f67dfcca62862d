#include "PartAccessible.h"

#include "AccessibleParts.h"

#include <algorithm>

PartAccessible::PartAccessible(QWidget* owner, AccessibleParts* parts, int index)
    : owner(owner), parts(parts), index(index)
{
}

AccessiblePart PartAccessible::Part() const
{
    return isValid() ? parts->Part(index) : AccessiblePart();
}

bool PartAccessible::isValid() const
{
    return owner != nullptr && index < parts->PartCount();
}

QWindow* PartAccessible::window() const
{
    return owner != nullptr ? owner->window()->windowHandle() : nullptr;
}

QAccessibleInterface* PartAccessible::childAt(int, int) const
{
    return nullptr;
}

QAccessibleInterface* PartAccessible::parent() const
{
    return owner != nullptr ? QAccessible::queryAccessibleInterface(owner) : nullptr;
}

QAccessibleInterface* PartAccessible::child(int at) const
{
    QWidget* popup = Part().popup;
    return at == 0 && popup != nullptr ? QAccessible::queryAccessibleInterface(popup) : nullptr;
}

int PartAccessible::childCount() const
{
    return Part().popup != nullptr ? 1 : 0;
}

int PartAccessible::indexOfChild(const QAccessibleInterface* other) const
{
    return other != nullptr && other == child(0) ? 0 : -1;
}

QString PartAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name)
        return Part().name;
    if (t == QAccessible::Value) {
        const std::optional<int> value = Part().value;
        return value ? QString::number(*value) : QString();
    }
    return {};
}

void PartAccessible::setText(QAccessible::Text, const QString&) {}

QRect PartAccessible::rect() const
{
    if (!isValid())
        return {};
    const QRect local = Part().rect;
    return QRect(owner->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::Role PartAccessible::role() const
{
    return Part().role;
}

QAccessible::State PartAccessible::state() const
{
    QAccessible::State state = Part().state;
    if (owner == nullptr || !owner->isVisible())
        state.invisible = true;
    return state;
}

void* PartAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ActionInterface && !actionNames().isEmpty())
        return static_cast<QAccessibleActionInterface*>(this);
    if (type == QAccessible::ValueInterface && Part().value)
        return static_cast<QAccessibleValueInterface*>(this);
    return nullptr;
}

QStringList PartAccessible::actionNames() const
{
    const AccessiblePart part = Part();
    if (part.value)
        return {increaseAction(), decreaseAction()};
    if (part.state.checkable)
        return {toggleAction()};
    if (part.role == QAccessible::Button || part.role == QAccessible::MenuItem)
        return {pressAction()};
    return {};
}

void PartAccessible::doAction(const QString& actionName)
{
    if (!isValid() || !actionNames().contains(actionName))
        return;
    if (actionName == increaseAction() || actionName == decreaseAction()) {
        const int step = actionName == increaseAction() ? kValueStep : -kValueStep;
        setCurrentValue(Part().value.value_or(0) + step);
        return;
    }
    parts->PressPart(index);
}

QStringList PartAccessible::keyBindingsForAction(const QString&) const
{
    return {};
}

QVariant PartAccessible::currentValue() const
{
    const std::optional<int> value = Part().value;
    return value ? QVariant(*value) : QVariant();
}

void PartAccessible::setCurrentValue(const QVariant& value)
{
    if (isValid() && Part().value)
        parts->SetPartValue(index, std::clamp(value.toInt(), 0, AccessibleParts::kMaximumValue));
}

QVariant PartAccessible::maximumValue() const
{
    return AccessibleParts::kMaximumValue;
}

QVariant PartAccessible::minimumValue() const
{
    return 0;
}

QVariant PartAccessible::minimumStepSize() const
{
    return 1;
}
