#include "GuideGrid.h"

#include "CatchupAddress.h"

#include "GuideStore.h"
#include "GuideWording.h"
#include "RecordMark.h"

#include <QDateTime>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>

#include <algorithm>

namespace {
constexpr qint64 kSecondsPerPixel = 15;  // half an hour is 120 pixels
constexpr qint64 kHalfHour = 30 * 60;
constexpr qint64 kDay = 24 * 3600;
constexpr qint64 kDaysBack = 7;          // what the store keeps
constexpr qint64 kDaysAhead = 14;
constexpr qint64 kReadMargin = 6 * 3600; // read beyond the view, so scrolling rarely reads
constexpr std::size_t kMaxReadRows = 400;    // rows kept read; beyond, all are read again
constexpr int kNowTickMs = 30 * 1000;
constexpr int kSideChars = 22;           // the channel column's width, in average characters
constexpr int kPadding = 4;
constexpr int kLogoWidthPercent = 150;   // of the logo's height: room for wide logos
constexpr int kWhole = 100;              // per cent
constexpr int kLeadFraction = 4;         // a time scrolled to sits a quarter into the view

qint64 FloorToHalfHour(qint64 time)
{
    return time - ((time % kHalfHour) + kHalfHour) % kHalfHour;
}
} // namespace

GuideGrid::GuideGrid(const GuideStore& store, GuideLinkOf linkOf, std::function<qint64()> clock, QWidget* parent)
    : QAbstractScrollArea(parent), store(store), linkOf(std::move(linkOf)), clock(std::move(clock))
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    horizontalScrollBar()->setSingleStep(static_cast<int>(kHalfHour / kSecondsPerPixel));
    nowTick.setInterval(kNowTickMs);
    connect(&nowTick, &QTimer::timeout, viewport(), qOverload<>(&QWidget::update));
    nowTick.start();
}

void GuideGrid::SetRows(std::vector<GuideRow> newRows, int current)
{
    rows = std::move(newRows);
    read.clear();
    const qint64 now = clock();
    origin = FloorToHalfHour(now - kDaysBack * kDay);
    UpdateScrollBars();
    selectedRow = -1;
    Select(std::clamp(current, 0, static_cast<int>(rows.size()) - 1), now);
}

void GuideGrid::Reload()
{
    read.clear();
    viewport()->update();
    emit SelectionChanged();
}

const GuideRow* GuideGrid::SelectedChannel() const
{
    return selectedRow >= 0 && selectedRow < static_cast<int>(rows.size()) ? &rows[static_cast<std::size_t>(selectedRow)]
                                                                           : nullptr;
}

std::optional<GuideProgramme> GuideGrid::SelectedProgramme()
{
    if (SelectedChannel() == nullptr)
        return std::nullopt;
    for (const GuideProgramme& programme : Programmes(selectedRow, selectedTime, selectedTime + 1)) {
        if (programme.start <= selectedTime && selectedTime < programme.RunsUntil())
            return programme;
    }
    return std::nullopt;
}

const std::vector<GuideProgramme>& GuideGrid::Programmes(int row, qint64 from, qint64 to)
{
    Span& span = read[row];
    if (span.from <= from && to <= span.to && span.to > span.from)
        return span.programmes;
    if (read.size() > kMaxReadRows) {
        read.clear();
        return Programmes(row, from, to);
    }
    span.from = from - kReadMargin;
    span.to = to + kReadMargin;
    span.programmes = store.Range(linkOf(rows[static_cast<std::size_t>(row)].key), span.from, span.to);
    return span.programmes;
}

int GuideGrid::RowHeight() const
{
    return 2 * fontMetrics().height() + 2 * kPadding;
}

int GuideGrid::HeaderHeight() const
{
    return fontMetrics().height() + 2 * kPadding;
}

int GuideGrid::SideWidth() const
{
    return kSideChars * fontMetrics().averageCharWidth() + (logoOf ? LogoSlot(0).width() + kPadding : 0);
}

int GuideGrid::VisibleRows() const
{
    return std::max(1, (viewport()->height() - HeaderHeight()) / RowHeight());
}

qint64 GuideGrid::ViewStart() const
{
    return TimeAt(SideWidth());
}

qint64 GuideGrid::ViewEnd() const
{
    return TimeAt(viewport()->width());
}

qint64 GuideGrid::TimeAt(int x) const
{
    return origin + (x - SideWidth() + horizontalScrollBar()->value()) * kSecondsPerPixel;
}

int GuideGrid::XOf(qint64 time) const
{
    return SideWidth() + static_cast<int>((time - origin) / kSecondsPerPixel) - horizontalScrollBar()->value();
}

void GuideGrid::UpdateScrollBars()
{
    const qint64 length = (kDaysBack + kDaysAhead) * kDay / kSecondsPerPixel;
    const int timeWidth = std::max(0, viewport()->width() - SideWidth());
    horizontalScrollBar()->setRange(0, static_cast<int>(std::max<qint64>(0, length - timeWidth)));
    horizontalScrollBar()->setPageStep(timeWidth);
    const int rowsHeight = std::max(0, viewport()->height() - HeaderHeight());
    verticalScrollBar()->setRange(0, std::max(0, static_cast<int>(rows.size()) * RowHeight() - rowsHeight));
    verticalScrollBar()->setPageStep(rowsHeight);
    verticalScrollBar()->setSingleStep(RowHeight());
}

void GuideGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
    if (selectedRow >= 0)
        EnsureVisible(); // the size it was scrolled for at first was a guess
}

void GuideGrid::Select(int row, qint64 time)
{
    if (rows.empty())
        return;
    selectedRow = std::clamp(row, 0, static_cast<int>(rows.size()) - 1);
    const qint64 first = origin;
    const qint64 last = origin + (kDaysBack + kDaysAhead) * kDay - 1;
    selectedTime = std::clamp(time, first, last);
    EnsureVisible();
    viewport()->update();
    emit SelectionChanged();
}

void GuideGrid::MoveProgramme(int step)
{
    const std::optional<GuideProgramme> current = SelectedProgramme();
    // Past a programme of no known end goes on by half an hour, as where there is none.
    const qint64 from = step > 0 ? (current && current->hasStop ? current->stop : selectedTime + 1)
                                 : (current ? current->start : selectedTime);
    const auto& list = Programmes(selectedRow, from - 1, from + 1);
    if (step > 0) {
        const auto next = std::find_if(list.begin(), list.end(), [&](const GuideProgramme& p) { return p.start >= from; });
        Select(selectedRow, next != list.end() && next->start - from < kReadMargin ? next->start : from + kHalfHour - 1);
        return;
    }
    const auto previous = std::find_if(list.rbegin(), list.rend(), [&](const GuideProgramme& p) { return p.start < from; });
    Select(selectedRow,
           previous != list.rend() && from - previous->RunsUntil() < kReadMargin ? previous->start : from - kHalfHour);
}

void GuideGrid::EnsureVisible()
{
    const int top = selectedRow * RowHeight();
    const int rowsHeight = viewport()->height() - HeaderHeight();
    QScrollBar* vertical = verticalScrollBar();
    if (top < vertical->value())
        vertical->setValue(top);
    else if (top + RowHeight() > vertical->value() + rowsHeight)
        vertical->setValue(top + RowHeight() - rowsHeight);

    if (selectedTime < ViewStart() || selectedTime >= ViewEnd() - kHalfHour) {
        const int timeWidth = viewport()->width() - SideWidth();
        horizontalScrollBar()->setValue(
            static_cast<int>((selectedTime - origin) / kSecondsPerPixel) - timeWidth / kLeadFraction);
    }
}

void GuideGrid::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        MoveProgramme(-1);
        break;
    case Qt::Key_Right:
        MoveProgramme(+1);
        break;
    case Qt::Key_Up:
        Select(selectedRow - 1, selectedTime);
        break;
    case Qt::Key_Down:
        Select(selectedRow + 1, selectedTime);
        break;
    case Qt::Key_PageUp:
        Select(selectedRow - VisibleRows(), selectedTime);
        break;
    case Qt::Key_PageDown:
        Select(selectedRow + VisibleRows(), selectedTime);
        break;
    case Qt::Key_Home:
        Select(selectedRow, clock());
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (SelectedChannel() != nullptr)
            emit Activated();
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void GuideGrid::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (at.y() < HeaderHeight())
        return;
    const int row = (at.y() - HeaderHeight() + verticalScrollBar()->value()) / RowHeight();
    if (row < static_cast<int>(rows.size()))
        Select(row, at.x() >= SideWidth() ? TimeAt(at.x()) : selectedTime);
}

bool GuideGrid::Archived(const GuideRow& channel, const GuideProgramme& programme) const
{
    return CatchupAddress::Reaches(channel.catchup, QDateTime::fromSecsSinceEpoch(programme.start, QTimeZone::utc()),
                                   QDateTime::fromSecsSinceEpoch(clock(), QTimeZone::utc()));
}

void GuideGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
    if (SelectedChannel() != nullptr)
        emit Activated();
}

void GuideGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().base());
    const qint64 from = ViewStart();
    const qint64 to = ViewEnd();
    const int rowHeight = RowHeight();
    const int scrolled = verticalScrollBar()->value();
    const int first = scrolled / rowHeight;
    for (int row = first, y = HeaderHeight() + first * rowHeight - scrolled;
         row < static_cast<int>(rows.size()) && y < viewport()->height(); ++row, y += rowHeight)
        PaintRow(painter, row, y, from, to);
    PaintHeader(painter, from, to);

    const int nowX = XOf(clock());
    if (nowX >= SideWidth() && nowX < viewport()->width()) {
        painter.setPen(QPen(Qt::red, 2));
        painter.drawLine(nowX, 0, nowX, viewport()->height());
    }
}

void GuideGrid::PaintHeader(QPainter& painter, qint64 from, qint64 to)
{
    const QRect header(0, 0, viewport()->width(), HeaderHeight());
    painter.fillRect(header, palette().button());
    painter.setPen(palette().buttonText().color());
    painter.drawText(header.adjusted(kPadding, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     QLocale().toString(QDateTime::fromSecsSinceEpoch(selectedTime).date(), QLocale::ShortFormat));
    painter.setClipRect(QRect(SideWidth(), 0, viewport()->width() - SideWidth(), viewport()->height()));
    // The first whole mark in view: a label cut by the channel column would read wrong.
    for (qint64 mark = FloorToHalfHour(from + kHalfHour - 1); mark < to; mark += kHalfHour) {
        const int x = XOf(mark);
        painter.setPen(palette().mid().color());
        painter.drawLine(x, 0, x, header.bottom());
        painter.setPen(palette().buttonText().color());
        painter.drawText(QRect(x + kPadding, 0, int(kHalfHour / kSecondsPerPixel), header.height()),
                         Qt::AlignVCenter | Qt::AlignLeft, GuideTimeText(mark));
    }
    painter.setClipping(false);
}

void GuideGrid::PaintRow(QPainter& painter, int row, int y, qint64 from, qint64 to)
{
    const GuideRow& channel = rows[static_cast<std::size_t>(row)];
    const int rowHeight = RowHeight();
    const int side = SideWidth();
    const QFontMetrics metrics = fontMetrics();
    const QRect sideRect(0, y, side, rowHeight);
    painter.fillRect(sideRect, row == selectedRow ? palette().alternateBase() : palette().window());
    painter.setPen(palette().windowText().color());
    const QRect nameRect = sideRect.adjusted(kPadding + PaintLogo(painter, channel.key, sideRect), 0, -kPadding, 0);
    painter.drawText(nameRect, Qt::AlignVCenter | Qt::AlignLeft,
                     metrics.elidedText(channel.name, Qt::ElideRight, nameRect.width()));
    painter.setPen(palette().mid().color());
    painter.drawLine(0, y + rowHeight - 1, viewport()->width(), y + rowHeight - 1);

    painter.setClipRect(QRect(side, y, viewport()->width() - side, rowHeight));
    const qint64 now = clock();
    for (const GuideProgramme& programme : Programmes(row, from, to)) {
        const qint64 end = programme.RunsUntil(); // without a known end, to the window's edge
        if (end <= from || programme.start >= to)
            continue;
        const int left = std::max(side, XOf(programme.start));
        const QRect cell(left, y, std::min(XOf(end), viewport()->width()) - left, rowHeight - 1);
        const bool selected = row == selectedRow && programme.start <= selectedTime && selectedTime < end;
        const bool onNow = programme.start <= now && now < end;
        // Gone by and out of reach of any archive: there is nothing to play.
        const bool lost = end <= now && !Archived(channel, programme);
        painter.fillRect(cell, selected ? palette().highlight()
                               : onNow  ? palette().alternateBase()
                               : lost   ? palette().window()
                                        : palette().base());
        painter.setPen(palette().mid().color());
        painter.drawLine(cell.topLeft(), cell.bottomLeft());
        painter.setPen(selected ? palette().highlightedText().color()
                       : lost   ? palette().color(QPalette::Disabled, QPalette::Text)
                                : palette().text().color());
        QRect text = cell.adjusted(kPadding, kPadding, -kPadding, -kPadding);
        if (reminded && reminded(channel.key, programme.start)) {
            PaintBell(painter, text, painter.pen().color());
            text.setRight(text.right() - metrics.height() - kPadding);
        }
        // A red dot before the title of a programme that is to be recorded.
        if (end > now && marked(channel.key, programme))
            text.setLeft(text.left() + PaintRecordMark(painter, QRect(text.topLeft(), QSize(text.width(), metrics.height())))
                         + kPadding);
        painter.drawText(text, Qt::AlignTop | Qt::AlignLeft, metrics.elidedText(programme.title, Qt::ElideRight, text.width()));
        painter.drawText(text, Qt::AlignBottom | Qt::AlignLeft,
                         metrics.elidedText(GuideSpanText(programme), Qt::ElideRight, text.width()));
    }
    painter.setClipping(false);
}

void GuideGrid::SetReminded(std::function<bool(const ChannelKey&, qint64)> isReminded)
{
    reminded = std::move(isReminded);
    viewport()->update();
}

// A bell a line high at the top right of the programme's text, drawn once per size and
// colour: a thousand reminders cost the painting nothing.
void GuideGrid::PaintBell(QPainter& painter, const QRect& text, const QColor& colour) const
{
    const int size = fontMetrics().height();
    const qreal ratio = devicePixelRatioF();
    if (bell.height() != qRound(size * ratio) || bellColour != colour) {
        bell = QPixmap(qRound(size * ratio), qRound(size * ratio));
        bell.setDevicePixelRatio(ratio);
        bell.fill(Qt::transparent);
        bellColour = colour;
        const qreal w = size, h = size;
        QPainterPath shape;
        shape.moveTo(0.1 * w, 0.78 * h);
        shape.cubicTo(0.25 * w, 0.6 * h, 0.2 * w, 0.12 * h, 0.5 * w, 0.12 * h);
        shape.cubicTo(0.8 * w, 0.12 * h, 0.75 * w, 0.6 * h, 0.9 * w, 0.78 * h);
        shape.closeSubpath();
        shape.addEllipse(QPointF(0.5 * w, 0.86 * h), 0.1 * w, 0.1 * h);
        QPainter drawn(&bell);
        drawn.setRenderHint(QPainter::Antialiasing);
        drawn.fillPath(shape, colour);
    }
    painter.drawPixmap(text.right() - size, text.top(), bell);
}

void GuideGrid::SetMarked(GuideMarkOf isMarked)
{
    marked = std::move(isMarked);
    viewport()->update();
}

void GuideGrid::SetLogoOf(GuideLogoOf logos)
{
    logoOf = std::move(logos);
    UpdateScrollBars(); // the channel column widened
    viewport()->update();
}

int GuideGrid::PaintLogo(QPainter& painter, const ChannelKey& key, const QRect& cell)
{
    if (!logoOf)
        return 0;
    const QRect slot = LogoSlot(cell.top());
    const QPixmap logo = logoOf(key, slot.height());
    if (!logo.isNull()) {
        QRect shown(QPoint(), logo.size().scaled(slot.size(), Qt::KeepAspectRatio));
        shown.moveCenter(slot.center());
        painter.drawPixmap(shown, logo);
    }
    return slot.width() + kPadding;
}

QRect GuideGrid::LogoSlot(int top) const
{
    // Every row keeps the same room, so that the names stand in line.
    const int height = RowHeight() - 2 * kPadding;
    return {kPadding, top + kPadding, height * kLogoWidthPercent / kWhole, height};
}
