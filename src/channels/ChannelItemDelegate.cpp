#include "ChannelItemDelegate.h"

#include "NaturalOrder.h"
#include "RecordMark.h"

#include <QApplication>
#include <QPainter>

namespace {
constexpr int kDetailGap = 8; // between the name and its detail, in pixels
constexpr int kMarkMargin = 3; // on either side of the record mark
} // namespace

QString ChannelItemDelegate::displayText(const QVariant& value, const QLocale& locale) const
{
    return NaturalOrder(QStyledItemDelegate::displayText(value, locale));
}

void ChannelItemDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!logoOf)
        return;
    const QPixmap logo = logoOf(index, option->decorationSize.height());
    if (logo.isNull())
        return;
    option->icon = QIcon(logo);
    option->features |= QStyleOptionViewItem::HasDecoration;
}

void ChannelItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem shown = option;
    if (recordedOf && recordedOf(index)) {
        // The dot goes first, the item as it is after it; the row's background spans both.
        QStyleOptionViewItem row = option;
        initStyleOption(&row, index);
        const QStyle* style = row.widget != nullptr ? row.widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &row, painter, row.widget);
        const int height = row.fontMetrics.height();
        const QRect line(option.rect.left() + kMarkMargin, option.rect.center().y() - height / 2, height, height);
        shown.rect.setLeft(line.left() + PaintRecordMark(*painter, line) + kMarkMargin);
    }
    QStyledItemDelegate::paint(painter, shown, index);
    QString detail = index.data(DetailRole).toString();
    if (const QString mark = markOf ? markOf(index) : QString(); !mark.isEmpty())
        detail = detail.isEmpty() ? mark : mark + QLatin1Char(' ') + detail;
    if (detail.isEmpty())
        return;
    QStyleOptionViewItem item = shown;
    initStyleOption(&item, index);
    const QStyle* style = item.widget != nullptr ? item.widget->style() : QApplication::style();
    QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
    area.setLeft(area.left() + item.fontMetrics.horizontalAdvance(item.text) + kDetailGap);
    if (area.width() <= 0)
        return;
    const bool selected = item.state.testFlag(QStyle::State_Selected);
    QColor colour = item.palette.color(selected ? QPalette::HighlightedText : QPalette::PlaceholderText);
    painter->save();
    painter->setPen(colour);
    painter->setFont(item.font);
    painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                      item.fontMetrics.elidedText(NaturalOrder(detail), Qt::ElideRight, area.width()));
    painter->restore();
}
