#pragma once
// One part of a widget with parts, as assistive technology sees it: its role, name, state
// and place come from the widget each time they are asked for; a button can be pressed,
// a toggle toggled, a menu opened and a slider moved.

#include <QAccessibleInterface>
#include <QPointer>
#include <QWidget>

class AccessibleParts;
struct AccessiblePart;

class PartAccessible : public QAccessibleInterface, public QAccessibleActionInterface,
                       public QAccessibleValueInterface
{
public:
    static constexpr int kValueStep = 5; // of a slider moved by its actions

    PartAccessible(QWidget* owner, AccessibleParts* parts, int index);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString& text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    AccessiblePart Part() const;

    QPointer<QWidget> owner;
    AccessibleParts* parts;
    int index;
};
