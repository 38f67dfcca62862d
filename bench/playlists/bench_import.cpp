// Times the import of generated playlists of the shape public IPTV lists have (long names,
// group titles, logos, ids, user agents on some entries), from a local file, and the heap
// the imported channels hold. Baseline: reading the same file and splitting its lines, in
// the same run.

#include "M3uParser.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <malloc.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

constexpr int kGroups = 40;
constexpr int kAgentEvery = 7; // one entry in seven carries its own user agent
constexpr double kMiB = 1024.0 * 1024.0;

QByteArray GeneratedPlaylist(int entries)
{
    QByteArray text = "#EXTM3U x-tvg-url=\"https://guide.example/epg.xml.gz\"\n";
    text.reserve(entries * 330);
    for (int i = 0; i < entries; ++i) {
        const QByteArray n = QByteArray::number(i);
        text += "#EXTINF:-1 tvg-id=\"Channel" + n + ".example\" tvg-name=\"Channel " + n
                + "\" tvg-logo=\"https://images.example/logos/channel-" + n + "-square-large.png\" group-title=\"Group "
                + QByteArray::number(i % kGroups) + "\",Regional Channel Number " + n + " (1080p) [Geo-blocked]\n";
        if (i % kAgentEvery == 0)
            text += "#EXTVLCOPT:http-user-agent=Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36\n";
        text += "https://live.streams.example/hls/channel" + n + "/index_1080p.m3u8?token=abcdef" + n + "\n";
    }
    return text;
}

double MedianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[runs / 2];
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

size_t HeapInUse()
{
    malloc_trim(0);
    return mallinfo2().uordblks;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    for (const auto& [entries, runs] : {std::pair{10000, 15}, std::pair{200000, 3}}) {
        const QString path = dir.filePath(QStringLiteral("list.m3u"));
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(GeneratedPlaylist(entries));
        file.close();
        const QUrl location = QUrl::fromLocalFile(path);

        size_t lines = 0;
        const double baselineMs = MedianMs(runs, [&] { lines += ReadAll(path).split('\n').size(); });
        size_t channels = 0;
        const double parseMs = MedianMs(runs, [&] { channels += M3uParser(location).Parse(ReadAll(path)).channels.size(); });

        const size_t before = HeapInUse();
        M3uResult kept = M3uParser(location).Parse(ReadAll(path));
        const size_t after = HeapInUse();

        out << entries << " entries (" << QString::number(file.size() / kMiB, 'f', 1) << " MiB): parse "
            << QString::number(parseMs, 'f', 1) << " ms, read and split lines " << QString::number(baselineMs, 'f', 1)
            << " ms, ratio " << QString::number(parseMs / baselineMs, 'f', 2) << "; channels hold "
            << QString::number((after - before) / kMiB, 'f', 1) << " MiB (" << kept.channels.size() << " channels; "
            << channels / runs << " per run, " << lines / runs << " lines)\n";
    }
    return 0;
}
