// Films: a jump inside the zoo's film over local HTTP, ours against the command line's
// through its JSON IPC, and what keeping places costs the window.
//   bench_films [jumps]
// A jump counts as done once the position has moved on past its target: the new picture
// plays. Then the longest stall of the event loop while places are saved every 10 ms with
// 100,000 kept, and the time until 100,000 places are read at start against none, with the
// event loop's longest stall meanwhile, and how long the list of films to continue takes.

#include "CWMPWindow.h"
#include "FilmPlaces.h"
#include "MpvPlayer.h"
#include "StallWatch.h"
#include "ZooServer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
constexpr int kWaitMs = 30000;
constexpr int kPlaces = 100000;
constexpr int kSaveEveryMs = 10;
constexpr int kSavingMs = 3000;
constexpr double kTargets[] = {40, 200, 90, 250, 10, 150};
constexpr double kPastTarget = 0.2; // seconds: the position moved on from the target

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double SinceMs(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// The command line, driven through its IPC socket.
class CommandLine
{
public:
    bool Start(const QString& url, const QString& socketPath)
    {
        mpv.start(QStringLiteral("mpv"), {QStringLiteral("--no-config"), QStringLiteral("--vo=null"),
                                          QStringLiteral("--ao=null"), QStringLiteral("--input-ipc-server=") + socketPath, url});
        if (!WaitFor([&] {
                socket.connectToServer(socketPath);
                return socket.waitForConnected(100);
            }, kWaitMs))
            return false;
        Send({QStringLiteral("observe_property"), 1, QStringLiteral("time-pos")});
        return WaitFor([&] { return Read() > 1; }, kWaitMs);
    }
    ~CommandLine()
    {
        mpv.kill();
        mpv.waitForFinished();
    }
    void Send(const QJsonArray& command)
    {
        socket.write(QJsonDocument(QJsonObject{{QStringLiteral("command"), command}}).toJson(QJsonDocument::Compact) + '\n');
        socket.flush();
    }
    // The newest time-pos it told of.
    double Read()
    {
        socket.waitForReadyRead(5);
        while (socket.canReadLine()) {
            const QJsonObject event = QJsonDocument::fromJson(socket.readLine()).object();
            if (event.value(QStringLiteral("name")) == QLatin1String("time-pos") && event.contains(QStringLiteral("data")))
                position = event.value(QStringLiteral("data")).toDouble();
        }
        return position;
    }

private:
    QProcess mpv;
    QLocalSocket socket;
    double position = 0;
};

bool MeasureJumps(CWMPWindow& player, CommandLine& cli, int jumps, double* ours, double* theirs)
{
    std::vector<double> own;
    std::vector<double> other;
    for (int i = 0; i < jumps; ++i) {
        const double target = kTargets[i % std::size(kTargets)];
        QElapsedTimer timer;
        timer.start();
        EngineFilm& film = player.Engine().Film();
        film.SeekTo(target);
        double arrived = -1;
        if (!WaitFor([&] {
                if (arrived < 0 && std::abs(film.Position() - target) < 2)
                    arrived = film.Position();
                return arrived >= 0 && film.Position() > arrived + kPastTarget;
            }, kWaitMs))
            return false;
        own.push_back(SinceMs(timer));
        timer.restart();
        cli.Send({QStringLiteral("seek"), target, QStringLiteral("absolute+keyframes")});
        double landed = -1;
        if (!WaitFor([&] {
                const double at = cli.Read();
                if (landed < 0 && std::abs(at - target) < 2)
                    landed = at;
                return landed >= 0 && at > landed + kPastTarget;
            }, kWaitMs))
            return false;
        other.push_back(SinceMs(timer));
    }
    *ours = Median(own);
    *theirs = Median(other);
    return true;
}

FilmPlace PlaceNumber(int n)
{
    FilmPlace place;
    place.request = RequestFor(QStringLiteral("http://films.example/movie/%1.mkv").arg(n));
    place.request.name = QStringLiteral("Film %1").arg(n);
    place.request.playlist = QStringLiteral("Bench");
    place.key = FilmKeyOf(place.request);
    place.position = n % 7000;
    place.length = 7200;
    place.updated = n;
    return place;
}

// Milliseconds until the places of path are read, and the longest stall meanwhile.
double OpenMs(const QString& path, qint64* stall)
{
    StallWatch watch;
    FilmPlaces places;
    QElapsedTimer timer;
    timer.start();
    places.Open(path);
    WaitFor([&] { return places.IsLoaded(); }, kWaitMs);
    *stall = watch.LongestGapMs();
    return SinceMs(timer);
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int jumps = argc > 1 ? std::max(1, atoi(argv[1])) : 12;
    QTemporaryDir folder;

    ZooServer server;
    if (!server.Start()) {
        std::fprintf(stderr, "the stream zoo did not start\n");
        return 1;
    }
    const QString url = server.Url(QStringLiteral("/zoo/film.mp4"));
    QWidget window;
    CWMPWindow player;
    CommandLine cli;
    if (!player.Create(&window) || !cli.Start(url, folder.filePath(QStringLiteral("mpv.socket")))) {
        std::fprintf(stderr, "a player did not start\n");
        return 1;
    }
    player.PlayURL(RequestFor(url));
    double ours = 0;
    double theirs = 0;
    if (!WaitFor([&] { return player.Engine().Film().IsFilm(); }, kWaitMs) || !MeasureJumps(player, cli, jumps, &ours, &theirs)) {
        std::fprintf(stderr, "a jump did not land\n");
        return 1;
    }
    std::printf("jump in a film, median of %d: player %.0f ms, command line %.0f ms, ratio %.2f\n", jumps, ours, theirs,
                ours / theirs);
    player.Close();

    const QString empty = folder.filePath(QStringLiteral("empty/Films.sqlite"));
    const QString full = folder.filePath(QStringLiteral("full/Films.sqlite"));
    {
        FilmPlaces places;
        places.Open(full);
        WaitFor([&] { return places.IsLoaded(); }, kWaitMs);
        for (int n = 0; n < kPlaces; ++n)
            places.Keep(PlaceNumber(n), true);
        places.Flush();
    }
    qint64 emptyStall = 0;
    qint64 fullStall = 0;
    const double emptyMs = OpenMs(empty, &emptyStall);
    const double fullMs = OpenMs(full, &fullStall);
    std::printf("places read at start: none %.0f ms (stall %lld ms), %d places %.0f ms (stall %lld ms)\n", emptyMs,
                static_cast<long long>(emptyStall), kPlaces, fullMs, static_cast<long long>(fullStall));

    FilmPlaces places;
    places.Open(full);
    WaitFor([&] { return places.IsLoaded(); }, kWaitMs);
    qint64 idleStall = 0;
    {
        StallWatch watch;
        WaitFor([] { return false; }, kSavingMs);
        idleStall = watch.LongestGapMs();
    }
    StallWatch watch;
    QElapsedTimer saving;
    saving.start();
    for (int n = 0; saving.elapsed() < kSavingMs; ++n) {
        places.Keep(PlaceNumber(n % kPlaces), true);
        WaitFor([] { return false; }, kSaveEveryMs);
    }
    QElapsedTimer listing;
    listing.start();
    const std::size_t listed = places.ToContinue().size();
    std::printf("the films to continue, %zu of %d places: %.1f ms\n", listed, kPlaces, SinceMs(listing));
    std::printf("saving a place every %d ms with %d kept: longest stall %lld ms (idle %lld ms)\n", kSaveEveryMs, kPlaces,
                static_cast<long long>(watch.LongestGapMs()), static_cast<long long>(idleStall));
    places.Flush();
    return 0;
}
