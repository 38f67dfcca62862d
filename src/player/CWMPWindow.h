#pragma once
// The media player host: owns the engine and the video surface (inside a host widget
// that the main window places), and reports play states, keys and mouse presses through
// CWMPEventDispatch to the window given to Create.

#include "CWMPEventDispatch.h"
#include "MpvPlayer.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QKeyEvent;
class QWidget;
class VideoRenderer;

class CWMPWindow : public QObject
{
public:
    explicit CWMPWindow(const PlayerTimings& timings = {});
    ~CWMPWindow() override;

    // Makes the engine and the host widget (a child of parent, which also receives the
    // UM_PLAYER_EVENT messages). False when libmpv cannot be created.
    bool Create(QWidget* parent);
    void Close();

    // Opens and plays url, sending headers with its requests and with no other's.
    void PlayURL(const QString& url, const StreamHeaders& headers = {});
    void Play();
    void Stop();
    void SetVolume(int volume);
    void SetMute(bool muted);
    void SetOriginalSize(bool original);
    void SetFullScreen(bool on);
    bool IsFullScreen() const;

    int PlayState() const { return engine.State(); }
    int BufferingProgress() const { return engine.BufferingProgress(); }
    // Why the channel is unavailable (play state 10); None otherwise or when unknown.
    UnavailableReason Unavailable() const { return engine.Reason(); }
    QWidget* VideoWidget() const { return host; }
    mpv_handle* EngineHandle() const { return engine.Handle(); }
    // Frames the render API has asked to draw; 0 without video output.
    int FrameUpdates() const;

    // The volume applied whenever the sound is on, 0..100.
    int storedVolume = 100;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* MakeSurface(bool withVideo);
    void FitSurface();
    bool HandleKey(const QKeyEvent& key);
    void ReportPlayState(int state);

    MpvPlayer engine;
    CWMPEventDispatch dispatch;
    QPointer<QWidget> host;
    QPointer<QWidget> surface;
    QPointer<QObject> glSurface; // what draws the picture, when there is video
    VideoRenderer* renderer = nullptr; // glSurface's, while it lives
    QPointer<QWidget> fullScreenWindow;
};
