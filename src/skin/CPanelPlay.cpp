#include "CPanelPlay.h"

#include "CMemDC.h"
#include "SkinColours.h"
#include "MoveKeys.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>

#include <algorithm>

namespace {

constexpr int kPlayTop = 11;
constexpr int kSoundTop = 23;
constexpr int kSoundInset = 133;
constexpr int kSliderTop = 30;
constexpr int kSliderInset = 105;
constexpr int kCentreThreshold = 340;
constexpr int kNarrowOffset = 170;
constexpr int kVolumeKeyStep = 5;
constexpr int kFocusMargin = 2;

const char* const kImageFiles[] = {
    "Skin/PanelFill.png", "Skin/PanelLeft.png", "Skin/PanelRight.png",
    "Skin/Play1.png", "Skin/Play2.png", "Skin/Play3.png",
    "Skin/Pause1.png", "Skin/Pause2.png", "Skin/Pause3.png",
    "Skin/MuteOn1.png", "Skin/MuteOn2.png", "Skin/MuteOn3.png",
    "Skin/MuteOff1.png", "Skin/MuteOff2.png", "Skin/MuteOff3.png",
    "Skin/SoundFill1.png", "Skin/SoundFill2.png", "Skin/Sound1.png", "Skin/Sound2.png",
};

} // namespace

CPanelPlay::CPanelPlay()
{
    static_assert(std::size(kImageFiles) == ImageCount);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // Reached with Tab: each control in turn, marked with a focus frame.
    setFocusPolicy(Qt::TabFocus);
}

CPanelPlay::~CPanelPlay() = default;

bool CPanelPlay::Create(QWidget* parent)
{
    setParent(parent);
    setGeometry(0, 0, 200, 200);
    for (int i = 0; i < ImageCount; ++i)
        images[i].Load(QString::fromLatin1(kImageFiles[i]));

    // A knob as wide as the track or wider would leave it no room to travel and make
    // the volume arithmetic divide by zero; such an image is measured as one pixel
    // narrower than the track.
    const int knobWidth = std::min<int>(images[Sound1].GetWidth(), trackRect.width() - 1);
    knobLeftHalf = knobWidth / 2;
    knobRightHalf = knobWidth / 2 + knobWidth % 2;
    playHalf = static_cast<int>(images[Play1].GetWidth() / 2);
    leftCapWidth = static_cast<int>(images[PanelLeft].GetWidth());
    rightCapWidth = static_cast<int>(images[PanelRight].GetWidth());
    knobOffset = knobLeftHalf;

    // The window is sized on creation, before anyone shows it.
    Layout(width());
    show();
    return true;
}

void CPanelPlay::SetVolume(int value)
{
    // Out-of-range values (a hand-edited settings file) would put the knob off the
    // track, or overflow the arithmetic below.
    volume = std::clamp(value, 0, 100);
    knobOffset = knobLeftHalf
        + (trackRect.width() - knobRightHalf - knobLeftHalf) * volume / 100;
    MoveKnob();
    selector = Slider;
    update(trackRect);
    NotifyValue(this, VolumePart, volume);
}

void CPanelPlay::SetPaused(bool paused)
{
    const bool wasPlaying = playing;
    playing = !paused;
    selector = PlayButton;
    update(playRect);
    if (playing != wasPlaying)
        Notify(this, PlayPart, QAccessible::NameChanged);
}

void CPanelPlay::SetMuted(bool muted)
{
    soundOn = !muted;
    selector = SoundButton;
    update(soundRect);
    QAccessible::State changed;
    changed.checked = true;
    NotifyState(this, SoundPart, changed);
}

void CPanelPlay::EnablePlayButton()
{
    const bool wasEnabled = playEnabled;
    SetPaused(false);
    playEnabled = true;
    if (!wasEnabled) {
        QAccessible::State changed;
        changed.disabled = true;
        NotifyState(this, PlayPart, changed);
    }
}

void CPanelPlay::SetAccessibleNames(const PlayPanelNames& newNames)
{
    names = newNames;
    setAccessibleName(names.panel);
    for (int part = 0; part < PartCountOf; ++part)
        Notify(this, part, QAccessible::NameChanged);
}

AccessiblePart CPanelPlay::Part(int index) const
{
    AccessiblePart part;
    part.state.focusable = true;
    part.state.focused = hasFocus() && index == focusPart;
    switch (index) {
    case PlayPart:
        part.role = QAccessible::Button;
        part.name = playing ? names.stop : names.play;
        part.rect = playRect;
        part.state.disabled = !playEnabled;
        break;
    case SoundPart:
        // A check box: screen readers announce whether it is on, which a button's
        // checked state does not get through to all of them.
        part.role = QAccessible::CheckBox;
        part.name = names.mute;
        part.rect = soundRect;
        part.state.checkable = true;
        part.state.checked = !soundOn;
        break;
    case VolumePart:
        part.role = QAccessible::Slider;
        part.name = names.volume;
        part.rect = trackRect;
        part.value = volume;
        break;
    default:
        break;
    }
    return part;
}

void CPanelPlay::PressPart(int index)
{
    if (index == PlayPart && playEnabled)
        TogglePlay();
    else if (index == SoundPart)
        ToggleSound();
}

void CPanelPlay::SetPartValue(int index, int value)
{
    if (index != VolumePart)
        return;
    const int before = volume;
    SetVolume(value);
    if (volume != before)
        emit VolumeRequested(volume);
}

void CPanelPlay::TogglePlay()
{
    const bool wasPlaying = playing;
    SetPaused(wasPlaying);
    repaint(playRect);
    emit PlayStopRequested(wasPlaying ? PlayStop::Stop : PlayStop::Play);
}

void CPanelPlay::ToggleSound()
{
    const bool wasOn = soundOn;
    SetMuted(wasOn);
    repaint(soundRect);
    emit MuteRequested(wasOn);
}

void CPanelPlay::ShowPlayState(const PlayState& state)
{
    if (playing != state.Underway())
        SetPaused(!state.Underway());
}

void CPanelPlay::Layout(int cx)
{
    panelWidth = cx;
    const int playLeft = cx >= kCentreThreshold ? cx / 2 - playHalf : cx - playHalf - kNarrowOffset;
    playRect.moveTopLeft(QPoint(playLeft, kPlayTop));
    soundRect.moveTopLeft(QPoint(cx - kSoundInset, kSoundTop));
    trackRect.moveTopLeft(QPoint(cx - kSliderInset, kSliderTop));
    MoveKnob();
}

void CPanelPlay::MoveKnob()
{
    knobRect.moveTopLeft(QPoint(panelWidth - kSliderInset + knobOffset - knobLeftHalf, kSliderTop));
}

void CPanelPlay::DragTo(int x)
{
    knobOffset = std::clamp(x - (panelWidth - kSliderInset), knobLeftHalf,
                            trackRect.width() - knobRightHalf);
    MoveKnob();
    knobHot = true;
    dragging = true;
    selector = Slider;
    update(trackRect);

    const int span = trackRect.width() - knobLeftHalf - knobRightHalf;
    ChangeVolume((knobOffset - knobLeftHalf) * 100 / span);
}

void CPanelPlay::ChangeVolume(int newVolume)
{
    if (newVolume == volume)
        return;
    volume = newVolume;
    NotifyValue(this, VolumePart, volume);
    emit VolumeRequested(volume);
}

void CPanelPlay::SetHot(bool& hot, bool value, Selector which, const QRect& rect)
{
    if (hot == value)
        return;
    hot = value;
    selector = which;
    update(rect);
}

QRect CPanelPlay::SelectorRect(int which) const
{
    switch (which) {
    case PlayButton: return playRect;
    case SoundButton: return soundRect;
    case Slider: return trackRect;
    default: return rect();
    }
}

void CPanelPlay::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Layout(width());
}

void CPanelPlay::paintEvent(QPaintEvent* event)
{
    CMemDC dc(this, event->region());
    QPainter& p = dc.Painter();
    // The selector names the one element whose look changed; a paint reaching beyond
    // it (first show, resize, several changes merged into one paint) draws everything,
    // or the rest of the area would stay bare background colour.
    int what = selector;
    if (what != All && !SelectorRect(what).contains(dc.Rect()))
        what = All;
    // The background goes under every element, since the button images are translucent.
    DrawBackground(p);
    if (what == All || what == PlayButton)
        DrawPlayButton(p);
    if (what == All || what == SoundButton)
        DrawSoundButton(p);
    if (what == All || what == Slider)
        DrawSlider(p, dc);
    DrawFocus(p);
    selector = All;
}

void CPanelPlay::DrawFocus(QPainter& p) const
{
    if (!hasFocus())
        return;
    QPen pen(kSkinTextColour);
    pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(PartRect(focusPart).adjusted(-kFocusMargin, -kFocusMargin, kFocusMargin - 1, kFocusMargin - 1));
}

QRect CPanelPlay::PartRect(int part) const
{
    switch (part) {
    case PlayPart: return playRect;
    case SoundPart: return soundRect;
    default: return trackRect;
    }
}

void CPanelPlay::FocusPart(int part)
{
    focusPart = part;
    selector = All;
    update();
    if (hasFocus())
        Notify(this, part, QAccessible::Focus);
}

void CPanelPlay::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (event->reason() == Qt::BacktabFocusReason)
        FocusPart(VolumePart);
    else if (event->reason() == Qt::TabFocusReason)
        FocusPart(playEnabled ? PlayPart : SoundPart);
    else
        FocusPart(focusPart);
}

void CPanelPlay::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    selector = All;
    update();
}

bool CPanelPlay::focusNextPrevChild(bool next)
{
    int part = focusPart + (next ? 1 : -1);
    if (part == PlayPart && !playEnabled)
        part = next ? SoundPart : -1;
    if (part < 0 || part >= PartCountOf)
        return QWidget::focusNextPrevChild(next);
    FocusPart(part);
    return true;
}

bool CPanelPlay::IsPartKey(const QKeyEvent& key) const
{
    if (key.modifiers() & ~Qt::KeypadModifier)
        return false;
    if (IsMoveKey(key))
        return focusPart == VolumePart;
    switch (key.key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return focusPart != VolumePart;
    default:
        return false;
    }
}

bool CPanelPlay::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && IsPartKey(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void CPanelPlay::keyPressEvent(QKeyEvent* event)
{
    if (!IsPartKey(*event)) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        SetPartValue(VolumePart, volume - kVolumeKeyStep);
        break;
    case Qt::Key_Right:
    case Qt::Key_Up:
        SetPartValue(VolumePart, volume + kVolumeKeyStep);
        break;
    case Qt::Key_Home:
        SetPartValue(VolumePart, 0);
        break;
    case Qt::Key_End:
        SetPartValue(VolumePart, kMaximumValue);
        break;
    default:
        PressPart(focusPart);
        break;
    }
}

void CPanelPlay::DrawBackground(QPainter& p) const
{
    const int w = width();
    images[PanelLeft].Draw(p, 0, 0);
    images[PanelFill].Draw(p, leftCapWidth, 0, w - leftCapWidth - rightCapWidth, -1);
    images[PanelRight].Draw(p, w - rightCapWidth, 0);
}

void CPanelPlay::DrawPlayButton(QPainter& p) const
{
    const int first = playing ? Pause1 : Play1;
    images[first + PlayLook() - 1].Draw(p, playRect.left(), playRect.top());
}

void CPanelPlay::DrawSoundButton(QPainter& p) const
{
    const int first = soundOn ? MuteOn1 : MuteOff1;
    images[first + SoundLook() - 1].Draw(p, soundRect);
}

void CPanelPlay::DrawSlider(QPainter& p, const CMemDC& dc) const
{
    images[SoundFill1].Draw(p, trackRect);
    const QRect filled(trackRect.left(), trackRect.top(), knobOffset, trackRect.height());
    const QRect clip = dc.LPtoDP(filled);
    images[SoundFill2].Draw(p, trackRect, &clip);
    images[knobHot ? Sound2 : Sound1].Draw(p, knobRect);
}

void CPanelPlay::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    SetHot(playHot, playRect.contains(pos) && !soundPressed && !dragging, PlayButton, playRect);
    SetHot(soundHot, soundRect.contains(pos) && !playPressed && !dragging, SoundButton, soundRect);
    SetHot(knobHot, knobRect.contains(pos) && !playPressed && !soundPressed, Slider, knobRect);
    if (dragging)
        DragTo(pos.x());
    QWidget::mouseMoveEvent(event);
}

void CPanelPlay::leaveEvent(QEvent* event)
{
    SetHot(playHot, false, PlayButton, playRect);
    SetHot(soundHot, false, SoundButton, soundRect);
    SetHot(knobHot, false, Slider, knobRect);
    QWidget::leaveEvent(event);
}

void CPanelPlay::mousePressEvent(QMouseEvent* event)
{
    // Qt grabs the mouse for this widget until the release.
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        if (playRect.contains(pos)) {
            playPressed = true;
            selector = PlayButton;
            update(playRect);
        } else if (soundRect.contains(pos)) {
            soundPressed = true;
            selector = SoundButton;
            update(soundRect);
        } else if (trackRect.contains(pos)) {
            DragTo(pos.x());
        }
    }
    QWidget::mousePressEvent(event);
}

void CPanelPlay::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (playPressed) {
        playPressed = false;
        if (playEnabled && playRect.contains(pos)) {
            TogglePlay();
        } else {
            selector = PlayButton;
            repaint(playRect);
        }
    }
    if (soundPressed) {
        soundPressed = false;
        if (soundRect.contains(pos)) {
            ToggleSound();
        } else {
            selector = SoundButton;
            repaint(soundRect);
        }
    }
    if (dragging) {
        dragging = false;
        knobHot = false;
        selector = Slider;
        repaint(knobRect);
    }
    QWidget::mouseReleaseEvent(event);
}
