#include "InvalidArgument.h"
#include "MessageBoxRecorder.h"
#include "WindowMessage.h"

#include <QObject>
#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

namespace {
using Volume = PrivateMessage<UM_VOLUME, int>;
using Start = PrivateMessage<UM_START_CHANNEL, QString>;
using Mute = PrivateMessage<UM_MUTE, bool>;

class Receiver : public QObject
{
public:
    std::vector<std::pair<WPARAM, LPARAM>> commands;
    std::vector<int> volumes;
    std::vector<int> steps;

    LRESULT OnCommand(WPARAM w, LPARAM l)
    {
        commands.emplace_back(w, l);
        return 7;
    }
    void OnThrowMidway()
    {
        steps.push_back(1);
        const QStringList empty;
        (void)CheckedAt(empty, 0);
        steps.push_back(2);
    }

    bool event(QEvent* e) override
    {
        return DispatchMessage(this, e, kMap) ||
               ReceiveMessage<Volume>(e, [this](int volume) { volumes.push_back(volume); }) ||
               ReceiveMessage<Start>(e, [this](const QString&) { OnThrowMidway(); }) || QObject::event(e);
    }

    static constexpr MessageMapEntry<Receiver> kMap[] = {
        {WM_COMMAND, &Receiver::OnCommand},
    };
};
} // namespace

TEST(WindowMessage, SendIsSynchronousAndCarriesParametersOrValues)
{
    Receiver r;
    EXPECT_EQ(SendMessage(&r, WM_COMMAND, 106, 40), 7);
    ASSERT_EQ(r.commands.size(), 1u);
    EXPECT_EQ(r.commands[0], (std::pair<WPARAM, LPARAM>{106, 40}));
    SendMessage(&r, Volume{40});
    EXPECT_EQ(r.volumes, std::vector<int>{40});
}

TEST(WindowMessage, UnhandledMessagesAndNullTargetAreHarmless)
{
    Receiver r;
    EXPECT_EQ(SendMessage(&r, WM_ACTIVATE, 1, 0), 0);
    SendMessage(&r, Mute{true});
    EXPECT_EQ(SendMessage(nullptr, WM_COMMAND, 1, 0), 0);
    SendMessage(nullptr, Volume{3});
    EXPECT_TRUE(r.commands.empty());
    EXPECT_TRUE(r.volumes.empty());
}

TEST(WindowMessage, InvalidArgumentEndsOnlyTheHandlerAndIsReported)
{
    MessageBoxRecorder boxes;
    Receiver r;
    SendMessage(&r, Start{QStringLiteral("x")});
    EXPECT_EQ(r.steps, std::vector<int>{1});
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("An invalid argument was encountered."));
    // The application goes on handling messages afterwards.
    SendMessage(&r, Volume{3});
    EXPECT_EQ(r.volumes, std::vector<int>{3});
}
