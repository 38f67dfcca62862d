#include "CMemDC.h"
#include "CxImage.h"
#include "TempDir.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

const QRgb kMarker = qRgb(255, 0, 255);

QString WriteSolidPng(const TempDir& dir, int w, int h, QColor colour)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(colour);
    const QString path = dir.FilePath(QStringLiteral("solid.png"));
    image.save(path, "PNG");
    return path;
}

QImage Canvas(int w, int h)
{
    QImage canvas(w, h, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(kMarker);
    return canvas;
}

// Paints through a CMemDC and records what the buffer looked like.
class BufferedWidget : public QWidget
{
public:
    QSize bufferSize;
    QRect bufferRect;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        CMemDC dc(this, event->region());
        bufferSize = dc.BufferSize();
        bufferRect = dc.Rect();
        dc.Painter().fillRect(QRect(20, 10, 4, 4), Qt::blue);
    }
};

} // namespace

TEST(CxImage, LoadedImageDrawsAtNaturalSizeOrStretched)
{
    TempDir dir;
    CxImage image;
    ASSERT_TRUE(image.Load(WriteSolidPng(dir, 6, 4, Qt::red)));
    EXPECT_EQ(image.GetWidth(), 6u);
    EXPECT_EQ(image.GetHeight(), 4u);

    QImage canvas = Canvas(20, 20);
    {
        QPainter p(&canvas);
        image.Draw(p, 2, 3);
        image.Draw(p, 10, 10, 8, -1);
    }
    EXPECT_EQ(canvas.pixel(2, 3), qRgb(255, 0, 0));
    EXPECT_EQ(canvas.pixel(7, 6), qRgb(255, 0, 0));
    EXPECT_EQ(canvas.pixel(8, 3), kMarker);
    EXPECT_EQ(canvas.pixel(2, 7), kMarker);
    EXPECT_EQ(canvas.pixel(17, 13), qRgb(255, 0, 0)); // stretched to 8 wide, natural height
    EXPECT_EQ(canvas.pixel(17, 14), kMarker);
}

TEST(CxImage, ClipIsInDeviceCoordinates)
{
    TempDir dir;
    CxImage image;
    ASSERT_TRUE(image.Load(WriteSolidPng(dir, 4, 4, Qt::green)));

    QImage canvas = Canvas(20, 10);
    {
        QPainter p(&canvas);
        p.translate(-100, 0); // logical x 100 lands on device x 0
        const QRect clip(0, 0, 5, 10);
        image.Draw(p, QRect(100, 0, 20, 10), &clip);
    }
    EXPECT_EQ(canvas.pixel(4, 5), qRgb(0, 255, 0));
    EXPECT_EQ(canvas.pixel(5, 5), kMarker);
}

TEST(CxImage, MissingOrBrokenFileIsEmptyAndDrawsNothing)
{
    TempDir dir;
    dir.WriteFile(QStringLiteral("broken.png"), QByteArray("\x89PNG\r\n\x1a\n not really", 20));
    for (const QString& path : {dir.FilePath(QStringLiteral("absent.png")),
                                dir.FilePath(QStringLiteral("broken.png"))}) {
        CxImage image;
        EXPECT_FALSE(image.Load(path));
        EXPECT_EQ(image.GetWidth(), 0u);
        EXPECT_EQ(image.GetHeight(), 0u);
        QImage canvas = Canvas(8, 8);
        {
            QPainter p(&canvas);
            const QRect clip(0, 0, 4, 4);
            EXPECT_EQ(image.Draw(p, 0, 0), 0);
            EXPECT_EQ(image.Draw(p, QRect(0, 0, 8, 8), &clip), 0);
        }
        EXPECT_EQ(canvas, Canvas(8, 8));
    }
}

TEST(CMemDC, BufferCoversExactlyTheUpdateBoundingBox)
{
    BufferedWidget widget;
    widget.resize(100, 50);
    QPalette palette = widget.palette();
    palette.setColor(widget.backgroundRole(), QColor(10, 20, 30));
    widget.setPalette(palette);

    QImage target = Canvas(100, 50);
    const QRegion update = QRegion(15, 5, 10, 10) + QRegion(30, 20, 5, 5);
    // render() puts the region's corner at the offset given: keep widget coordinates.
    widget.render(&target, update.boundingRect().topLeft(), update);

    EXPECT_EQ(widget.bufferRect, QRect(15, 5, 20, 20));
    EXPECT_EQ(widget.bufferSize, QSize(20, 20));
    // Drawing in widget coordinates lands where it would on the widget itself.
    EXPECT_EQ(target.pixel(20, 10), qRgb(0, 0, 255));
    EXPECT_EQ(target.pixel(23, 13), qRgb(0, 0, 255));
    // The rest of the update starts from the background colour, not from the screen.
    EXPECT_EQ(target.pixel(16, 6), qRgb(10, 20, 30));
    EXPECT_EQ(target.pixel(32, 22), qRgb(10, 20, 30));
    // Nothing outside the update region reaches the widget.
    EXPECT_EQ(target.pixel(14, 10), kMarker);
    EXPECT_EQ(target.pixel(40, 10), kMarker);
    EXPECT_EQ(target.pixel(20, 4), kMarker);
    EXPECT_EQ(target.pixel(32, 8), kMarker); // inside the bounding box, outside the region
}

TEST(ShippedSkin, EveryImageFitsTheRectangleItIsDrawnIn)
{
    // Tests run in the staged data folder, where the program finds Skin/.
    const struct
    {
        const char* name;
        int width; // 0: any width
        int height;
    } expected[] = {
        {"PanelFill", 0, 69}, {"PanelLeft", 0, 69}, {"PanelRight", 0, 69},
        {"Play1", 46, 50}, {"Play2", 46, 50}, {"Play3", 46, 50},
        {"Pause1", 46, 50}, {"Pause2", 46, 50}, {"Pause3", 46, 50},
        {"MuteOn1", 25, 25}, {"MuteOn2", 25, 25}, {"MuteOn3", 25, 25},
        {"MuteOff1", 25, 25}, {"MuteOff2", 25, 25}, {"MuteOff3", 25, 25},
        {"SoundFill1", 79, 9}, {"SoundFill2", 79, 9}, {"Sound1", 11, 9}, {"Sound2", 11, 9},
        {"Menu1", 0, 20}, {"Menu2", 0, 20},
    };
    for (const auto& image : expected) {
        CxImage skin;
        ASSERT_TRUE(skin.Load(QStringLiteral("Skin/%1.png").arg(QLatin1String(image.name))))
            << image.name;
        if (image.width != 0) {
            EXPECT_EQ(skin.GetWidth(), static_cast<std::uint32_t>(image.width)) << image.name;
        }
        EXPECT_GT(skin.GetWidth(), 0u) << image.name;
        EXPECT_EQ(skin.GetHeight(), static_cast<std::uint32_t>(image.height)) << image.name;
    }
}
