#include "PositionBar.h"

#include "SkinColours.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kSecondsPerHour = 3600;
constexpr int kTrackHeight = 4;
constexpr int kKnobRadius = 5;
constexpr int kTextGap = 6;
const QColor kTrackColour(40, 48, 66);
} // namespace

PositionBar::PositionBar(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    setFocusPolicy(Qt::NoFocus); // the seek keys work wherever the focus is
    setMouseTracking(true);
}

QString PositionBar::Clock(double seconds)
{
    const qint64 whole = std::llround(std::max(0.0, seconds));
    const QString minutes = QStringLiteral("%1:%2")
                                .arg(whole / 60 % 60, whole < kSecondsPerHour ? 1 : 2, 10, QLatin1Char('0'))
                                .arg(whole % 60, 2, 10, QLatin1Char('0'));
    return whole < kSecondsPerHour ? minutes : QString::number(whole / kSecondsPerHour) + QLatin1Char(':') + minutes;
}

void PositionBar::Show(double position, double length)
{
    if (scrubbing)
        return;
    const int end = int(std::lround(length));
    if (maximum() != end)
        setRange(0, end);
    setValue(int(std::lround(position)));
    update();
}

QRect PositionBar::TrackRect() const
{
    const int textWidth = fontMetrics().horizontalAdvance(Clock(maximum())) + kTextGap;
    return QRect(textWidth, height() / 2 - kTrackHeight / 2, std::max(1, width() - 2 * textWidth), kTrackHeight);
}

int PositionBar::SecondsAt(int x) const
{
    const QRect track = TrackRect();
    const double share = std::clamp(double(x - track.left()) / track.width(), 0.0, 1.0);
    return int(std::lround(share * maximum()));
}

void PositionBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect track = TrackRect();
    painter.setPen(kSkinTextColour);
    painter.drawText(QRect(0, 0, track.left() - kTextGap, height()), Qt::AlignRight | Qt::AlignVCenter, Clock(value()));
    painter.drawText(QRect(track.right() + kTextGap, 0, width(), height()), Qt::AlignLeft | Qt::AlignVCenter,
                     Clock(maximum()));
    painter.fillRect(track, kTrackColour);
    const double share = maximum() > 0 ? double(value()) / maximum() : 0;
    const int played = int(std::lround(share * track.width()));
    painter.fillRect(QRect(track.left(), track.top(), played, track.height()), kSkinTextColour);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSkinTextColour);
    painter.drawEllipse(QPoint(track.left() + played, track.center().y()), kKnobRadius, kKnobRadius);
}

void PositionBar::Scrub(const QPoint& at, bool done)
{
    const int seconds = SecondsAt(at.x());
    setValue(seconds);
    update();
    QToolTip::showText(mapToGlobal(QPoint(at.x(), 0)), Clock(seconds), this);
    if (done) {
        QToolTip::hideText();
        emit SeekRequested(seconds);
    }
}

void PositionBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || maximum() <= 0)
        return;
    scrubbing = true;
    Scrub(event->position().toPoint(), false);
}

void PositionBar::mouseMoveEvent(QMouseEvent* event)
{
    if (scrubbing)
        Scrub(event->position().toPoint(), false);
    else if (maximum() > 0 && TrackRect().adjusted(0, -kKnobRadius, 0, kKnobRadius).contains(event->position().toPoint()))
        QToolTip::showText(mapToGlobal(QPoint(int(event->position().x()), 0)), Clock(SecondsAt(int(event->position().x()))),
                           this);
}

void PositionBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (!scrubbing || event->button() != Qt::LeftButton)
        return;
    Scrub(event->position().toPoint(), true);
    scrubbing = false;
}

void PositionBar::wheelEvent(QWheelEvent* event)
{
    const int steps = event->angleDelta().y() / QWheelEvent::DefaultDeltasPerStep;
    if (steps == 0 || maximum() <= 0)
        return;
    const int seconds = std::clamp(value() + steps * kWheelStepSeconds, 0, maximum());
    setValue(seconds);
    emit SeekRequested(seconds);
}
