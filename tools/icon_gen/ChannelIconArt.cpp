#include "ChannelIconArt.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <functional>

namespace {
constexpr int kSize = 16;
const QColor kOutline(40, 40, 48);

QImage paint(const std::function<void(QPainter&)>& draw)
{
    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return image;
}

QPolygonF pentagon(QPointF centre, double radius)
{
    QPolygonF polygon;
    for (int k = 0; k < 5; ++k) {
        const double a = -M_PI / 2 + k * 2 * M_PI / 5;
        polygon << QPointF(centre.x() + radius * std::cos(a), centre.y() + radius * std::sin(a));
    }
    return polygon;
}

void television(QPainter& p, QColor screenTop, QColor screenBottom)
{
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(90, 90, 100));
    p.drawRoundedRect(QRectF(0.5, 1.5, 15, 11), 2, 2);
    QLinearGradient glow(0, 3, 0, 11);
    glow.setColorAt(0, screenTop);
    glow.setColorAt(1, screenBottom);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawRect(QRectF(2, 3, 12, 8));
    p.setPen(QPen(kOutline, 1));
    p.drawLine(QPointF(5.5, 13), QPointF(4.5, 14.5));
    p.drawLine(QPointF(10.5, 13), QPointF(11.5, 14.5));
    p.drawLine(QPointF(3.5, 14.5), QPointF(12.5, 14.5));
}

void music(QPainter& p)
{
    const QColor note(120, 60, 170);
    p.setPen(Qt::NoPen);
    p.setBrush(note);
    p.drawEllipse(QRectF(1.5, 10, 5, 4));
    p.drawEllipse(QRectF(9.5, 8.5, 5, 4));
    p.setPen(QPen(note, 1.5));
    p.drawLine(QPointF(5.8, 12), QPointF(5.8, 3));
    p.drawLine(QPointF(13.8, 10.5), QPointF(13.8, 1.5));
    p.setPen(QPen(note, 2.5));
    p.drawLine(QPointF(5.8, 3.2), QPointF(13.8, 1.7));
}

void games(QPainter& p)
{
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(70, 80, 95));
    QPainterPath body;
    body.addRoundedRect(QRectF(0.5, 4.5, 15, 8), 4, 4);
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3, 8, 4, 1));
    p.drawRect(QRectF(4.5, 6.5, 1, 4));
    p.setBrush(QColor(230, 60, 60));
    p.drawEllipse(QRectF(10.5, 6.3, 2, 2));
    p.setBrush(QColor(60, 200, 90));
    p.drawEllipse(QRectF(12, 8.5, 2, 2));
}

void movies(QPainter& p)
{
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(50, 50, 58));
    p.drawRect(QRectF(1.5, 6.5, 13, 8));
    // The clapper, raised a little.
    QPolygonF clapper;
    clapper << QPointF(1.5, 5.5) << QPointF(13.5, 1.5) << QPointF(14.3, 3.8) << QPointF(2.3, 7.8);
    p.drawPolygon(clapper);
    p.setPen(QPen(Qt::white, 1.3));
    for (double x : {4.0, 7.5, 11.0})
        p.drawLine(QPointF(x, 4.6), QPointF(x + 1.4, 6.3 - (x - 4.0) * 0.33));
    p.setPen(QPen(QColor(250, 200, 60), 1));
    p.drawLine(QPointF(3, 10.5), QPointF(13, 10.5));
}

void news(QPainter& p)
{
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(245, 245, 240));
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 40));
    p.drawRect(QRectF(3, 3, 10, 3));
    p.setBrush(QColor(120, 120, 130));
    for (int y : {7, 9, 11})
        p.drawRect(QRectF(3, y, 10, 1));
    p.drawRect(QRectF(3, 13, 6, 1));
}

void entertainment(QPainter& p)
{
    p.setPen(QPen(QColor(170, 110, 0), 1));
    QRadialGradient face(QPointF(6, 5), 9);
    face.setColorAt(0, QColor(255, 240, 120));
    face.setColorAt(1, QColor(245, 185, 20));
    p.setBrush(face);
    p.drawEllipse(QRectF(1, 1, 14, 14));
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    p.drawEllipse(QRectF(4.5, 4.5, 2, 2.5));
    p.drawEllipse(QRectF(9.5, 4.5, 2, 2.5));
    p.setPen(QPen(kOutline, 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4, 5, 8, 6.5), 200 * 16, 140 * 16);
}

void lifestyle(QPainter& p)
{
    QPainterPath heart;
    heart.moveTo(8, 14.5);
    heart.cubicTo(2, 10, 0.5, 7, 0.8, 4.8);
    heart.cubicTo(1.2, 1.5, 6, 0.6, 8, 4.2);
    heart.cubicTo(10, 0.6, 14.8, 1.5, 15.2, 4.8);
    heart.cubicTo(15.5, 7, 14, 10, 8, 14.5);
    QLinearGradient fill(0, 1, 0, 15);
    fill.setColorAt(0, QColor(255, 110, 140));
    fill.setColorAt(1, QColor(210, 30, 70));
    p.setPen(QPen(QColor(140, 20, 50), 1));
    p.setBrush(fill);
    p.drawPath(heart);
}

void shopping(QPainter& p)
{
    p.setPen(QPen(QColor(150, 80, 10), 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(5, 1.5, 6, 7), 0, 180 * 16);
    p.setPen(QPen(QColor(150, 80, 10), 1));
    QLinearGradient bag(0, 5, 0, 15);
    bag.setColorAt(0, QColor(255, 170, 60));
    bag.setColorAt(1, QColor(230, 120, 20));
    p.setBrush(bag);
    p.drawRect(QRectF(2.5, 5.5, 11, 9));
}

void kids(QPainter& p)
{
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.drawLine(QPointF(8, 11.5), QPointF(7, 15));
    QRadialGradient balloon(QPointF(6, 4), 8);
    balloon.setColorAt(0, QColor(255, 140, 140));
    balloon.setColorAt(1, QColor(220, 30, 40));
    p.setPen(QPen(QColor(150, 20, 30), 1));
    p.setBrush(balloon);
    p.drawEllipse(QRectF(3, 0.5, 10, 11));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(QRectF(5, 2.5, 2, 3));
}

void sport(QPainter& p)
{
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    p.drawPolygon(pentagon(QPointF(8, 8.3), 3.2));
    p.setPen(QPen(kOutline, 1));
    const QPointF spokes[][2] = {
        {{8, 5}, {8, 1}}, {{11, 7.3}, {14.8, 6}}, {{10, 11}, {12.3, 14}},
        {{6, 11}, {3.7, 14}}, {{5, 7.3}, {1.2, 6}},
    };
    for (const auto& spoke : spokes)
        p.drawLine(spoke[0], spoke[1]);
}

void other(QPainter& p)
{
    p.setPen(QPen(QColor(90, 100, 110), 1));
    p.setBrush(QColor(200, 205, 215));
    p.drawRoundedRect(QRectF(0.5, 3.5, 15, 9), 2.5, 2.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 70, 85));
    for (double x : {3.0, 7.0, 11.0})
        p.drawEllipse(QRectF(x, 7, 2, 2));
}

void globe(QPainter& p)
{
    QRadialGradient sea(QPointF(6, 5), 10);
    sea.setColorAt(0, QColor(120, 190, 255));
    sea.setColorAt(1, QColor(30, 100, 200));
    p.setPen(QPen(QColor(20, 60, 130), 1));
    p.setBrush(sea);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 170, 70));
    QPolygonF west;
    west << QPointF(3, 3.5) << QPointF(7, 2.5) << QPointF(7.5, 6) << QPointF(5.5, 8)
         << QPointF(6.5, 12) << QPointF(4.5, 13) << QPointF(2, 8);
    p.drawPolygon(west);
    QPolygonF east;
    east << QPointF(9.5, 3) << QPointF(13.5, 4.5) << QPointF(14, 8.5) << QPointF(11, 11.5)
         << QPointF(10, 8) << QPointF(9, 6);
    p.drawPolygon(east);
    p.setPen(QPen(QColor(255, 255, 255, 110), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(4.5, 0.5, 7, 15));
    p.drawLine(QPointF(1, 8), QPointF(15, 8));
}

void further(QPainter& p)
{
    p.setPen(QPen(QColor(160, 120, 20), 1));
    QLinearGradient folder(0, 3, 0, 14);
    folder.setColorAt(0, QColor(255, 225, 120));
    folder.setColorAt(1, QColor(235, 180, 50));
    p.setBrush(folder);
    QPolygonF shape;
    shape << QPointF(0.5, 2.5) << QPointF(5.5, 2.5) << QPointF(7, 4.5) << QPointF(15.5, 4.5)
          << QPointF(15.5, 13.5) << QPointF(0.5, 13.5);
    p.drawPolygon(shape);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 80, 0));
    for (double x : {4.0, 7.5, 11.0})
        p.drawEllipse(QRectF(x, 8.5, 1.8, 1.8));
}

void spare(QPainter& p)
{
    p.setPen(QPen(QColor(130, 130, 140), 1));
    p.setBrush(QColor(215, 215, 222));
    p.drawRoundedRect(QRectF(2.5, 2.5, 11, 11), 2, 2);
}

// Flags fill x 0..16, y 2..14 (16 x 12) and get a thin dark frame.
constexpr QRectF kFlag(0, 2, 16, 12);

void frame(QPainter& p)
{
    p.setPen(QPen(QColor(0, 0, 0, 110), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(kFlag.adjusted(0.5, 0.5, -0.5, -0.5));
}

void horizontalBands(QPainter& p, std::initializer_list<std::pair<QColor, int>> bands)
{
    double y = kFlag.top();
    for (const auto& [colour, height] : bands) {
        p.fillRect(QRectF(kFlag.left(), y, kFlag.width(), height), colour);
        y += height;
    }
}

void verticalBands(QPainter& p, std::initializer_list<std::pair<QColor, int>> bands)
{
    double x = kFlag.left();
    for (const auto& [colour, width] : bands) {
        p.fillRect(QRectF(x, kFlag.top(), width, kFlag.height()), colour);
        x += width;
    }
}

void usa(QPainter& p)
{
    const QColor red(190, 30, 45);
    for (int row = 0; row < 12; ++row)
        p.fillRect(QRectF(0, 2 + row, 16, 1), row % 2 == 0 ? red : Qt::white);
    p.fillRect(QRectF(0, 2, 7, 6), QColor(40, 50, 120));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (int y : {3, 5})
        for (int x : {1, 3, 5})
            p.drawRect(QRectF(x, y, 1, 1));
    for (int x : {2, 4})
        p.drawRect(QRectF(x, 4, 1, 1));
    for (int x : {2, 4})
        p.drawRect(QRectF(x, 6, 1, 1));
}

void uk(QPainter& p)
{
    const QColor blue(20, 40, 110);
    const QColor red(200, 16, 46);
    p.fillRect(kFlag, blue);
    p.save();
    p.setClipRect(kFlag);
    p.setPen(QPen(Qt::white, 2.6));
    p.drawLine(kFlag.topLeft(), kFlag.bottomRight());
    p.drawLine(kFlag.bottomLeft(), kFlag.topRight());
    p.setPen(QPen(red, 1));
    p.drawLine(kFlag.topLeft(), kFlag.bottomRight());
    p.drawLine(kFlag.bottomLeft(), kFlag.topRight());
    p.restore();
    p.fillRect(QRectF(6, 2, 4, 12), Qt::white);
    p.fillRect(QRectF(0, 6, 16, 4), Qt::white);
    p.fillRect(QRectF(7, 2, 2, 12), red);
    p.fillRect(QRectF(0, 7, 16, 2), red);
}

void canada(QPainter& p)
{
    const QColor red(215, 30, 40);
    verticalBands(p, {{red, 4}, {Qt::white, 8}, {red, 4}});
    p.setPen(Qt::NoPen);
    p.setBrush(red);
    QPolygonF leaf;
    leaf << QPointF(8, 4) << QPointF(9, 6) << QPointF(10.8, 5.5) << QPointF(10.2, 8)
         << QPointF(11.5, 8.3) << QPointF(9.3, 10.5) << QPointF(8.4, 10.3) << QPointF(8.4, 12.3)
         << QPointF(7.6, 12.3) << QPointF(7.6, 10.3) << QPointF(6.7, 10.5) << QPointF(4.5, 8.3)
         << QPointF(5.8, 8) << QPointF(5.2, 5.5) << QPointF(7, 6);
    p.drawPolygon(leaf);
}

void japan(QPainter& p)
{
    p.fillRect(kFlag, Qt::white);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(190, 0, 40));
    p.drawEllipse(QPointF(8, 8), 3.6, 3.6);
}

void india(QPainter& p)
{
    horizontalBands(p, {{QColor(255, 153, 51), 4}, {Qt::white, 4}, {QColor(19, 136, 8), 4}});
    p.setPen(QPen(QColor(0, 0, 128), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(8, 8), 1.6, 1.6);
}

void argentina(QPainter& p)
{
    const QColor sky(116, 172, 223);
    horizontalBands(p, {{sky, 4}, {Qt::white, 4}, {sky, 4}});
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(246, 180, 14));
    p.drawEllipse(QPointF(8, 8), 1.6, 1.6);
}

void flag(QPainter& p, int section)
{
    switch (section) {
    case 11: usa(p); break;
    case 12: horizontalBands(p, {{Qt::white, 4}, {QColor(0, 57, 166), 4}, {QColor(213, 43, 30), 4}}); break;
    case 13: horizontalBands(p, {{Qt::black, 4}, {QColor(221, 0, 0), 4}, {QColor(255, 206, 0), 4}}); break;
    case 14: verticalBands(p, {{QColor(0, 35, 149), 5}, {Qt::white, 6}, {QColor(237, 41, 57), 5}}); break;
    case 15: uk(p); break;
    case 16: verticalBands(p, {{QColor(0, 146, 70), 5}, {Qt::white, 6}, {QColor(206, 43, 55), 5}}); break;
    case 17: horizontalBands(p, {{QColor(198, 11, 30), 3}, {QColor(255, 196, 0), 6}, {QColor(198, 11, 30), 3}}); break;
    case 18: canada(p); break;
    case 19: japan(p); break;
    case 20: india(p); break;
    case 21: horizontalBands(p, {{QColor(174, 28, 40), 4}, {Qt::white, 4}, {QColor(33, 70, 139), 4}}); break;
    case 22: argentina(p); break;
    default: break;
    }
    frame(p);
}
} // namespace

QImage DrawChannelIcon(int id)
{
    return paint([id](QPainter& p) {
        switch (id) {
        case 101: television(p, QColor(120, 200, 255), QColor(30, 90, 180)); break;
        case 102: music(p); break;
        case 103: games(p); break;
        case 104: movies(p); break;
        case 105: news(p); break;
        case 106: entertainment(p); break;
        case 107: lifestyle(p); break;
        case 108: shopping(p); break;
        case 109: kids(p); break;
        case 110: sport(p); break;
        case 111: other(p); break;
        case 112: globe(p); break;
        case 113: further(p); break;
        default:
            if (id >= 114 && id <= 121)
                spare(p);
            else if (id >= 122 && id <= 133)
                flag(p, id - 111); // 122 is the flag of section 11
            break;
        }
    });
}
