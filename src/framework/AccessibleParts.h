#pragma once
// Widgets that draw several controls themselves (the skinned panels, the main window's
// picture and status line) describe each of them to assistive technology as a part: a
// control of its own with a role, a name in the current language, a state, and an action
// or a value where it has one. The widget tells of every change through the Notify
// functions.

#include <QAccessible>
#include <QRect>
#include <QString>

#include <optional>

class QWidget;

struct AccessiblePart
{
    QAccessible::Role role = QAccessible::NoRole;
    QString name;
    QRect rect;               // in the widget's coordinates
    QAccessible::State state; // invisibility comes from the widget
    std::optional<int> value; // a slider's position, 0 to 100
    // A real widget that stands in this place among the parts instead.
    QWidget* widget = nullptr;
    // What the part opens (a menu), shown to assistive technology as its one child.
    QWidget* popup = nullptr;
};

class AccessibleParts
{
public:
    static constexpr int kMaximumValue = 100;

    virtual ~AccessibleParts() = default;

    virtual QAccessible::Role AccessibleRole() const = 0;
    virtual int PartCount() const = 0;
    virtual AccessiblePart Part(int index) const = 0;
    // The part with the keyboard focus inside the widget, -1 for none.
    virtual int FocusedPart() const { return -1; }
    // The part's one action: press, toggle or open.
    virtual void PressPart(int index) { Q_UNUSED(index); }
    virtual void SetPartValue(int index, int value) { Q_UNUSED(index); Q_UNUSED(value); }

    // Makes assistive technology see the parts of every widget that has them.
    static void InstallFactory();

    // Tell assistive technology, if any listens, that a part of owner changed.
    static void Notify(QWidget* owner, int index, QAccessible::Event event);
    static void NotifyState(QWidget* owner, int index, QAccessible::State changed);
    static void NotifyValue(QWidget* owner, int index, int value);
};
