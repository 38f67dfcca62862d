// Opens one address in the player, alone in its process (FFmpeg's log, where the reasons
// come from, goes to one engine per process), and prints how it ended:
//   <first final state> <reason> <milliseconds to it> <highest buffering percentage>
// usage: zoo_probe <address> <CA file> <milliseconds to watch buffering after playing>
//        [<user agent> [<referrer>]]

#include "MpvPlayer.h"

#include <mpv/client.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <utility>

namespace {
constexpr int kGiveUpMs = 60000;
constexpr int kPollMs = 50;
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 4 || argc > 6)
        return 2;
    MpvPlayer player;
    if (!player.Create(false))
        return 1;
    mpv_set_property_string(player.Handle(), "tls-ca-file", argv[2]);
    mpv_set_property_string(player.Handle(), "ao", "null");
    const int watchMs = QByteArray(argv[3]).toInt();

    QElapsedTimer clock;
    clock.start();
    int outcome = 0;
    UnavailableReason reason = UnavailableReason::None;
    qint64 outcomeMs = -1;
    int maxProgress = 0;
    bool done = false;
    auto finish = [&] {
        if (std::exchange(done, true))
            return;
        std::printf("%d %d %lld %d\n", outcome, static_cast<int>(reason),
                    static_cast<long long>(outcomeMs), maxProgress);
        std::fflush(stdout);
        QCoreApplication::quit();
    };
    player.SetStateSink([&](const PlayState& published) {
        const int state = published.state;
        if (outcomeMs >= 0 || (state != PLAYSTATE_PLAYING && state != PLAYSTATE_READY))
            return;
        outcome = state;
        reason = published.reason;
        outcomeMs = clock.elapsed();
        if (state == PLAYSTATE_READY || watchMs == 0)
            QTimer::singleShot(0, finish);
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (player.State() == PLAYSTATE_BUFFERING)
            maxProgress = std::max(maxProgress, player.BufferingProgress());
        const bool watched = outcomeMs >= 0 && clock.elapsed() - outcomeMs >= watchMs;
        if ((outcome == PLAYSTATE_PLAYING && (maxProgress > 0 || watched)) || clock.elapsed() > kGiveUpMs)
            finish();
    });
    poll.start(kPollMs);
    ChannelRequest request;
    request.address = QString::fromLocal8Bit(argv[1]);
    if (argc >= 5)
        request.headers.userAgent = QString::fromLocal8Bit(argv[4]);
    if (argc == 6)
        request.headers.referrer = QString::fromLocal8Bit(argv[5]);
    player.Open(request);
    return QCoreApplication::exec();
}
