#include "DialogUnits.h"

#include <QFontMetrics>

namespace {
// MulDiv: a * b / c rounded half away from zero.
int mulDiv(int a, int b, int c)
{
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}
} // namespace

CDialogUnits::CDialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    // The platform's average width: the 52 letters' width / 26, rounded, halved.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX = (letters / 26 + 1) / 2;
    baseY = metrics.height();
}

int CDialogUnits::X(int du) const
{
    return mulDiv(du, baseX, 4);
}

int CDialogUnits::Y(int du) const
{
    return mulDiv(du, baseY, 8);
}

QRect CDialogUnits::ToPixels(const QRect& du) const
{
    const int left = X(du.left());
    const int top = Y(du.top());
    return QRect(left, top, X(du.left() + du.width()) - left, Y(du.top() + du.height()) - top);
}

QSize CDialogUnits::ToPixels(const QSize& du) const
{
    return QSize(X(du.width()), Y(du.height()));
}
