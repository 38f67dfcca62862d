#include "StallWatch.h"

#include <algorithm>

namespace {
constexpr int kBeatMs = 5;
}

StallWatch::StallWatch()
{
    clock.start();
    QObject::connect(&timer, &QTimer::timeout, [this] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    timer.start(kBeatMs);
}
