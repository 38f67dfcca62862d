#include "InvalidArgument.h"

#include <QList>
#include <QStringList>

#include <gtest/gtest.h>

TEST(CheckedAt, AcceptsEveryIndexInsideAndRejectsTheEdgesOutside)
{
    QStringList list{"a", "b"};
    EXPECT_EQ(CheckedAt(list, 0), "a");
    EXPECT_EQ(CheckedAt(list, 1), "b");
    EXPECT_THROW(CheckedAt(list, 2), CInvalidArgException);
    EXPECT_THROW(CheckedAt(list, -1), CInvalidArgException);
    const QStringList empty;
    EXPECT_THROW(CheckedAt(empty, 0), CInvalidArgException);
}

TEST(CheckedAt, GivesWritableAccessToMutableLists)
{
    QList<unsigned> ids{1, 2, 3};
    CheckedAt(ids, 1) = 9;
    EXPECT_EQ(ids[1], 9u);
}
