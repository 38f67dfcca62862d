#pragma once
// Draws channel names in the channel window's views: right-to-left names in their natural
// order, and after a name, dimmed, the detail an item may carry in DetailRole; an item
// with a logo shows it in place of its icon; a mark (a film watched) goes before the detail,
// and an item that is a programme to be recorded begins with a red dot.

#include <QPixmap>
#include <QStyledItemDelegate>

#include <functional>

class ChannelItemDelegate : public QStyledItemDelegate
{
public:
    static constexpr int DetailRole = Qt::UserRole + 7; // after the channel tree's roles

    // The logo of an item at a height, null while it has none; asked only for the items
    // painted.
    using LogoOf = std::function<QPixmap(const QModelIndex& index, int height)>;

    using QStyledItemDelegate::QStyledItemDelegate;
    void SetLogoOf(LogoOf logos) { logoOf = std::move(logos); }
    // An item's mark, empty for none; asked only for the items painted.
    using MarkOf = std::function<QString(const QModelIndex& index)>;
    void SetMarkOf(MarkOf marks) { markOf = std::move(marks); }
    // Whether an item is a programme to be recorded; asked only for the items painted.
    using RecordedOf = std::function<bool(const QModelIndex& index)>;
    void SetRecordedOf(RecordedOf recorded) { recordedOf = std::move(recorded); }

    QString displayText(const QVariant& value, const QLocale& locale) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    LogoOf logoOf;
    MarkOf markOf;
    RecordedOf recordedOf;
};
