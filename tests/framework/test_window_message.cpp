#include "InvalidArgument.h"
#include "MessageBoxRecorder.h"
#include "WindowMessage.h"

#include <QObject>
#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

namespace {
class Receiver : public QObject
{
public:
    std::vector<std::pair<WPARAM, LPARAM>> volumes;
    std::vector<int> steps;

    LRESULT OnVolume(WPARAM w, LPARAM l)
    {
        volumes.emplace_back(w, l);
        return 7;
    }
    LRESULT OnThrowMidway(WPARAM, LPARAM)
    {
        steps.push_back(1);
        const QStringList empty;
        (void)CheckedAt(empty, 0);
        steps.push_back(2);
        return 0;
    }

    bool event(QEvent* e) override { return DispatchMessage(this, e, kMap) || QObject::event(e); }

    static constexpr MessageMapEntry<Receiver> kMap[] = {
        {UM_VOLUME, &Receiver::OnVolume},
        {UM_START_CHANNEL, &Receiver::OnThrowMidway},
    };
};
} // namespace

TEST(WindowMessage, SendIsSynchronousAndCarriesParameters)
{
    Receiver r;
    EXPECT_EQ(SendMessage(&r, UM_VOLUME, 0, 40), 7);
    ASSERT_EQ(r.volumes.size(), 1u);
    EXPECT_EQ(r.volumes[0].second, 40);
}

TEST(WindowMessage, UnmappedMessageAndNullTargetAreHarmless)
{
    Receiver r;
    EXPECT_EQ(SendMessage(&r, UM_MUTE, 1, 0), 0);
    EXPECT_EQ(SendMessage(nullptr, UM_MUTE, 1, 0), 0);
    EXPECT_TRUE(r.volumes.empty());
}

TEST(WindowMessage, InvalidArgumentEndsOnlyTheHandlerAndIsReported)
{
    MessageBoxRecorder boxes;
    Receiver r;
    SendMessage(&r, UM_START_CHANNEL);
    EXPECT_EQ(r.steps, std::vector<int>{1});
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("An invalid argument was encountered."));
    // The application goes on handling messages afterwards.
    EXPECT_EQ(SendMessage(&r, UM_VOLUME, 0, 3), 7);
}
