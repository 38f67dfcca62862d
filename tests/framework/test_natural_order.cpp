// Names shown in the left-to-right windows keep the order their readers expect.

#include "NaturalOrder.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <limits>

namespace {
// Where the characters from..from+length of text are drawn, laid out left to right as the
// views do.
double LeftOf(const QString& text, qsizetype from, qsizetype length)
{
    const QString shown = NaturalOrder(text);
    const qsizetype offset = shown.size() == text.size() ? 0 : 1; // the opening mark
    QTextLayout layout(shown, QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    layout.setTextOption(option);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    double left = std::numeric_limits<double>::max();
    for (const QGlyphRun& run : layout.glyphRuns(static_cast<int>(from + offset), static_cast<int>(length)))
        left = std::min(left, run.boundingRect().left());
    return left;
}
} // namespace

TEST(NaturalOrder, ANameReadsInTheDirectionOfItsFirstLetters)
{
    struct Case
    {
        const char* name;
        const char* first; // its first and last words
        const char* last;
        bool rightToLeft;
    } cases[] = {
        {"24 قناة", "24", "قناة", true},
        {"قناة 24", "قناة", "24", true},
        {"الجزيرة HD", "الجزيرة", "HD", true},
        {"News 24", "News", "24", false},
        {"MBC مصر 2", "MBC", "2", false},
    };
    for (const Case& c : cases) {
        const QString name = QString::fromUtf8(c.name);
        const QString first = QString::fromUtf8(c.first);
        const QString last = QString::fromUtf8(c.last);
        const double firstLeft = LeftOf(name, name.indexOf(first), first.size());
        const double lastLeft = LeftOf(name, name.lastIndexOf(last), last.size());
        EXPECT_EQ(firstLeft > lastLeft, c.rightToLeft) << c.name;
    }
}
