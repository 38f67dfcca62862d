#pragma once
// Work that may take long, run on a thread of its own, its result handed to the owner on
// the owner's thread by a queued call. The pieces run one at a time in the order given.
// Destroying this waits for the piece under way and drops every result not yet handed
// over, so a result never reaches an owner that is gone.

#include <QObject>
#include <QThreadPool>

#include <atomic>
#include <memory>
#include <utility>

class BackgroundWork
{
public:
    explicit BackgroundWork(QObject* owner) : owner(owner) { pool.setMaxThreadCount(1); }
    ~BackgroundWork()
    {
        *alive = false;
        pool.clear();
        pool.waitForDone();
    }
    BackgroundWork(const BackgroundWork&) = delete;
    BackgroundWork& operator=(const BackgroundWork&) = delete;

    // work() runs on the worker; done(result) on the owner's thread.
    template <class Work, class Done>
    void Run(Work work, Done done)
    {
        pool.start([owner = owner, alive = alive, work = std::move(work), done = std::move(done)]() mutable {
            if (!*alive)
                return;
            auto result = work();
            QMetaObject::invokeMethod(
                owner,
                [alive, done = std::move(done), result = std::move(result)]() mutable {
                    if (*alive)
                        done(std::move(result));
                },
                Qt::QueuedConnection);
        });
    }

    // Waits until every piece given so far has run (its result may still be on its way).
    void WaitForDone() { pool.waitForDone(); }

private:
    QObject* owner;
    std::shared_ptr<std::atomic<bool>> alive = std::make_shared<std::atomic<bool>>(true);
    QThreadPool pool;
};
