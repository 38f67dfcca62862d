#pragma once
// How long a piece of work takes, in milliseconds of the monotonic clock.

#include <QElapsedTimer>

template <class Work>
double Milliseconds(Work work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}
