#pragma once
// A heartbeat on the event loop: the longest time, while it lives, that the thread went
// without serving a short timer, i.e. how long the window would have been frozen.

#include <QElapsedTimer>
#include <QTimer>

class StallWatch
{
public:
    StallWatch();
    qint64 LongestGapMs() const { return longest; }

private:
    QTimer timer;
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
};
