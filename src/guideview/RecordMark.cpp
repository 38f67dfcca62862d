#include "RecordMark.h"

#include <QColor>
#include <QPainter>
#include <QRect>

namespace {
constexpr int kMarkPercent = 60; // of the line's height
const QColor kRecordMarkColour(210, 30, 30);
} // namespace

int PaintRecordMark(QPainter& painter, const QRect& line)
{
    const int size = line.height() * kMarkPercent / 100;
    const int top = line.top() + (line.height() - size) / 2;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kRecordMarkColour);
    painter.drawEllipse(QRect(line.left(), top, size, size));
    painter.restore();
    return size;
}
