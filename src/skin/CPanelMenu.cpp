#include "CPanelMenu.h"

#include "CMemDC.h"
#include "InvalidArgument.h"
#include "SkinColours.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTimer>

namespace {

constexpr int kTextInsetLeft = 8;
constexpr int kTextInsetTop = 3;
constexpr int kExtraWidth = 16;

} // namespace

CPanelMenu::CPanelMenu()
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

CPanelMenu::~CPanelMenu() = default;

bool CPanelMenu::Create(QWidget* parent)
{
    setParent(parent);
    setGeometry(0, 0, 100, kHeight);
    show();
    images[Menu1].Load(QStringLiteral("Skin/Menu1.png"));
    images[Menu2].Load(QStringLiteral("Skin/Menu2.png"));
    return true;
}

void CPanelMenu::SetFont(const QFont& font)
{
    itemFont = font;
}

void CPanelMenu::AddItem(const QString& text, QMenu* menu)
{
    texts.append(text);
    menus.append(menu);
    states.append(0);
    const int itemWidth = QFontMetrics(ItemFont()).horizontalAdvance(text) + kExtraWidth;
    rects.append(QRect(nextLeft, 0, itemWidth, kHeight));
    nextLeft += itemWidth;
    Notify(this, ItemCount() - 1, QAccessible::NameChanged);
}

void CPanelMenu::RemoveAllItems()
{
    texts.clear();
    menus.clear();
    states.clear();
    rects.clear();
    nextLeft = 0;
}

QRect CPanelMenu::ItemRect(int index) const
{
    return CheckedAt(rects, index);
}

bool CPanelMenu::IsItemHot(int index) const
{
    return CheckedAt(states, index) == 1;
}

AccessiblePart CPanelMenu::Part(int index) const
{
    AccessiblePart part;
    part.role = QAccessible::MenuItem;
    part.name = texts.value(index);
    part.rect = rects.value(index);
    part.popup = menus.value(index);
    part.state.hasPopup = true;
    part.state.focusable = true;
    return part;
}

void CPanelMenu::PressPart(int index)
{
    // Later: the menu's own loop must not run inside the request that asked for it.
    QTimer::singleShot(0, this, [this, index] {
        if (index < ItemCount())
            OpenPopup(index);
    });
}

void CPanelMenu::SetState(int index, int state)
{
    states[index] = state;
    paintIndex = index;
    repaint(rects[index]);
}

void CPanelMenu::paintEvent(QPaintEvent* event)
{
    CMemDC dc(this, event->region());
    QPainter& p = dc.Painter();
    p.setFont(ItemFont());
    p.setPen(kSkinTextColour);
    // One item only when the paint stays inside it; a wider paint (first show, resize,
    // merged updates) redraws the whole bar.
    if (paintIndex >= 0 && paintIndex < rects.size() && rects[paintIndex].contains(dc.Rect())) {
        images[states[paintIndex] == 0 ? Menu1 : Menu2].Draw(p, rects[paintIndex]);
        DrawText(p, paintIndex);
    } else {
        images[Menu1].Draw(p, 0, 0, width(), -1);
        for (int i = 0; i < texts.size(); ++i)
            DrawText(p, i);
    }
    paintIndex = -1;
}

void CPanelMenu::DrawText(QPainter& p, int index) const
{
    p.drawText(rects[index].adjusted(kTextInsetLeft, kTextInsetTop, 0, 0),
               Qt::AlignLeft | Qt::AlignTop, texts[index]);
}

void CPanelMenu::mouseMoveEvent(QMouseEvent* event)
{
    if (!hoverEnabled)
        return;
    const QPoint pos = event->position().toPoint();
    for (int i = 0; i < rects.size(); ++i) {
        const int state = rects[i].contains(pos) ? 1 : 0;
        if (states[i] != state)
            SetState(i, state);
    }
    openItem = -1;
    QWidget::mouseMoveEvent(event);
}

void CPanelMenu::leaveEvent(QEvent* event)
{
    if (hoverEnabled) {
        for (int i = 0; i < states.size(); ++i) {
            if (states[i] != 0)
                SetState(i, 0);
        }
    }
    QWidget::leaveEvent(event);
}

void CPanelMenu::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint pos = event->position().toPoint();
        for (int i = 0; i < rects.size(); ++i) {
            if (!rects[i].contains(pos))
                continue;
            // A click on the item whose menu was just open closes nothing and opens
            // nothing: it only clears the marker.
            if (i == openItem)
                openItem = -1;
            else
                OpenPopup(i);
            break;
        }
    }
    QWidget::mousePressEvent(event);
}

void CPanelMenu::OpenFromKeyboard()
{
    if (ItemCount() > 0 && isVisible())
        OpenPopup(0, true);
}

void CPanelMenu::OpenPopup(int index, bool fromKeyboard)
{
    hoverEnabled = false;
    bool highlightFirst = fromKeyboard;
    for (;;) {
        const int step = RunPopup(index, highlightFirst);
        if (step == 0 || index >= ItemCount())
            break;
        SetState(index, 0);
        index = (index + step + ItemCount()) % ItemCount();
        highlightFirst = true; // moving between menus is the keyboard's
    }
    // No pointer will move off the item to cool it down.
    if (highlightFirst && index < ItemCount())
        SetState(index, 0);
    hoverEnabled = true;
}

int CPanelMenu::RunPopup(int index, bool highlightFirst)
{
    openItem = index;
    states[index] = 1;
    paintIndex = index;
    update(rects[index]);

    const QRect& item = rects[index];
    const QPoint below = mapToGlobal(QPoint(item.left(), item.top() + item.height()));
    const QPointer<QMenu> menu = menus[index];
    if (!menu)
        return 0;
    stepAfterClose = 0;
    menu->installEventFilter(this);
    if (highlightFirst) {
        // Once shown: a menu being opened forgets any highlight set before.
        QTimer::singleShot(0, menu, [menu] {
            for (QAction* action : menu->actions()) {
                if (!action->isSeparator() && action->isEnabled()) {
                    menu->setActiveAction(action);
                    break;
                }
            }
        });
    }
    // exec() returns when the menu closes, like the platform's popup menu; the items
    // may have been replaced by the time the command has been carried out.
    QAction* chosen = menu->exec(below);
    if (menu)
        menu->removeEventFilter(this);
    if (chosen != nullptr && chosen->data().isValid()) {
        emit CommandChosen(chosen->data().toInt());
        return 0;
    }
    return stepAfterClose;
}

bool CPanelMenu::eventFilter(QObject* watched, QEvent* event)
{
    // Left and Right go on to the neighbouring menu, as in a menu bar.
    auto* menu = qobject_cast<QMenu*>(watched);
    if (event->type() == QEvent::KeyPress && menu != nullptr && menus.contains(menu)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right) {
            stepAfterClose = key == Qt::Key_Left ? -1 : +1;
            menu->close();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
