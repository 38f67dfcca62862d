#pragma once
// Dialog templates are laid out in dialog units; this converts them to pixels from the
// dialog font's average character width and height, as the platform does.

#include <QFont>
#include <QRect>

class CDialogUnits
{
public:
    explicit CDialogUnits(const QFont& font);

    int X(int du) const; // du * baseX / 4, rounded
    int Y(int du) const; // du * baseY / 8, rounded
    QRect ToPixels(const QRect& du) const;
    QSize ToPixels(const QSize& du) const;

    int BaseX() const { return baseX; }
    int BaseY() const { return baseY; }

private:
    int baseX;
    int baseY;
};
