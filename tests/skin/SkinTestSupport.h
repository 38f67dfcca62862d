#pragma once
// Helpers shared by the panel tests: a parent window that records the messages the
// panels send it, and a recorder of the rectangles a widget is asked to paint.

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
            received.push_back({msg->message, msg->wParam, msg->lParam});
            if (onMessage)
                onMessage();
            return true;
        }
        return QWidget::event(e);
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
