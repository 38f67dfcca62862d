// Downloads on the thread that runs the windows: how long it goes without serving a 5 ms
// heartbeat (the window frozen), how long the download takes, what it takes from the
// network and the resident memory it adds. Cases: a gzip bomb (4 GiB of zeros, 4 MiB on
// the wire), and a generated 31 MiB playlist sent gzip-compressed and sent plain.
// Baselines, in the same run: the heartbeat over an idle event loop, and over one that
// does pieces of 2 ms of work back to back, which is what a loaded machine makes of that.

#include "M3uParser.h"
#include "PlaylistDownload.h"
#include "ResidentMemory.h"
#include "StallWatch.h"
#include "TinyHttpServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <ctime>

namespace {

constexpr int kBombMiB = 4096;
constexpr int kPlaylistEntries = 150000;
constexpr int kBaselineMs = 2000;
constexpr qint64 kWorkPieceNs = 2 * 1000 * 1000;
constexpr int kTimeoutMs = 120000;

QByteArray GeneratedPlaylist(int entries)
{
    QByteArray text = "#EXTM3U\n";
    for (int i = 0; i < entries; ++i) {
        const QByteArray n = QByteArray::number(i);
        text += "#EXTINF:-1 tvg-id=\"Channel" + n + ".example\" tvg-logo=\"https://images.example/logos/channel-" + n
                + ".png\" group-title=\"Group " + QByteArray::number(i % 40) + "\",Regional Channel " + n + "\n"
                + "https://live.streams.example/hls/channel" + n + "/index.m3u8?token=abcdef" + n + "\n";
    }
    return text;
}

qint64 ThreadCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<qint64>(now.tv_sec) * 1000 * 1000 * 1000 + now.tv_nsec;
}

struct Figures {
    qint64 longestGapMs = 0;
    qint64 elapsedMs = 0;
    qint64 receivedBytes = 0;
    long residentGrowthKiB = 0;
    DownloadError error = DownloadError::None;
};

// Runs the event loop for at most timeoutMs, until done() holds, with the heartbeat on.
template <class Done>
Figures Watch(Done done, int timeoutMs)
{
    Figures figures;
    const long before = ResidentKiB();
    long peak = before;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] { peak = std::max(peak, ResidentKiB()); });
    sampler.start(5);
    const StallWatch stalls;
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    figures.elapsedMs = clock.elapsed();
    figures.longestGapMs = stalls.LongestGapMs();
    figures.residentGrowthKiB = std::max(peak, ResidentKiB()) - before;
    return figures;
}

Figures Download(QNetworkAccessManager& network, const QString& url)
{
    PlaylistDownload download(network, QUrl(url), kTimeoutMs, M3uParser::kMaxBytes);
    bool finished = false;
    DownloadError error = DownloadError::None;
    QObject::connect(&download, &PlaylistDownload::Finished,
                     [&](const QByteArray&, const QUrl&, DownloadError reason, const QString&) {
                         finished = true;
                         error = reason;
                     });
    Figures figures = Watch([&] { return finished; }, kTimeoutMs);
    figures.receivedBytes = download.ReceivedBytes();
    figures.error = error;
    return figures;
}

const char* Outcome(DownloadError error)
{
    switch (error) {
    case DownloadError::None: return "read";
    case DownloadError::TooLarge: return "refused as too large";
    default: return "failed";
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QByteArray playlist = GeneratedPlaylist(kPlaylistEntries);
    TinyHttpServer server;
    server.responses["/bomb"] = HttpResponse("200 OK", GzipBomb(kBombMiB), "Content-Encoding: gzip\r\n");
    server.responses["/packed"] = HttpResponse("200 OK", Gzip(playlist), "Content-Encoding: gzip\r\n");
    server.responses["/plain"] = HttpResponse("200 OK", playlist);
    QNetworkAccessManager network;

    const Figures idle = Watch([] { return false; }, kBaselineMs);
    out << "idle event loop, " << idle.elapsedMs << " ms: longest gap " << idle.longestGapMs << " ms\n";
    QTimer work;
    QObject::connect(&work, &QTimer::timeout, [] {
        const qint64 until = ThreadCpuNs() + kWorkPieceNs;
        while (ThreadCpuNs() < until) {
        }
    });
    work.start(0);
    const Figures busy = Watch([] { return false; }, kBaselineMs);
    work.stop();
    out << "event loop doing 2 ms pieces of work, " << busy.elapsedMs << " ms: longest gap " << busy.longestGapMs
        << " ms\n";
    const struct {
        const char* name;
        const char* path;
    } cases[] = {{"gzip bomb", "/bomb"}, {"playlist, gzip", "/packed"}, {"playlist, plain", "/plain"}};
    for (const auto& c : cases) {
        const Figures f = Download(network, server.Url(c.path));
        out << c.name << ": " << Outcome(f.error) << " after " << f.elapsedMs << " ms, " << f.receivedBytes / 1024 << " KiB from the network, resident +"
            << f.residentGrowthKiB / 1024 << " MiB; longest gap " << f.longestGapMs << " ms ("
            << QString::number(static_cast<double>(f.longestGapMs) / std::max<qint64>(busy.longestGapMs, 1), 'f', 1)
            << " x the 2 ms pieces)\n";
        out.flush();
    }
    out << "playlist: " << playlist.size() / (1024 * 1024) << " MiB, gzip " << Gzip(playlist).size() / 1024 << " KiB\n";
    return 0;
}
