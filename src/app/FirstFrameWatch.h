#pragma once
// Tells once when every one of some windows has been exposed, that is, had its first frame
// painted; at the latest after a deadline, since a window covered by others may never be.

#include <QBasicTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class FirstFrameWatch : public QObject
{
public:
    static constexpr int kDeadlineMs = 2000;

    // Starts watching the windows of the widgets (once; later calls are ignored).
    void Watch(const QList<QWidget*>& widgets, std::function<void()> onShown);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void Finish();

    QList<QPointer<QWidget>> pending;
    std::function<void()> shown;
    QBasicTimer deadline;
    bool started = false;
};
