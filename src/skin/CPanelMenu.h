#pragma once
// The skinned menu bar at the top of the main window: a row of text items, each opening
// its popup menu below it. The command chosen in a popup is told by CommandChosen with the
// id the action carries in its data(). Assistive technology sees it as
// a menu bar whose items open their menus.

#include "AccessibleParts.h"
#include "CxImage.h"

#include <QFont>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <QWidget>

#include <array>
#include <optional>

class QMenu;

class CPanelMenu : public QWidget, public AccessibleParts
{
    Q_OBJECT

public:
    static constexpr int kHeight = 20; // of the bar and of each item

    CPanelMenu();
    ~CPanelMenu() override;

    bool Create(QWidget* parent);
    // The font the items are measured and drawn in; set it before adding items.
    void SetFont(const QFont& font);
    void AddItem(const QString& text, QMenu* menu);
    void RemoveAllItems();

    int ItemCount() const { return static_cast<int>(rects.size()); }
    QRect ItemRect(int index) const;
    bool IsItemHot(int index) const;
    // The item whose popup menu was opened last, until the pointer moves; -1 if none.
    int OpenItem() const { return openItem; }
    // Opens the first menu with its first item highlighted, as F10 or a lone Alt does.
    void OpenFromKeyboard();

    QAccessible::Role AccessibleRole() const override { return QAccessible::MenuBar; }
    int PartCount() const override { return ItemCount(); }
    AccessiblePart Part(int index) const override;
    void PressPart(int index) override;

signals:
    void CommandChosen(int command);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum Image { Menu1, Menu2, ImageCount };

    QFont ItemFont() const { return itemFont.value_or(font()); }
    // Sets an item's state and repaints just that item at once.
    void SetState(int index, int state);
    // Opens index's menu and, while Left or Right closes one, its neighbour's.
    void OpenPopup(int index, bool fromKeyboard = false);
    // The popup's own loop; returns the step Left (-1) or Right (+1) asked for, else 0.
    int RunPopup(int index, bool highlightFirst);
    void DrawText(QPainter& p, int index) const;

    std::array<CxImage, ImageCount> images;
    std::optional<QFont> itemFont;
    int paintIndex = -1;
    int nextLeft = 0;
    bool hoverEnabled = true;
    int openItem = -1;
    int stepAfterClose = 0;
    QStringList texts;
    QList<int> states;
    QList<QRect> rects;
    QList<QPointer<QMenu>> menus;
};
