// A second start hands its playlist arguments to the running program.

#include "SingleInstance.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <future>

TEST(SingleInstance, SecondStartHandsItsArgumentsToTheFirst)
{
    const QString name = SingleInstance::NameFor(QStringLiteral("/test/%1").arg(QCoreApplication::applicationPid()));
    EXPECT_NE(name, SingleInstance::NameFor(QStringLiteral("/other")));
    SingleInstance first(name);
    EXPECT_FALSE(first.HandOver({QStringLiteral("/tv.m3u")})); // nobody runs yet
    ASSERT_TRUE(first.Listen());

    QSignalSpy received(&first, &SingleInstance::Received);
    const QStringList arguments{QStringLiteral("/home/v/tv.m3u"), QStringLiteral("http://h/ü.m3u")};
    // The second start blocks while it waits for the answer, as a separate process would.
    auto handedOver = std::async(std::launch::async, [&] { return SingleInstance(name).HandOver(arguments); });
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return handedOver.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 10000));
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0][0].toStringList(), arguments);
    EXPECT_TRUE(handedOver.get());
}

TEST(SingleInstance, FileArgumentsBecomeAbsoluteAgainstTheCallersDirectory)
{
    const QStringList arguments{"tv.m3u", "../lists/a.m3u8", "/abs/b.m3u", "file:///abs/c%20d.m3u",
                                "https://h/list.m3u", "-style", ""};
    EXPECT_EQ(PlaylistArguments(arguments, QStringLiteral("/home/v/here")),
              (QStringList{"/home/v/here/tv.m3u", "/home/v/lists/a.m3u8", "/abs/b.m3u", "/abs/c d.m3u",
                           "https://h/list.m3u"}));
}
