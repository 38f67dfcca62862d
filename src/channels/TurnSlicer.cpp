#include "TurnSlicer.h"

#include <QElapsedTimer>

#include <utility>

namespace {
// A slice ends after this long, the clock read every so many items.
constexpr qint64 kSliceMs = 4;
constexpr std::size_t kItemsPerClockRead = 512;
// Lists up to this long are done at once, so that they are there right away.
constexpr std::size_t kItemsAtOnce = 5000;
} // namespace

TurnSlicer::TurnSlicer(QObject* parent) : QObject(parent)
{
    next.setSingleShot(true);
    next.setInterval(0);
    connect(&next, &QTimer::timeout, this, &TurnSlicer::Step);
}

void TurnSlicer::Start(std::size_t count, Item newItem, std::function<void()> newDone)
{
    item = std::move(newItem);
    done = std::move(newDone);
    next.stop(); // a slice of what was under way must not run on what replaces it
    if (count <= kItemsAtOnce)
        Step();
    else
        next.start(); // not in the turn that changed the list, which has its own work
}

void TurnSlicer::Step()
{
    QElapsedTimer slice;
    slice.start();
    for (std::size_t made = 1; item(); ++made) {
        if (made % kItemsPerClockRead == 0 && slice.hasExpired(kSliceMs)) {
            next.start();
            return;
        }
    }
    item = nullptr;
    const std::function<void()> finished = std::exchange(done, nullptr); // which may start again
    finished();
}
