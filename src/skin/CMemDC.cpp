#include "CMemDC.h"

#include <QWidget>

CMemDC::CMemDC(QWidget* target, const QRegion& updateRegion)
    : target(target), rect(updateRegion.boundingRect())
{
    if (rect.isEmpty())
        return;
    const qreal ratio = target->devicePixelRatioF();
    bitmap = QPixmap(rect.size() * ratio);
    bitmap.setDevicePixelRatio(ratio);
    bitmap.fill(target->palette().color(target->backgroundRole()));
    painter.begin(&bitmap);
    painter.translate(-rect.topLeft());
}

CMemDC::~CMemDC()
{
    if (!painter.isActive())
        return;
    painter.end();
    QPainter screen(target);
    screen.drawPixmap(rect.topLeft(), bitmap);
}
