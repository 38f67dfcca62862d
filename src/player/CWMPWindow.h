#pragma once
// The media player host: owns the engine and the video surface (inside a host widget
// that the main window places), and reports play states, keys and mouse presses through
// its CWMPEventDispatch.

#include "CWMPEventDispatch.h"
#include "MpvPlayer.h"
#include "VideoCaption.h"
#include "VideoOutput.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

class QKeyEvent;
class VideoRenderer;

class CWMPWindow : public QObject
{
    Q_OBJECT

public:
    explicit CWMPWindow(const PlayerTimings& timings = {});
    ~CWMPWindow() override;

    // Makes the engine and the host widget, a child of parent. False when libmpv cannot be
    // created.
    bool Create(QWidget* parent);
    void Close();

    // Opens and plays the request's address, sending its headers and no other's.
    // A film may start at a point, in seconds.
    void PlayURL(const ChannelRequest& request, double startAt = -1);
    // Plays the last request again after a stop.
    void Play();
    void Stop();
    void SetVolume(int volume);
    void SetMute(bool muted);
    void SetOriginalSize(bool original);
    void SetFullScreen(bool on);
    bool IsFullScreen() const;

    // In place of the picture, in the window and in full screen alike: the channel's name
    // and why it does not play. HideCard gives the picture back.
    void ShowCard(const QString& name, const QString& reason, const QColor& colour);
    void HideCard();
    // A new channel's name over the picture for a moment.
    void ShowTitle(const QString& name, const QColor& colour);
    // Centred on the picture while no card is shown; empty: none.
    void SetHint(const QString& text, const QColor& colour) { caption.SetHint(text, colour); }
    // The channel number being typed, in a corner of the picture; empty: none.
    void SetNumber(const QString& text, const QColor& colour) { caption.SetNumber(text, colour); }
    const VideoCaption& Caption() const { return caption; }
    VideoCaption& Caption() { return caption; }

    PlayStateCode PlayState() const { return engine.State(); }
    int BufferingProgress() const { return engine.BufferingProgress(); }
    CWMPEventDispatch& Events() { return dispatch; }
    QWidget* VideoWidget() const { return host; }
    mpv_handle* EngineHandle() const { return engine.Handle(); }
    // Pause, rewind, recording and tracks of the playing channel.
    MpvPlayer& Engine() { return engine; }
    // Frames the render API has asked to draw; 0 without video output.
    int FrameUpdates() const;

    // The volume applied whenever the sound is on, 0..100.
    int storedVolume = 100;

signals:
    // A drawing of the picture has reached the screen.
    void PictureShown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* MakeSurface(VideoOutput output);
    void FitSurface();
    bool HandleKey(const QKeyEvent& key);
    void RepaintPicture();

    MpvPlayer engine;
    CWMPEventDispatch dispatch;
    QPointer<QWidget> host;
    QPointer<QWidget> surface;
    QPointer<QObject> drawing; // what draws the picture, when there is video
    VideoRenderer* renderer = nullptr; // drawing's, while it lives
    QPointer<QWidget> fullScreenWindow;
    VideoCaption caption{[this] { RepaintPicture(); }};
};
