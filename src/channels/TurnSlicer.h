#pragma once
// Work over a long list spread a slice of a few milliseconds per turn of the event loop, so
// that 200,000 channels never hold the window for long; a short list is done at once.

#include <QObject>
#include <QTimer>

#include <functional>

class TurnSlicer : public QObject
{
    Q_OBJECT

public:
    using Item = std::function<bool()>; // does the next item; false when none was left

    explicit TurnSlicer(QObject* parent = nullptr);

    // Runs item over a list of count items, then done; what was under way is dropped.
    void Start(std::size_t count, Item item, std::function<void()> done);
    bool IsBusy() const { return done != nullptr; }

private:
    void Step();

    Item item;
    std::function<void()> done;
    QTimer next;
};
