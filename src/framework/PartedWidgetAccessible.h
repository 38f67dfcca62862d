#pragma once
// What assistive technology sees of a widget with parts: the widget in the role it names,
// with its parts, in their order, as its children (real child widgets not among the parts
// stay out of sight).

#include <QAccessibleWidget>

#include <vector>

class AccessibleParts;
class PartAccessible;

class PartedWidgetAccessible : public QAccessibleWidget
{
public:
    PartedWidgetAccessible(QWidget* widget, AccessibleParts* parts);
    ~PartedWidgetAccessible() override;

    QAccessible::Role role() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    AccessibleParts* Parts() const { return parts; }

private:
    AccessibleParts* parts;
    mutable std::vector<PartAccessible*> made; // by part index, made when first asked for
};
