#include "VideoCaption.h"

#include "ClockText.h"

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
constexpr int kHintMarginPixels = 24;
const QColor kTitleBackground(0, 0, 0, 160);
const QColor kTrackColour(90, 90, 90);
constexpr int kTrackPixels = 4;

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
// Takes a new text and colour; false when they are those shown already.
bool Take(QString& shown, QColor& shownColour, const QString& text, const QColor& colour)
{
    if (text == shown && colour == shownColour)
        return false;
    shown = text;
    shownColour = colour;
    return true;
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
    positionTimer.setSingleShot(true);
    positionTimer.setInterval(kPositionMs);
    connect(&positionTimer, &QTimer::timeout, this, [this] { this->repaint(); });
}

void VideoCaption::ShowPosition(double at, double of, const QColor& colour)
{
    positionColour = colour;
    positionTimer.start();
    MovePosition(at, of);
}

void VideoCaption::MovePosition(double at, double of)
{
    if (!positionTimer.isActive() || (at == position && of == length))
        return;
    position = at;
    length = of;
    repaint();
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

void VideoCaption::SetHint(const QString& text, const QColor& colour)
{
    if (Take(hint, hintColour, text, colour))
        repaint();
}

void VideoCaption::SetNumber(const QString& text, const QColor& colour)
{
    if (Take(number, numberColour, text, colour))
        repaint();
}

void VideoCaption::Paint(QPainter& painter, const QRect& area) const
{
    if (cardShown)
        PaintCard(painter, area);
    else if (!hint.isEmpty())
        PaintHint(painter, area);
    if (!cardShown && !title.isEmpty())
        PaintBox(painter, area, title, titleColour, Qt::AlignLeft);
    if (!number.isEmpty())
        PaintBox(painter, area, number, numberColour, Qt::AlignRight);
    if (!cardShown && positionTimer.isActive())
        PaintPosition(painter, area);
}

// A dark band along the bottom: the time played, the track, the length.
void VideoCaption::PaintPosition(QPainter& painter, const QRect& area) const
{
    painter.setFont(FontOfPixels(painter.font(), NamePixels(area) * kReasonPercentOfName / 100, true));
    const QFontMetrics metrics(painter.font());
    const int height = metrics.height() + 2 * kTitlePaddingPixels;
    const QRect band(area.left(), area.bottom() - height + 1, area.width(), height);
    painter.fillRect(band, kTitleBackground);
    const QRect inner = band.adjusted(kTitleMarginPixels, 0, -kTitleMarginPixels, 0);
    const int textWidth = metrics.horizontalAdvance(ClockText(length)) + kTitlePaddingPixels;
    painter.setPen(positionColour);
    painter.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter, ClockText(position));
    painter.drawText(inner, Qt::AlignRight | Qt::AlignVCenter, ClockText(length));
    const QRect track(inner.left() + textWidth, band.center().y() - kTrackPixels / 2,
                      std::max(0, inner.width() - 2 * textWidth), kTrackPixels);
    painter.fillRect(track, kTrackColour);
    const double share = length > 0 ? std::clamp(position / length, 0.0, 1.0) : 0;
    painter.fillRect(QRect(track.left(), track.top(), int(share * track.width()), track.height()), positionColour);
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
    // A name or reason wider than the picture ends in an ellipsis rather than off its edges.
    const int room = std::max(area.width() - 2 * kHintMarginPixels, 0);
    painter.setFont(nameFont);
    painter.drawText(QRect(area.left(), top, area.width(), nameHeight), flags,
                     QFontMetrics(nameFont).elidedText(cardName, Qt::ElideRight, room));
    painter.setFont(reasonFont);
    painter.drawText(QRect(area.left(), top + nameHeight, area.width(), reasonHeight), flags,
                     QFontMetrics(reasonFont).elidedText(cardReason, Qt::ElideRight, room));
}

void VideoCaption::PaintHint(QPainter& painter, const QRect& area) const
{
    painter.setFont(FontOfPixels(painter.font(), NamePixels(area) * kReasonPercentOfName / 100, false));
    painter.setPen(hintColour);
    painter.drawText(area.adjusted(kHintMarginPixels, kHintMarginPixels, -kHintMarginPixels, -kHintMarginPixels),
                     Qt::AlignCenter | Qt::TextWordWrap, hint);
}

// A line of text on a dark box in a top corner of the picture.
void VideoCaption::PaintBox(QPainter& painter, const QRect& area, const QString& text, const QColor& colour,
                            Qt::Alignment corner)
{
    painter.setFont(FontOfPixels(painter.font(), NamePixels(area), true));
    const QFontMetrics metrics(painter.font());
    const QString shown =
        metrics.elidedText(text, Qt::ElideRight, std::max(area.width() - 2 * (kTitleMarginPixels + kTitlePaddingPixels), 0));
    QRect box(0, 0, metrics.horizontalAdvance(shown) + 2 * kTitlePaddingPixels,
              metrics.height() + 2 * kTitlePaddingPixels);
    if (corner == Qt::AlignRight)
        box.moveTopRight(area.topRight() + QPoint(-kTitleMarginPixels, kTitleMarginPixels));
    else
        box.moveTopLeft(area.topLeft() + QPoint(kTitleMarginPixels, kTitleMarginPixels));
    painter.fillRect(box, kTitleBackground);
    painter.setPen(colour);
    painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, shown);
}
