#include "CPanelPlay.h"
#include "SkinTestSupport.h"
#include "TempDir.h"
#include "WorkingDirectory.h"

#include <QAccessible>
#include <QDir>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class PanelPlay : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host.resize(700, 200);
        panel.Create(&host);
        panel.setGeometry(0, 131, 700, 69);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }

    void MoveTo(QPoint p) { QTest::mouseMove(&panel, p); }
    void Press(QPoint p)
    {
        MoveTo(p);
        QTest::mousePress(&panel, Qt::LeftButton, {}, p);
    }
    void Release(QPoint p) { QTest::mouseRelease(&panel, Qt::LeftButton, {}, p); }
    void Click(QPoint p)
    {
        Press(p);
        Release(p);
    }
    QPoint KnobCentre() const
    {
        return {panel.TrackRect().left() + panel.KnobOffset(), panel.TrackRect().center().y()};
    }

    PanelHost host;
    CPanelPlay panel;
    const QPoint outside{20, 5};
};

} // namespace

TEST_F(PanelPlay, GeometryFollowsTheWidth)
{
    // The skin's play image is 46 wide, so its half is 23.
    EXPECT_EQ(panel.PlayRect(), QRect(350 - 23, 11, 46, 50));
    EXPECT_EQ(panel.SoundRect(), QRect(700 - 133, 23, 25, 25));
    EXPECT_EQ(panel.TrackRect(), QRect(700 - 105, 30, 79, 9));
    EXPECT_EQ(panel.KnobRect(), QRect(700 - 105, 30, 11, 9));

    panel.resize(340, 69);
    EXPECT_EQ(panel.PlayRect().topLeft(), QPoint(170 - 23, 11));
    panel.resize(339, 69);
    EXPECT_EQ(panel.PlayRect().topLeft(), QPoint(339 - 23 - 170, 11));
    panel.resize(300, 69);
    EXPECT_EQ(panel.PlayRect().topLeft(), QPoint(130 - 23, 11));
    EXPECT_EQ(panel.SoundRect().topLeft(), QPoint(300 - 133, 23));
}

TEST_F(PanelPlay, VolumeScaleRunsAlongTheTrack)
{
    panel.SetVolume(0);
    EXPECT_EQ(panel.KnobOffset(), 5);
    EXPECT_EQ(panel.KnobRect().left(), panel.TrackRect().left());
    panel.SetVolume(100);
    EXPECT_EQ(panel.KnobOffset(), 73);
    EXPECT_EQ(panel.KnobRect().right(), panel.TrackRect().right());

    panel.SetVolume(250); // kept on the track
    EXPECT_EQ(panel.KnobOffset(), 73);
    EXPECT_EQ(panel.Volume(), 100);
    panel.SetVolume(-7);
    EXPECT_EQ(panel.KnobOffset(), 5);
    EXPECT_EQ(panel.Volume(), 0);

    panel.SetVolume(33);
    EXPECT_EQ(panel.KnobOffset(), 27);
    EXPECT_EQ(panel.KnobRect().left(), panel.TrackRect().left() + 22);
    Click(KnobCentre());
    ASSERT_EQ(host.received.size(), 1u);
    EXPECT_EQ(host.received[0].kind, SentVolume);
    EXPECT_EQ(host.received[0].flag, 0);
    EXPECT_EQ(host.received[0].amount, 32);
    EXPECT_EQ(panel.Volume(), 32);
}

TEST_F(PanelPlay, VolumeIsSentOnlyWhenTheIntegerVolumeChanges)
{
    panel.SetVolume(0);
    const QRect track = panel.TrackRect();
    Press({track.left() + 1, track.center().y()}); // clamped to the left end: still 0
    EXPECT_TRUE(host.received.empty());
    EXPECT_TRUE(panel.IsDragging());

    MoveTo({track.left() + 40, track.center().y() + 20}); // a drag follows x only
    ASSERT_EQ(host.received.size(), 1u);
    EXPECT_EQ(host.received[0].amount, (40 - 5) * 100 / 68);
    MoveTo({track.left() + 40, track.center().y()});
    EXPECT_EQ(host.received.size(), 1u);

    MoveTo({track.right() + 50, track.center().y()});
    MoveTo({track.right() + 80, track.center().y()});
    ASSERT_EQ(host.received.size(), 2u);
    EXPECT_EQ(host.received[1].amount, 100);
    EXPECT_EQ(panel.KnobOffset(), 73);

    MoveTo({track.left() - 300, track.center().y()});
    Release({track.left() - 300, track.center().y()});
    ASSERT_EQ(host.received.size(), 3u);
    EXPECT_EQ(host.received[2].amount, 0);
    EXPECT_FALSE(panel.IsDragging());
}

TEST_F(PanelPlay, DisabledPlayButtonShowsPressedButSendsNothing)
{
    const QPoint play = panel.PlayRect().center();
    Press(play);
    EXPECT_EQ(panel.PlayLook(), 2);
    Release(play);
    EXPECT_EQ(panel.PlayLook(), 3);
    EXPECT_FALSE(panel.IsPlaying());
    EXPECT_TRUE(host.received.empty());
}

TEST_F(PanelPlay, ButtonsToggleAndReportThePreviousState)
{
    panel.EnablePlayButton();
    EXPECT_TRUE(panel.IsPlaying());
    Click(panel.PlayRect().center());
    EXPECT_FALSE(panel.IsPlaying());
    Click(panel.PlayRect().center());
    Click(panel.SoundRect().center());
    EXPECT_FALSE(panel.IsSoundOn());
    Click(panel.SoundRect().center());
    EXPECT_TRUE(panel.IsPlaying());
    EXPECT_TRUE(panel.IsSoundOn());

    // Flag 1: it was playing (stop) / the sound was on (mute).
    const std::vector<std::pair<SentKind, int>> expected = {
        {SentPlayStop, 1}, {SentPlayStop, 0}, {SentMute, 1}, {SentMute, 0}};
    ASSERT_EQ(host.received.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(host.received[i].kind, expected[i].first) << i;
        EXPECT_EQ(host.received[i].flag, expected[i].second) << i;
    }
}

TEST_F(PanelPlay, PressedButtonFollowsThePointerAndAReleaseOutsideCancels)
{
    panel.EnablePlayButton();
    for (const bool play : {true, false}) {
        const QRect button = play ? panel.PlayRect() : panel.SoundRect();
        auto look = [&] { return play ? panel.PlayLook() : panel.SoundLook(); };
        Press(button.center());
        EXPECT_EQ(look(), 2);
        MoveTo(outside);
        EXPECT_EQ(look(), 1);
        MoveTo(button.center());
        EXPECT_EQ(look(), 2);
        MoveTo(outside);
        Release(outside);
        EXPECT_EQ(look(), 1);
    }
    EXPECT_TRUE(panel.IsPlaying());
    EXPECT_TRUE(panel.IsSoundOn());
    EXPECT_TRUE(host.received.empty());
}

TEST_F(PanelPlay, OnlyThePressedElementTurnsHot)
{
    panel.SetVolume(50);
    const QPoint play = panel.PlayRect().center();
    const QPoint sound = panel.SoundRect().center();

    Press(play);
    MoveTo(sound);
    EXPECT_EQ(panel.SoundLook(), 1);
    MoveTo(KnobCentre());
    EXPECT_FALSE(panel.IsKnobHot());
    Release(KnobCentre());

    Press(sound);
    MoveTo(play);
    EXPECT_EQ(panel.PlayLook(), 1);
    MoveTo(KnobCentre());
    EXPECT_FALSE(panel.IsKnobHot());
    Release(KnobCentre());

    Press(KnobCentre());
    QTest::mouseMove(&panel, {sound.x(), KnobCentre().y()});
    QTest::mouseMove(&panel, sound);
    EXPECT_EQ(panel.SoundLook(), 1);
    QTest::mouseMove(&panel, play);
    EXPECT_EQ(panel.PlayLook(), 1);
    EXPECT_TRUE(panel.IsKnobHot());
    Release(play);
}

TEST_F(PanelPlay, KnobIsNormalAfterADragUntilThePointerMoves)
{
    panel.SetVolume(50);
    const QPoint knob = KnobCentre();
    Press(knob);
    EXPECT_TRUE(panel.IsKnobHot());
    Release(knob);
    EXPECT_FALSE(panel.IsKnobHot());
    MoveTo(knob + QPoint(0, 1));
    EXPECT_TRUE(panel.IsKnobHot());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&panel, &leave);
    EXPECT_FALSE(panel.IsKnobHot());
}

TEST_F(PanelPlay, SettersChangeTheLookButNeverNotify)
{
    panel.SetVolume(70);
    panel.SetPaused(true);
    panel.SetMuted(true);
    EXPECT_FALSE(panel.IsSoundOn());
    EXPECT_FALSE(panel.IsPlaying());
    panel.EnablePlayButton();
    panel.SetMuted(false);
    EXPECT_EQ(panel.Volume(), 70);
    EXPECT_TRUE(panel.IsSoundOn());
    QCoreApplication::processEvents();
    EXPECT_TRUE(host.received.empty());
}

TEST_F(PanelPlay, ALookChangeRepaintsOnlyThatElement)
{
    QCoreApplication::processEvents();
    PaintRecorder paints(&panel);

    MoveTo(panel.PlayRect().center());
    QCoreApplication::processEvents();
    EXPECT_EQ(paints.rects, QList<QRect>{panel.PlayRect()});

    paints.rects.clear();
    panel.SetVolume(40);
    QCoreApplication::processEvents();
    EXPECT_EQ(paints.rects, QList<QRect>{panel.TrackRect()});

    // A release repaints at once, before the event loop runs again.
    QTest::mousePress(&panel, Qt::LeftButton, {}, panel.PlayRect().center());
    QCoreApplication::processEvents();
    paints.rects.clear();
    Release(panel.PlayRect().center());
    EXPECT_EQ(paints.rects, QList<QRect>{panel.PlayRect()});
}

TEST_F(PanelPlay, APaintWiderThanTheChangedElementDrawsEverything)
{
    // Changes made while no paint happens (hidden, before the first show) pile up; the
    // next full paint must show every element, not just the last one changed.
    const QImage before = panel.grab().toImage();
    panel.SetMuted(true);
    panel.SetMuted(false);
    const QImage afterSelective = panel.grab().toImage();
    EXPECT_EQ(afterSelective, before);

    panel.SetVolume(60);
    const QImage withVolume = panel.grab().toImage();
    EXPECT_NE(withVolume, before);
    EXPECT_EQ(panel.grab().toImage(), withVolume);
}

TEST(PanelPlaySkin, MissingOrOversizedImagesAreHarmless)
{
    TempDir dir;
    const WorkingDirectory cwd(dir.Path());
    {
        PanelHost host;
        CPanelPlay panel;
        panel.Create(&host); // no Skin folder at all
        panel.resize(400, 69);
        (void)panel.grab();
        panel.SetVolume(100);
        EXPECT_EQ(panel.KnobOffset(), 79);
        QTest::mousePress(&panel, Qt::LeftButton, {}, {panel.TrackRect().left() + 39, 33});
        ASSERT_EQ(host.received.size(), 1u);
        EXPECT_EQ(host.received[0].amount, 39 * 100 / 79);
    }
    {
        // A knob image wider than the track must not leave the volume arithmetic
        // without a range.
        QDir().mkdir(dir.FilePath(QStringLiteral("Skin")));
        QImage wide(120, 9, QImage::Format_ARGB32);
        wide.fill(Qt::white);
        wide.save(dir.FilePath(QStringLiteral("Skin/Sound1.png")), "PNG");
        PanelHost host;
        CPanelPlay panel;
        panel.Create(&host);
        panel.resize(400, 69);
        const QRect track = panel.TrackRect();
        QTest::mousePress(&panel, Qt::LeftButton, {}, {track.right(), 33});
        QTest::mouseMove(&panel, {track.left() - 10, 33});
        QTest::mouseRelease(&panel, Qt::LeftButton, {}, {track.left() - 10, 33});
        ASSERT_EQ(host.received.size(), 2u);
        for (const Sent& m : host.received) {
            EXPECT_GE(m.amount, 0);
            EXPECT_LE(m.amount, 100);
        }
        (void)panel.grab();
    }
}

TEST_F(PanelPlay, AssistiveTechnologyNamesReadsAndWorksTheThreeControls)
{
    panel.SetAccessibleNames({"Controls", "Play", "Stop", "Mute", "Volume"});
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(&panel);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->role(), QAccessible::ToolBar);
    EXPECT_EQ(bar->text(QAccessible::Name), "Controls");
    ASSERT_EQ(bar->childCount(), 3);
    QAccessibleInterface* play = bar->child(0);
    QAccessibleInterface* mute = bar->child(1);
    QAccessibleInterface* volume = bar->child(2);
    EXPECT_EQ(play->text(QAccessible::Name), "Play");
    EXPECT_TRUE(play->state().disabled);
    EXPECT_EQ(play->parent(), bar);
    EXPECT_EQ(bar->indexOfChild(volume), 2);
    EXPECT_EQ(play->rect(), QRect(panel.mapToGlobal(panel.PlayRect().topLeft()), panel.PlayRect().size()));

    play->actionInterface()->doAction(QAccessibleActionInterface::pressAction()); // disabled: nothing
    panel.EnablePlayButton();
    EXPECT_EQ(play->text(QAccessible::Name), "Stop"); // the name follows play and stop
    play->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(play->text(QAccessible::Name), "Play");
    mute->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(mute->state().checked);

    panel.SetVolume(50);
    EXPECT_EQ(volume->valueInterface()->currentValue().toInt(), 50);
    volume->valueInterface()->setCurrentValue(250); // clamped
    volume->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
    EXPECT_EQ(panel.Volume(), 95);

    // As from the mouse: the previous state in wParam, the volume in lParam.
    const Sent expected[] = {{SentPlayStop, 1, 0}, {SentMute, 1, 0}, {SentVolume, 0, 100}, {SentVolume, 0, 95}};
    ASSERT_EQ(host.received.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(host.received[i].kind, expected[i].kind) << i;
        EXPECT_EQ(host.received[i].flag, expected[i].flag) << i;
        EXPECT_EQ(host.received[i].amount, expected[i].amount) << i;
    }
}

TEST_F(PanelPlay, TheKeyboardWalksAndWorksTheControlsWithAVisibleFocus)
{
    panel.SetVolume(50);
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    panel.clearFocus();
    panel.setFocus(Qt::TabFocusReason);
    EXPECT_EQ(panel.FocusedPart(), CPanelPlay::SoundPart); // play is off before a channel
    const QImage before = panel.grab().toImage();
    QTest::keyClick(&panel, Qt::Key_Space);
    EXPECT_FALSE(panel.IsSoundOn());
    QTest::keyClick(&panel, Qt::Key_Tab);
    EXPECT_EQ(panel.FocusedPart(), CPanelPlay::VolumePart);
    EXPECT_NE(panel.grab().toImage(), before); // the frame moved
    QTest::keyClick(&panel, Qt::Key_Right);
    QTest::keyClick(&panel, Qt::Key_Home);
    EXPECT_EQ(panel.Volume(), 0);
    QTest::keyClick(&panel, Qt::Key_Space); // not the volume's key
    EXPECT_FALSE(panel.IsSoundOn());
    const Sent expected[] = {{SentMute, 1, 0}, {SentVolume, 0, 55}, {SentVolume, 0, 0}};
    ASSERT_EQ(host.received.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(host.received[i].amount, expected[i].amount) << i;
    panel.EnablePlayButton();
    QTest::keyClick(&panel, Qt::Key_Backtab);
    QTest::keyClick(&panel, Qt::Key_Backtab);
    EXPECT_EQ(panel.FocusedPart(), CPanelPlay::PlayPart);
}
