#include "VideoCaption.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QRect>

#include <algorithm>
#include <utility>

namespace {
// Text sizes follow the picture, within bounds that stay legible in a small window and
// unobtrusive on a large screen.
constexpr int kNameLinesPerHeight = 14;
constexpr int kMinNamePixels = 12;
constexpr int kMaxNamePixels = 48;
constexpr int kReasonPercentOfName = 70;
constexpr int kTitleMarginPixels = 16;
constexpr int kTitlePaddingPixels = 8;
const QColor kTitleBackground(0, 0, 0, 160);

int NamePixels(const QRect& area)
{
    return std::clamp(area.height() / kNameLinesPerHeight, kMinNamePixels, kMaxNamePixels);
}

QFont FontOfPixels(QFont font, int pixels, bool bold)
{
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}
} // namespace

VideoCaption::VideoCaption(std::function<void()> repaint) : repaint(std::move(repaint))
{
    titleTimer.setSingleShot(true);
    titleTimer.setInterval(kTitleMs);
    connect(&titleTimer, &QTimer::timeout, this, [this] {
        title.clear();
        this->repaint();
    });
}

void VideoCaption::ShowCard(const QString& name, const QString& reason, const QColor& colour)
{
    if (cardShown && name == cardName && reason == cardReason && colour == cardColour)
        return;
    cardShown = true;
    cardName = name;
    cardReason = reason;
    cardColour = colour;
    repaint();
}

void VideoCaption::HideCard()
{
    if (!cardShown)
        return;
    cardShown = false;
    repaint();
}

void VideoCaption::ShowTitle(const QString& name, const QColor& colour)
{
    title = name;
    titleColour = colour;
    titleTimer.start();
    repaint();
}

void VideoCaption::Paint(QPainter& painter, const QRect& area) const
{
    if (cardShown)
        PaintCard(painter, area);
    else if (!title.isEmpty())
        PaintTitle(painter, area);
}

void VideoCaption::PaintCard(QPainter& painter, const QRect& area) const
{
    painter.fillRect(area, Qt::black);
    painter.setPen(cardColour);
    const int namePixels = NamePixels(area);
    const QFont nameFont = FontOfPixels(painter.font(), namePixels, true);
    const QFont reasonFont = FontOfPixels(painter.font(), namePixels * kReasonPercentOfName / 100, false);
    const int nameHeight = QFontMetrics(nameFont).lineSpacing();
    const int reasonHeight = QFontMetrics(reasonFont).lineSpacing();
    const int top = area.top() + (area.height() - nameHeight - reasonHeight) / 2;
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    painter.setFont(nameFont);
    painter.drawText(QRect(area.left(), top, area.width(), nameHeight), flags, cardName);
    painter.setFont(reasonFont);
    painter.drawText(QRect(area.left(), top + nameHeight, area.width(), reasonHeight), flags, cardReason);
}

void VideoCaption::PaintTitle(QPainter& painter, const QRect& area) const
{
    painter.setFont(FontOfPixels(painter.font(), NamePixels(area), true));
    const QFontMetrics metrics(painter.font());
    QRect box(0, 0, metrics.horizontalAdvance(title) + 2 * kTitlePaddingPixels,
              metrics.height() + 2 * kTitlePaddingPixels);
    box.moveTopLeft(area.topLeft() + QPoint(kTitleMarginPixels, kTitleMarginPixels));
    painter.fillRect(box, kTitleBackground);
    painter.setPen(titleColour);
    painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, title);
}
