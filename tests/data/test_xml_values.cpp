#include "XmlFile.h"
#include "XmlValues.h"

#include <QString>

#include <gtest/gtest.h>

#include <climits>

TEST(ParseInteger, ReadsLeadingDigitsWithOptionalSpaceAndSign)
{
    EXPECT_EQ(ParseInteger("42"), 42);
    EXPECT_EQ(ParseInteger("12abc"), 12);
    EXPECT_EQ(ParseInteger("  -7"), -7);
    EXPECT_EQ(ParseInteger("\t\r\n+5"), 5);
    EXPECT_EQ(ParseInteger("abc"), 0);
    EXPECT_EQ(ParseInteger(""), 0);
    EXPECT_EQ(ParseInteger("-"), 0);
    EXPECT_EQ(ParseInteger("- 3"), 0);
    EXPECT_EQ(ParseInteger("3 4"), 3);
    EXPECT_EQ(ParseInteger(nullptr), 0);
}

TEST(ParseInteger, SaturatesInsteadOfOverflowing)
{
    EXPECT_EQ(ParseInteger("2147483647"), INT_MAX);
    EXPECT_EQ(ParseInteger("-2147483648"), INT_MIN);
    EXPECT_EQ(ParseInteger("2147483648"), INT_MAX);
    EXPECT_EQ(ParseInteger("-99999999999999999999999999"), INT_MIN);
    EXPECT_EQ(ParseInteger("99999999999999999999999999"), INT_MAX);
}

TEST(Truncated, KeepsSurrogatePairsWhole)
{
    const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E"); // one character, two units
    EXPECT_EQ(Truncated(QStringLiteral("abcdef"), 4), QStringLiteral("abcd"));
    EXPECT_EQ(Truncated(QStringLiteral("abc"), 4), QStringLiteral("abc"));
    EXPECT_EQ(Truncated(QStringLiteral("abc") + clef, 4), QStringLiteral("abc"));
    EXPECT_EQ(Truncated(QStringLiteral("ab") + clef, 4), QStringLiteral("ab") + clef);
}

TEST(AttributeUtf8, CutsOnlyBetweenWholeSequences)
{
    const QString e = QString::fromUtf8("\xC3\xA9");      // 2 bytes
    const QString euro = QString::fromUtf8("\xE2\x82\xAC"); // 3 bytes
    EXPECT_EQ(AttributeUtf8(QString(200, e.at(0)), 255).size(), 254);
    EXPECT_EQ(AttributeUtf8(QStringLiteral("a") + euro + euro, 6), QByteArray("a\xE2\x82\xAC"));
    EXPECT_EQ(AttributeUtf8(QStringLiteral("a") + euro + euro, 7), QByteArray("a\xE2\x82\xAC\xE2\x82\xAC"));
    EXPECT_EQ(AttributeUtf8(QStringLiteral("abc"), 255), QByteArray("abc"));
    EXPECT_EQ(AttributeUtf8(QStringLiteral("ab") + QChar(0) + QStringLiteral("cd"), 255), QByteArray("ab"));
}

TEST(XmlNestingDepth, CountsElementLevelsOnly)
{
    EXPECT_EQ(XmlNestingDepth(""), 0);
    EXPECT_EQ(XmlNestingDepth("<?xml version=\"1.0\" ?><a><b /><b><c /></b></a>"), 3);
    EXPECT_EQ(XmlNestingDepth("<a x=\"/>\" y='>'><b></b></a>"), 2);
    EXPECT_EQ(XmlNestingDepth("<a><!-- <b><b><b> --><![CDATA[<c><c>]]></a>"), 1);
    EXPECT_EQ(XmlNestingDepth("</a></a><a><b/></a>"), 2);
}

TEST(XmlNestingDepth, SeesDeepNestingThatTheParserWouldFollow)
{
    const QByteArray deep = QByteArray("<a>").repeated(100000);
    EXPECT_EQ(XmlNestingDepth(deep.constData()), 100000);
    EXPECT_EQ(XmlNestingDepth(("<r>" + QByteArray("<a x='1'>").repeated(500)).constData()), 501);
}
