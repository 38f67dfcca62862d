// Draws the 21 skin images from vector shapes. The PNGs are committed under
// resources/Skin/; after changing the artwork, regenerate them with
//
//     cmake --build <build> --target korvanta_skin_gen
//     <build>/tools/skin_gen/korvanta_skin_gen resources/Skin
//
// and commit the changed files. The normal build never runs this program.

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>
#include <functional>

namespace {

const QColor kText(134, 156, 203);      // the menu text colour; the skin's accent
const QColor kTextHot(188, 204, 240);
const QColor kTextPressed(104, 122, 164);
const QColor kPanelTop(38, 43, 53);
const QColor kPanelBottom(17, 19, 24);
const QColor kEdgeDark(8, 9, 12);
const QColor kEdgeLight(58, 65, 80);

constexpr int kPanelHeight = 69;
constexpr int kMenuHeight = 20;

enum class Look { Normal, Pressed, Hot };

QImage Blank(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Horizontally uniform rows, so the image stretches sideways without artefacts.
QImage PanelStrip(int w)
{
    QImage image = Blank(w, kPanelHeight);
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, kPanelHeight);
    g.setColorAt(0, kPanelTop);
    g.setColorAt(1, kPanelBottom);
    p.fillRect(image.rect(), g);
    p.fillRect(0, 0, w, 1, kEdgeDark);
    p.fillRect(0, 1, w, 1, kEdgeLight);
    return image;
}

// A cap: the strip, darkened towards the outer edge and closed by a thin bevel.
QImage PanelCap(bool left)
{
    constexpr int w = 8;
    QImage image = PanelStrip(w);
    QPainter p(&image);
    QLinearGradient shade(left ? 0 : w, 0, left ? w : 0, 0);
    shade.setColorAt(0, QColor(0, 0, 0, 110));
    shade.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(image.rect(), shade);
    p.fillRect(left ? 0 : w - 1, 0, 1, kPanelHeight, kEdgeDark);
    p.fillRect(left ? 1 : w - 2, 2, 1, kPanelHeight - 2, QColor(255, 255, 255, 14));
    return image;
}

QColor GlyphColour(Look look)
{
    switch (look) {
    case Look::Hot: return kTextHot;
    case Look::Pressed: return kTextPressed;
    default: return kText;
    }
}

// The round play/pause button, 46 x 50, with a soft shadow below the disc.
QImage RoundButton(Look look, const std::function<void(QPainter&)>& glyph)
{
    QImage image = Blank(46, 50);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(23, 24);
    const qreal radius = 20.5;

    QRadialGradient shadow(centre + QPointF(0, 2.5), radius + 3);
    shadow.setColorAt(0.80, QColor(0, 0, 0, 150));
    shadow.setColorAt(1.00, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(centre + QPointF(0, 2.5), radius + 3, radius + 3);

    if (look == Look::Hot) {
        QRadialGradient glow(centre, radius + 3);
        glow.setColorAt(0.82, QColor(kText.red(), kText.green(), kText.blue(), 90));
        glow.setColorAt(1.00, QColor(kText.red(), kText.green(), kText.blue(), 0));
        p.setBrush(glow);
        p.drawEllipse(centre, radius + 3, radius + 3);
    }

    QLinearGradient face(0, centre.y() - radius, 0, centre.y() + radius);
    if (look == Look::Pressed) {
        face.setColorAt(0, QColor(16, 18, 23));
        face.setColorAt(1, QColor(36, 41, 51));
    } else {
        face.setColorAt(0, look == Look::Hot ? QColor(60, 68, 86) : QColor(50, 56, 70));
        face.setColorAt(1, QColor(22, 25, 31));
    }
    p.setBrush(face);
    p.setPen(QPen(look == Look::Hot ? QColor(112, 134, 186) : QColor(70, 79, 98), 1.2));
    p.drawEllipse(centre, radius, radius);

    // Inner rim: a faint highlight on the upper half, lost when pressed in.
    if (look != Look::Pressed) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 255, 255, 28), 1));
        p.drawArc(QRectF(centre.x() - radius + 2, centre.y() - radius + 2, 2 * radius - 4,
                         2 * radius - 4), 20 * 16, 140 * 16);
    }

    p.translate(centre + QPointF(0, look == Look::Pressed ? 1 : 0));
    p.setPen(Qt::NoPen);
    p.setBrush(GlyphColour(look));
    glyph(p);
    return image;
}

void PlayGlyph(QPainter& p)
{
    QPainterPath path;
    path.moveTo(-5.5, -9);
    path.lineTo(9.5, 0);
    path.lineTo(-5.5, 9);
    path.closeSubpath();
    p.drawPath(path);
}

void PauseGlyph(QPainter& p)
{
    p.drawRoundedRect(QRectF(-7, -8.5, 5, 17), 1.2, 1.2);
    p.drawRoundedRect(QRectF(2, -8.5, 5, 17), 1.2, 1.2);
}

// The small sound button, 25 x 25: a speaker on a backdrop that shows when touched.
QImage SoundButton(Look look, bool soundOn)
{
    QImage image = Blank(25, 25);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (look != Look::Normal) {
        p.setPen(QPen(look == Look::Hot ? QColor(90, 108, 150) : QColor(44, 50, 62), 1));
        p.setBrush(look == Look::Hot ? QColor(44, 50, 63) : QColor(16, 18, 23));
        p.drawRoundedRect(QRectF(0.5, 0.5, 24, 24), 5, 5);
    }
    p.translate(look == Look::Pressed ? QPointF(0, 1) : QPointF(0, 0));
    const QColor colour = GlyphColour(look);

    QPainterPath speaker;
    speaker.moveTo(5, 10);
    speaker.lineTo(8, 10);
    speaker.lineTo(12.5, 6);
    speaker.lineTo(12.5, 19);
    speaker.lineTo(8, 15);
    speaker.lineTo(5, 15);
    speaker.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(speaker);

    p.setBrush(Qt::NoBrush);
    if (soundOn) {
        p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(10, 9, 6, 7), -50 * 16, 100 * 16);
        p.drawArc(QRectF(9, 6, 11, 13), -55 * 16, 110 * 16);
    } else {
        p.setPen(QPen(look == Look::Hot ? QColor(232, 128, 128) : QColor(196, 104, 110), 1.7,
                      Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15, 10), QPointF(20, 15));
        p.drawLine(QPointF(20, 10), QPointF(15, 15));
    }
    return image;
}

// The volume track, 79 x 9: a groove, empty or filled with the accent.
QImage Track(bool filled)
{
    QImage image = Blank(79, 9);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF groove(0.5, 2.5, 78, 4);
    if (filled) {
        QLinearGradient g(0, 0, 79, 0);
        g.setColorAt(0, QColor(70, 88, 134));
        g.setColorAt(1, kText);
        p.setPen(QPen(QColor(40, 50, 78), 1));
        p.setBrush(g);
    } else {
        p.setPen(QPen(QColor(52, 58, 72), 1));
        p.setBrush(QColor(9, 10, 13));
    }
    p.drawRoundedRect(groove, 2, 2);
    if (filled) {
        p.setPen(QPen(QColor(255, 255, 255, 50), 1));
        p.drawLine(QPointF(2, 3.5), QPointF(77, 3.5));
    }
    return image;
}

// The knob, 11 x 9, so its halves are 5 and 6 pixels.
QImage Knob(bool hot)
{
    QImage image = Blank(11, 9);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 9);
    g.setColorAt(0, hot ? QColor(236, 242, 255) : QColor(200, 210, 232));
    g.setColorAt(1, hot ? QColor(150, 172, 222) : QColor(118, 132, 166));
    // The hot knob is ringed in the accent so it reads at this size.
    p.setPen(QPen(hot ? kText : QColor(10, 12, 16), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1, 0.5, 9, 8), 3.5, 3.5);
    return image;
}

QImage MenuStrip(bool hot)
{
    constexpr int w = 8;
    QImage image = Blank(w, kMenuHeight);
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, kMenuHeight);
    if (hot) {
        g.setColorAt(0, QColor(50, 59, 78));
        g.setColorAt(1, QColor(33, 39, 52));
    } else {
        g.setColorAt(0, QColor(34, 38, 47));
        g.setColorAt(1, QColor(22, 25, 31));
    }
    p.fillRect(image.rect(), g);
    p.fillRect(0, 0, w, 1, hot ? QColor(74, 86, 112) : QColor(46, 52, 64));
    if (hot)
        p.fillRect(0, kMenuHeight - 2, w, 2, kText);
    else
        p.fillRect(0, kMenuHeight - 1, w, 1, kEdgeDark);
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: korvanta_skin_gen <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    const std::pair<const char*, QImage> images[] = {
        {"PanelFill", PanelStrip(8)},
        {"PanelLeft", PanelCap(true)},
        {"PanelRight", PanelCap(false)},
        {"Play1", RoundButton(Look::Normal, PlayGlyph)},
        {"Play2", RoundButton(Look::Pressed, PlayGlyph)},
        {"Play3", RoundButton(Look::Hot, PlayGlyph)},
        {"Pause1", RoundButton(Look::Normal, PauseGlyph)},
        {"Pause2", RoundButton(Look::Pressed, PauseGlyph)},
        {"Pause3", RoundButton(Look::Hot, PauseGlyph)},
        {"MuteOn1", SoundButton(Look::Normal, true)},
        {"MuteOn2", SoundButton(Look::Pressed, true)},
        {"MuteOn3", SoundButton(Look::Hot, true)},
        {"MuteOff1", SoundButton(Look::Normal, false)},
        {"MuteOff2", SoundButton(Look::Pressed, false)},
        {"MuteOff3", SoundButton(Look::Hot, false)},
        {"SoundFill1", Track(false)},
        {"SoundFill2", Track(true)},
        {"Sound1", Knob(false)},
        {"Sound2", Knob(true)},
        {"Menu1", MenuStrip(false)},
        {"Menu2", MenuStrip(true)},
    };
    for (const auto& [name, image] : images) {
        const QString path = out.filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
        if (!image.save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
