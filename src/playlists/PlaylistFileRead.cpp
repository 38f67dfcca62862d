#include "PlaylistFileRead.h"

#include <mutex>
#include <thread>

struct PlaylistFileRead::Link
{
    std::mutex mutex;
    PlaylistFileRead* receiver; // null once the result is no longer wanted
};

PlaylistFileRead::PlaylistFileRead(const QString& path, qint64 maxBytes, int timeoutMs, QObject* parent)
    : QObject(parent), link(std::make_shared<Link>())
{
    link->receiver = this;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, [this] { Finish({{}, FileReadError::TimedOut}); });
    timer.start(timeoutMs);
    std::thread([link = link, path, maxBytes] {
        FileReadResult result = ReadRegularFile(path, maxBytes);
        const std::lock_guard<std::mutex> lock(link->mutex);
        if (PlaylistFileRead* receiver = link->receiver) {
            // Queued: a receiver deleted before delivery takes the call with it.
            QMetaObject::invokeMethod(receiver, [receiver, result = std::move(result)] { receiver->Finish(result); },
                                      Qt::QueuedConnection);
        }
    }).detach();
}

PlaylistFileRead::~PlaylistFileRead()
{
    const std::lock_guard<std::mutex> lock(link->mutex);
    link->receiver = nullptr;
}

void PlaylistFileRead::Finish(const FileReadResult& result)
{
    {
        const std::lock_guard<std::mutex> lock(link->mutex);
        if (link->receiver == nullptr)
            return; // finished already
        link->receiver = nullptr;
    }
    timer.stop();
    emit Finished(result);
}
