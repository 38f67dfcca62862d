#include "CxImage.h"

#include "PngImage.h"

#include <QPainter>
#include <QRect>

CxImage::CxImage(std::uint32_t /*imageType*/)
{
}

CxImage::~CxImage()
{
    DestroyFrames();
    Destroy();
}

bool CxImage::Load(const QString& fileName, std::uint32_t /*imageType*/)
{
    const QImage loaded = ReadPngImage(fileName);
    if (loaded.isNull()) {
        image = QImage();
        return false;
    }
    // Premultiplied is what the raster painter blends fastest.
    image = loaded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return true;
}

std::uint32_t CxImage::GetWidth() const
{
    return static_cast<std::uint32_t>(image.width());
}

std::uint32_t CxImage::GetHeight() const
{
    return static_cast<std::uint32_t>(image.height());
}

int CxImage::Draw(QPainter& painter, int x, int y, int cx, int cy, const QRect* clip,
                  bool smooth) const
{
    if (cx == -1)
        cx = image.width();
    if (cy == -1)
        cy = image.height();
    return Draw(painter, QRect(x, y, cx, cy), clip, smooth);
}

int CxImage::Draw(QPainter& painter, const QRect& target, const QRect* clip, bool smooth) const
{
    if (image.isNull() || !target.isValid() || !painter.isActive())
        return 0;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    if (clip != nullptr) {
        // The clip is given in device coordinates: set it with the world transform
        // taken away, then put the transform back for the drawing itself.
        const QTransform world = painter.worldTransform();
        painter.resetTransform();
        painter.setClipRect(*clip, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        painter.setWorldTransform(world);
    }
    painter.drawImage(target, image);
    painter.restore();
    return 1;
}

bool CxImage::DestroyFrames()
{
    return true;
}

bool CxImage::Destroy()
{
    image = QImage();
    return true;
}
