#pragma once
// Flicker-free painting: inside a paintEvent, draw through this buffer instead of the
// widget. It covers the bounding box of the update region, starts filled with the
// widget's background colour, takes the same (widget) coordinates as the widget would,
// and is copied to the widget in one block when it goes out of scope.
//
//     void X::paintEvent(QPaintEvent* event)
//     {
//         CMemDC dc(this, event->region());
//         QPainter& p = dc.Painter();
//         ...  // draw in widget coordinates
//     }

#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <QRegion>

class QWidget;

class CMemDC
{
public:
    CMemDC(QWidget* target, const QRegion& updateRegion);
    ~CMemDC();

    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    QPainter& Painter() { return painter; }

    // The area drawn, in the widget's coordinates.
    const QRect& Rect() const { return rect; }
    // The buffer's size in device pixels.
    QSize BufferSize() const { return bitmap.size(); }
    // A widget rectangle in the buffer's own coordinates (origin at the buffer's corner).
    QRect LPtoDP(const QRect& logical) const { return logical.translated(-rect.topLeft()); }

private:
    QWidget* target;
    QRect rect;
    QPixmap bitmap;
    QPainter painter;
};
