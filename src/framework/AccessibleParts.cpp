#include "AccessibleParts.h"

#include "PartedWidgetAccessible.h"

#include <QWidget>

namespace {
QAccessibleInterface* PartedWidgetFactory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    auto* parts = dynamic_cast<AccessibleParts*>(object);
    if (widget == nullptr || parts == nullptr)
        return nullptr;
    return new PartedWidgetAccessible(widget, parts);
}

// The part's interface, when assistive technology listens; else null, so that nothing is
// made for nobody.
QAccessibleInterface* ListenedPart(QWidget* owner, int index)
{
    if (!QAccessible::isActive())
        return nullptr;
    QAccessibleInterface* widget = QAccessible::queryAccessibleInterface(owner);
    return widget != nullptr ? widget->child(index) : nullptr;
}
} // namespace

void AccessibleParts::InstallFactory()
{
    static bool installed = false;
    if (!installed)
        QAccessible::installFactory(PartedWidgetFactory);
    installed = true;
}

void AccessibleParts::Notify(QWidget* owner, int index, QAccessible::Event event)
{
    if (QAccessibleInterface* part = ListenedPart(owner, index)) {
        QAccessibleEvent notice(part, event);
        QAccessible::updateAccessibility(&notice);
    }
}

void AccessibleParts::NotifyState(QWidget* owner, int index, QAccessible::State changed)
{
    if (QAccessibleInterface* part = ListenedPart(owner, index)) {
        QAccessibleStateChangeEvent notice(part, changed);
        QAccessible::updateAccessibility(&notice);
    }
}

void AccessibleParts::NotifyValue(QWidget* owner, int index, int value)
{
    if (QAccessibleInterface* part = ListenedPart(owner, index)) {
        QAccessibleValueChangeEvent notice(part, value);
        QAccessible::updateAccessibility(&notice);
    }
}
