#include "WindowIconArt.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>

namespace {
QImage canvas(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage emblem()
{
    QImage image = canvas(16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient disc(QPointF(6, 5), 10);
    disc.setColorAt(0, QColor(255, 200, 90));
    disc.setColorAt(1, QColor(235, 110, 10));
    p.setPen(QPen(QColor(170, 70, 0), 1));
    p.setBrush(disc);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(QPen(QColor(255, 255, 255, 220), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(3.5, 3.5, 9, 9));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(6.5, 6.5, 3, 3));
    return image;
}

QImage blueStar()
{
    QImage image = canvas(16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF star;
    for (int k = 0; k < 10; ++k) {
        const double r = k % 2 == 0 ? 7.6 : 3.2;
        const double a = -M_PI / 2 + k * M_PI / 5;
        star << QPointF(8 + r * std::cos(a), 8.6 + r * std::sin(a));
    }
    QLinearGradient fill(0, 1, 0, 15);
    fill.setColorAt(0, QColor(120, 180, 255));
    fill.setColorAt(1, QColor(20, 80, 200));
    p.setPen(QPen(QColor(15, 50, 130), 1));
    p.setBrush(fill);
    p.drawPolygon(star);
    return image;
}

// A thick stroke with a darker rim, the look of every 24-pixel tool image.
void rimmedStroke(QPainter& p, const QPainterPath& path, QColor light, QColor dark, double width)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(dark, width + 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(light, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

QImage toolImage(const QPainterPath& path, QColor light, QColor dark, double width)
{
    QImage image = canvas(24);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    rimmedStroke(p, path, light, dark, width);
    return image;
}

QImage filledArrow(bool up)
{
    QImage image = canvas(24);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF arrow;
    arrow << QPointF(12, 2.5) << QPointF(21.5, 12) << QPointF(15.5, 12) << QPointF(15.5, 21.5)
          << QPointF(8.5, 21.5) << QPointF(8.5, 12) << QPointF(2.5, 12);
    if (!up) {
        for (QPointF& point : arrow)
            point.setY(24 - point.y());
    }
    QLinearGradient fill(0, 2, 0, 22);
    fill.setColorAt(0, QColor(110, 170, 255));
    fill.setColorAt(1, QColor(25, 85, 205));
    p.setPen(QPen(QColor(15, 50, 130), 1.2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(fill);
    p.drawPolygon(arrow);
    return image;
}

const QColor kGreen(70, 190, 60);
const QColor kDarkGreen(25, 110, 20);
const QColor kRed(230, 50, 45);
const QColor kDarkRed(130, 15, 10);
} // namespace

QImage DrawWindowIcon(int id)
{
    QPainterPath path;
    switch (id) {
    case 129:
        return emblem();
    case 130:
        return blueStar();
    case 131:
        path.moveTo(4, 13);
        path.lineTo(9.5, 18.5);
        path.lineTo(20, 6);
        return toolImage(path, kGreen, kDarkGreen, 3.5);
    case 132:
        path.moveTo(12, 4);
        path.lineTo(12, 20);
        path.moveTo(4, 12);
        path.lineTo(20, 12);
        return toolImage(path, kGreen, kDarkGreen, 4);
    case 133:
        path.moveTo(6, 6);
        path.lineTo(18, 18);
        path.moveTo(18, 6);
        path.lineTo(6, 18);
        return toolImage(path, kRed, kDarkRed, 3.5);
    case 134:
        return filledArrow(true);
    case 135:
        return filledArrow(false);
    default:
        return canvas(16);
    }
}
