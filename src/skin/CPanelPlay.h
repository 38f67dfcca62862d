#pragma once
// The skinned strip at the bottom of the main window: a play/pause button, a sound
// button and a volume slider. It keeps only the look of its controls and reports every
// user action by its signals, at once.
// Assistive technology sees the three controls as parts of the panel.

#include "AccessibleParts.h"
#include "CxImage.h"
#include "PlayState.h"

#include <QRect>
#include <QWidget>

#include <array>

class CMemDC;

// The names assistive technology gives the panel and its controls.
struct PlayPanelNames
{
    QString panel, play, stop, mute, volume;
};

// What the play button asks for, the new sound state and the slider's volume, 0..100.
enum class PlayStop { Play, Stop };

class CPanelPlay : public QWidget, public AccessibleParts
{
    Q_OBJECT

public:
    enum Part { PlayPart, SoundPart, VolumePart, PartCountOf };

    CPanelPlay();
    ~CPanelPlay() override;

    bool Create(QWidget* parent);

    void SetVolume(int volume);
    void SetPaused(bool paused);
    void SetMuted(bool muted);
    void EnablePlayButton();
    void SetAccessibleNames(const PlayPanelNames& names);
    // The play button offers to stop a channel on its way or playing, to play any other.
    void ShowPlayState(const PlayState& state);

    bool IsPlayEnabled() const { return playEnabled; }
    bool IsPlaying() const { return playing; }
    bool IsSoundOn() const { return soundOn; }
    int Volume() const { return volume; }

    // The skin image number each button shows: 1 normal, 2 pressed, 3 hot.
    int PlayLook() const { return Look(playHot, playPressed); }
    int SoundLook() const { return Look(soundHot, soundPressed); }
    bool IsKnobHot() const { return knobHot; }
    bool IsDragging() const { return dragging; }
    // Distance from the track's left edge to the knob's centre column.
    int KnobOffset() const { return knobOffset; }

    QRect PlayRect() const { return playRect; }
    QRect SoundRect() const { return soundRect; }
    QRect TrackRect() const { return trackRect; }
    QRect KnobRect() const { return knobRect; }

    QAccessible::Role AccessibleRole() const override { return QAccessible::ToolBar; }
    int PartCount() const override { return PartCountOf; }
    AccessiblePart Part(int index) const override;
    void PressPart(int index) override;
    void SetPartValue(int index, int value) override;
    int FocusedPart() const override { return hasFocus() ? focusPart : -1; }

signals:
    void PlayStopRequested(PlayStop request);
    void MuteRequested(bool muted);
    void VolumeRequested(int volume);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum Image {
        PanelFill, PanelLeft, PanelRight,
        Play1, Play2, Play3, Pause1, Pause2, Pause3,
        MuteOn1, MuteOn2, MuteOn3, MuteOff1, MuteOff2, MuteOff3,
        SoundFill1, SoundFill2, Sound1, Sound2,
        ImageCount
    };
    enum Selector { All = 0, PlayButton = 1, SoundButton = 2, Slider = 3 };

    static int Look(bool hot, bool pressed) { return !hot ? 1 : pressed ? 2 : 3; }

    void Layout(int width);
    void MoveKnob();
    void DragTo(int x);
    // The clicks' effects: the look changes at once and the parent hears of it.
    void TogglePlay();
    void ToggleSound();
    // A new volume from the panel itself, reported to the parent when it changed.
    void ChangeVolume(int newVolume);
    // Sets a hot flag; on a change repaints just that element, later.
    void SetHot(bool& hot, bool value, Selector selector, const QRect& rect);
    QRect SelectorRect(int which) const;
    QRect PartRect(int part) const;
    void FocusPart(int part);
    // The keys a focused part takes before the window's accelerators.
    bool IsPartKey(const QKeyEvent& key) const;

    void DrawBackground(QPainter& p) const;
    void DrawPlayButton(QPainter& p) const;
    void DrawSoundButton(QPainter& p) const;
    void DrawSlider(QPainter& p, const CMemDC& dc) const;
    void DrawFocus(QPainter& p) const;

    std::array<CxImage, ImageCount> images;
    PlayPanelNames names;

    bool playHot = false;
    bool playPressed = false;
    bool soundHot = false;
    bool soundPressed = false;
    bool knobHot = false;
    bool dragging = false;
    bool playEnabled = false;
    bool soundOn = true;
    bool playing = false;
    int selector = All;
    int focusPart = PlayPart;
    int knobOffset = 0;
    int volume = 0;
    int panelWidth = 100;
    int knobLeftHalf = 0;
    int knobRightHalf = 0;
    int playHalf = 0;
    int leftCapWidth = 0;
    int rightCapWidth = 0;

    QRect playRect{0, 0, 46, 50};
    QRect soundRect{0, 0, 25, 25};
    QRect trackRect{0, 0, 79, 9};
    QRect knobRect{0, 0, 11, 9};
};
