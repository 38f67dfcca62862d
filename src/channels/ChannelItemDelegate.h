#pragma once
// Draws channel names in the channel window's views: right-to-left names in their natural
// order, and after a name, dimmed, the detail an item may carry in DetailRole.

#include <QStyledItemDelegate>

class ChannelItemDelegate : public QStyledItemDelegate
{
public:
    static constexpr int DetailRole = Qt::UserRole + 5;

    using QStyledItemDelegate::QStyledItemDelegate;

    QString displayText(const QVariant& value, const QLocale& locale) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
