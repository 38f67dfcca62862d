#pragma once
// Helpers shared by the panel tests: a parent window that records what the panels it
// holds ask for (to stop or mute as flag 1, the volume as amount, a menu's command as
// flag), and a recorder of the rectangles a widget is asked to paint.

#include "CPanelMenu.h"
#include "CPanelPlay.h"

#include <QChildEvent>
#include <QEvent>
#include <QList>
#include <QPaintEvent>
#include <QRect>
#include <QWidget>

#include <functional>
#include <vector>

enum SentKind { SentPlayStop, SentMute, SentVolume, SentCommand };

struct Sent
{
    SentKind kind;
    int flag;
    int amount;
};

class PanelHost : public QWidget
{
public:
    std::vector<Sent> received;
    std::function<void()> onSent; // runs inside the signal, like the real receiver

protected:
    // A panel made with this window as its parent is heard from then on.
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::ChildAdded)
            Listen(static_cast<QChildEvent*>(e)->child());
        return QWidget::event(e);
    }

private:
    void Listen(QObject* child)
    {
        if (auto* play = qobject_cast<CPanelPlay*>(child)) {
            connect(play, &CPanelPlay::PlayStopRequested, this,
                    [this](PlayStop request) { Record({SentPlayStop, request == PlayStop::Stop ? 1 : 0, 0}); });
            connect(play, &CPanelPlay::MuteRequested, this, [this](bool muted) { Record({SentMute, muted ? 1 : 0, 0}); });
            connect(play, &CPanelPlay::VolumeRequested, this, [this](int volume) { Record({SentVolume, 0, volume}); });
        } else if (auto* menu = qobject_cast<CPanelMenu*>(child)) {
            connect(menu, &CPanelMenu::CommandChosen, this, [this](int command) { Record({SentCommand, command, 0}); });
        }
    }

    void Record(const Sent& sent)
    {
        received.push_back(sent);
        if (onSent)
            onSent();
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
