#pragma once
// Helpers shared by the panel tests: a parent window that records the messages the
// panels send it (the play panel's typed ones in the parameters they always had: wParam 1
// to stop or mute, the volume in lParam), and a recorder of the rectangles a widget is
// asked to paint.

#include "CPanelPlay.h"
#include "WindowMessage.h"

#include <QEvent>
#include <QList>
#include <QPaintEvent>
#include <QRect>
#include <QWidget>

#include <functional>
#include <vector>

struct SentMessage
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class MessageHost : public QWidget
{
public:
    std::vector<SentMessage> received;
    std::function<void()> onMessage; // runs inside the send, like the real handler

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == CWindowMessage::eventType()) {
            auto* msg = static_cast<CWindowMessage*>(e);
            Record({msg->message, msg->wParam, msg->lParam});
            return true;
        }
        return ReceiveMessage<PlayStopMessage>(e, [this](PlayStop request) {
                   Record({UM_PLAY_STOP, request == PlayStop::Stop ? 1u : 0u, 0});
               }) ||
               ReceiveMessage<MuteMessage>(e, [this](bool muted) { Record({UM_MUTE, muted ? 1u : 0u, 0}); }) ||
               ReceiveMessage<VolumeMessage>(e, [this](int volume) { Record({UM_VOLUME, 0, volume}); }) ||
               QWidget::event(e);
    }

private:
    void Record(const SentMessage& message)
    {
        received.push_back(message);
        if (onMessage)
            onMessage();
    }
};

class PaintRecorder : public QObject
{
public:
    explicit PaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
    QList<QRect> rects;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            rects.append(static_cast<QPaintEvent*>(e)->rect());
        return false;
    }
};
