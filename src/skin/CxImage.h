#pragma once
// A skin image: loaded once from a PNG file and drawn at its own size, stretched or
// clipped. An image that failed to load is empty: width 0, and drawing it draws nothing.

#include <QImage>
#include <QString>

#include <cstdint>

class QPainter;
class QRect;

class CxImage
{
public:
    explicit CxImage(std::uint32_t imageType = 0);
    virtual ~CxImage();

    CxImage(const CxImage&) = delete;
    CxImage& operator=(const CxImage&) = delete;

    // fileName is relative to the working directory; type 0 takes the format from the file.
    bool Load(const QString& fileName, std::uint32_t imageType = 0);

    std::uint32_t GetWidth() const;
    std::uint32_t GetHeight() const;

    // Top-left corner at (x, y), scaled to cx x cy; -1 stands for the image's own size.
    int Draw(QPainter& painter, int x, int y, int cx = -1, int cy = -1,
             const QRect* clip = nullptr, bool smooth = false) const;
    // Stretched into target; clip, when given, is in the painter's device coordinates.
    int Draw(QPainter& painter, const QRect& target, const QRect* clip = nullptr,
             bool smooth = false) const;

    bool DestroyFrames();
    bool Destroy();

private:
    QImage image;
};
