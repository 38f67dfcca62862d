#include "PlaybackProbe.h"

#include "StreamProbe.h"

#include <mpv/client.h>

PlaybackProbe::PlaybackProbe(const QUrl& address, std::chrono::milliseconds timeout, QObject* parent)
    : QObject(parent), address(address), timeout(timeout)
{
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, this, [this] {
        timedOut = true;
        Finish(QStringLiteral("no frame within %1 s").arg(this->timeout.count() / 1000.0));
    });
}

PlaybackProbe::~PlaybackProbe()
{
    Destroy();
}

void PlaybackProbe::Start()
{
    clock.start();
    player = mpv_create();
    if (!player) {
        Finish(QStringLiteral("the player could not be created"));
        return;
    }
    const QByteArray seconds = QByteArray::number(timeout.count() / 1000.0);
    const std::pair<const char*, QByteArray> options[] = {
        {"vo", "null"},
        {"ao", "null"},
        {"terminal", "no"},
        {"config", "no"},
        {"load-scripts", "no"},
        {"ytdl", "no"},
        {"audio-display", "no"},
        {"user-agent", StreamProbe::kUserAgent},
        {"network-timeout", seconds},
    };
    for (const auto& [name, value] : options)
        mpv_set_option_string(player, name, value.constData());
    if (mpv_initialize(player) < 0) {
        Finish(QStringLiteral("the player could not be started"));
        return;
    }
    mpv_set_wakeup_callback(player, &PlaybackProbe::Wakeup, this);
    const QByteArray url = address.toEncoded();
    const char* command[] = {"loadfile", url.constData(), nullptr};
    if (mpv_command(player, command) < 0) {
        Finish(QStringLiteral("the player refused the address"));
        return;
    }
    deadline.start(timeout);
}

// Called on one of the player's threads: only queue the work for ours.
void PlaybackProbe::Wakeup(void* context)
{
    auto* self = static_cast<PlaybackProbe*>(context);
    QMetaObject::invokeMethod(self, &PlaybackProbe::DrainEvents, Qt::QueuedConnection);
}

void PlaybackProbe::DrainEvents()
{
    while (player && !done) {
        const mpv_event* event = mpv_wait_event(player, 0);
        if (event->event_id == MPV_EVENT_NONE)
            return;
        if (event->event_id == MPV_EVENT_PLAYBACK_RESTART) {
            firstFrameMs = clock.elapsed();
            Finish(QString());
        } else if (event->event_id == MPV_EVENT_END_FILE) {
            const auto* end = static_cast<const mpv_event_end_file*>(event->data);
            Finish(end->reason == MPV_END_FILE_REASON_ERROR
                       ? QString::fromUtf8(mpv_error_string(end->error))
                       : QStringLiteral("playback ended before the first frame"));
        }
    }
}

void PlaybackProbe::Finish(const QString& why)
{
    if (done)
        return;
    done = true;
    deadline.stop();
    error = why;
    Destroy();
    emit Finished();
}

void PlaybackProbe::Destroy()
{
    if (!player)
        return;
    mpv_set_wakeup_callback(player, nullptr, nullptr);
    mpv_terminate_destroy(player);
    player = nullptr;
}
