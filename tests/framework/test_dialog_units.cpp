#include "DialogUnits.h"

#include <QApplication>

#include <gtest/gtest.h>

TEST(DialogUnits, ScaleByAverageCharacterWidthAndHeight)
{
    const CDialogUnits du(QApplication::font());
    ASSERT_GT(du.BaseX(), 0);
    ASSERT_GT(du.BaseY(), 0);
    EXPECT_EQ(du.X(4), du.BaseX());
    EXPECT_EQ(du.Y(8), du.BaseY());
    EXPECT_EQ(du.X(0), 0);
}

TEST(DialogUnits, AdjacentRectanglesStayAdjacent)
{
    // Converting edges (not sizes) keeps controls that touch in dialog units touching.
    const CDialogUnits du(QApplication::font());
    const QRect a = du.ToPixels(QRect(7, 6, 127, 18));
    const QRect b = du.ToPixels(QRect(134, 6, 10, 18));
    EXPECT_EQ(a.left() + a.width(), b.left());
}
