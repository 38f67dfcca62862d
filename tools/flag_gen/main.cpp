// Draws the flag of every shipped language (16 x 16 and 32 x 32) and the two About
// icons, and writes them as icon files under the given resources folder.

#include "IconFile.h"

#include <QDir>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace {
using FlagPainter = std::function<void(QPainter&, const QRectF&)>;

FlagPainter stripes(Qt::Orientation orientation, QList<QColor> colors, QList<qreal> weights = {})
{
    if (weights.isEmpty())
        weights = QList<qreal>(colors.size(), 1.0);
    return [=](QPainter& p, const QRectF& r) {
        qreal total = 0;
        for (qreal w : weights)
            total += w;
        qreal at = 0;
        for (qsizetype i = 0; i < colors.size(); ++i) {
            const qreal share = weights[i] / total;
            const QRectF band = orientation == Qt::Horizontal
                ? QRectF(r.left(), r.top() + at * r.height(), r.width(), share * r.height())
                : QRectF(r.left() + at * r.width(), r.top(), share * r.width(), r.height());
            p.fillRect(band, colors[i]);
            at += share;
        }
    };
}

// Blue field with the white and red diagonals and the crosses over them.
void paintUnion(QPainter& p, const QRectF& r)
{
    p.fillRect(r, QColor(1, 33, 105));
    p.save();
    p.setClipRect(r);
    const qreal u = r.height() / 10.0;
    p.setPen(QPen(Qt::white, 2 * u));
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.bottomLeft(), r.topRight());
    p.setPen(QPen(QColor(200, 16, 46), 0.8 * u));
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.bottomLeft(), r.topRight());
    const QPointF c = r.center();
    p.fillRect(QRectF(r.left(), c.y() - 1.6 * u, r.width(), 3.2 * u), Qt::white);
    p.fillRect(QRectF(c.x() - 1.6 * u, r.top(), 3.2 * u, r.height()), Qt::white);
    p.fillRect(QRectF(r.left(), c.y() - u, r.width(), 2 * u), QColor(200, 16, 46));
    p.fillRect(QRectF(c.x() - u, r.top(), 2 * u, r.height()), QColor(200, 16, 46));
    p.restore();
}

// A flag of 3:2 proportion centred in a square, with a thin dark edge.
QImage drawFlag(int size, const FlagPainter& paint)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, size > 16);
    const int height = size * 11 / 16;
    const QRect frame(0, (size - height) / 2, size, height);
    paint(p, QRectF(frame));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0, 0, 0, 110));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    return image;
}

// A television with a play sign on its screen.
QImage drawProgramIcon()
{
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 44, 52));
    p.drawRoundedRect(QRectF(14, 50, 36, 6), 3, 3);
    p.drawRect(QRectF(28, 44, 8, 8));
    QLinearGradient body(0, 6, 0, 48);
    body.setColorAt(0, QColor(70, 78, 92));
    body.setColorAt(1, QColor(30, 34, 42));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(2, 6, 60, 42), 7, 7);
    QLinearGradient screen(0, 10, 0, 44);
    screen.setColorAt(0, QColor(64, 156, 255));
    screen.setColorAt(1, QColor(18, 70, 170));
    p.setBrush(screen);
    p.drawRoundedRect(QRectF(7, 11, 50, 32), 4, 4);
    QPainterPath play;
    play.moveTo(26, 18);
    play.lineTo(42, 27);
    play.lineTo(26, 36);
    play.closeSubpath();
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawPath(play);
    return image;
}

// The program's name over a broadcast wave.
QImage drawNameIcon()
{
    QImage image(128, 64, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPen wave(QColor(64, 156, 255), 3, Qt::SolidLine, Qt::RoundCap);
    p.setPen(wave);
    QPainterPath path;
    path.moveTo(6, 50);
    path.cubicTo(30, 38, 50, 62, 74, 50);
    path.cubicTo(92, 41, 108, 56, 122, 48);
    p.drawPath(path);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(24);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(30, 34, 42));
    p.drawText(QRect(0, 6, 128, 34), Qt::AlignCenter, QStringLiteral("Korvanta"));
    return image;
}

bool writeIcon(const QString& path, const QList<QImage>& images)
{
    QDir().mkpath(QFileInfo(path).path());
    const bool ok = WriteIconFile(path, images);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}
} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: korvanta_flag_gen <resources folder>\n");
        return 2;
    }
    const QDir resources(QString::fromLocal8Bit(argv[1]));
    const QList<std::pair<const char*, FlagPainter>> flags = {
        {"English", paintUnion},
        {"German", stripes(Qt::Horizontal, {QColor(0, 0, 0), QColor(221, 0, 0), QColor(255, 206, 0)})},
        {"French", stripes(Qt::Vertical, {QColor(0, 85, 164), Qt::white, QColor(239, 65, 53)})},
        {"Spanish", stripes(Qt::Horizontal, {QColor(170, 21, 27), QColor(241, 191, 0), QColor(170, 21, 27)}, {1, 2, 1})},
        {"Italian", stripes(Qt::Vertical, {QColor(0, 146, 70), Qt::white, QColor(206, 43, 55)})},
        {"Dutch", stripes(Qt::Horizontal, {QColor(174, 28, 40), Qt::white, QColor(33, 70, 139)})},
        {"Russian", stripes(Qt::Horizontal, {Qt::white, QColor(0, 57, 166), QColor(213, 43, 30)})},
    };
    bool ok = true;
    for (const auto& [name, paint] : flags) {
        const QString path = resources.filePath(QStringLiteral("Languages/%1/Flag.ico").arg(QLatin1String(name)));
        ok &= writeIcon(path, {drawFlag(16, paint), drawFlag(32, paint)});
    }
    ok &= writeIcon(resources.filePath(QStringLiteral("icons/about/137.ico")), {drawProgramIcon()});
    ok &= writeIcon(resources.filePath(QStringLiteral("icons/about/138.ico")), {drawNameIcon()});
    return ok ? 0 : 1;
}
