// A provider account of 20,000 live channels, 60,000 films and 8,000 series from the loopback
// panel: the time from Add to a tree that can be used, against downloading the same answers
// and parsing them with QJsonDocument alone; the window thread's longest stall meanwhile
// (a heartbeat); the resident memory the account's entries take, against the same entries as
// an M3U playlist (each measured in a process of its own); and opening a category of 5,000
// films in the tree.

#include "AccountLibrary.h"
#include "BuiltinTexts.h"
#include "PanelServer.h"
#include "PlaylistLibrary.h"
#include "PlaylistTree.h"
#include "ResidentMemory.h"
#include "SharedHeap.h"
#include "StallWatch.h"
#include "TinyHttpServer.h"
#include "ZooServer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeWidget>

#include <malloc.h>

namespace {

constexpr int kLive = 20000, kFilms = 60000, kSeries = 8000;
constexpr int kCategoryFilms = 5000;
constexpr int kSmallList = 10; // live channels, films and series each
constexpr int kTimeoutMs = 600000;
const QString kPassword = QStringLiteral("secret");
const QStringList kActions{{}, QStringLiteral("get_live_categories"), QStringLiteral("get_live_streams"),
                           QStringLiteral("get_vod_categories"), QStringLiteral("get_vod_streams"),
                           QStringLiteral("get_series_categories"), QStringLiteral("get_series")};

LanguageStrings Texts()
{
    LanguageStrings texts;
    texts[Accounts] = BuiltinTexts(Accounts);
    texts[Guidance] = BuiltinTexts(Guidance);
    texts[Playlists] = BuiltinTexts(Playlists);
    texts[Readers] = BuiltinTexts(Readers);
    return texts;
}

// The same answers, downloaded at once and parsed on this thread with nothing else done.
qint64 BaselineMs(const QString& server)
{
    QNetworkAccessManager network;
    QElapsedTimer clock;
    clock.start();
    int pending = static_cast<int>(kActions.size());
    for (const QString& action : kActions) {
        QString url = server + QStringLiteral("/player_api.php?username=bulk&password=secret");
        if (!action.isEmpty())
            url += QStringLiteral("&action=") + action;
        QNetworkReply* reply = network.get(QNetworkRequest(QUrl(url)));
        QObject::connect(reply, &QNetworkReply::finished, [reply, &pending] {
            const QJsonDocument document = QJsonDocument::fromJson(reply->readAll());
            pending -= document.isNull() ? 0 : 1;
            reply->deleteLater();
        });
    }
    WaitFor([&] { return pending == 0; }, kTimeoutMs);
    return clock.elapsed();
}

struct Added
{
    qint64 elapsedMs = 0;
    qint64 longestStallMs = 0;
    std::size_t entries = 0;
};

Added AddAccount(const QString& server, PlaylistLibrary& playlists, AccountLibrary& accounts, QTreeWidget& tree)
{
    PlaylistTree shown(&tree, {}, &playlists);
    QObject::connect(&accounts, &AccountLibrary::Built, &playlists, &PlaylistLibrary::PutAccount);
    bool usable = false;
    QObject::connect(&playlists, &PlaylistLibrary::Changed, [&] {
        tree.clear();
        shown.Append(&playlists.Playlists(), {{}, {}, {}, {}, {QStringLiteral("Live TV"), {}, {}}});
        usable = true;
    });
    const StallWatch stalls;
    QElapsedTimer clock;
    clock.start();
    accounts.Add({server, QStringLiteral("bulk"), kPassword});
    WaitFor([&] { return usable; }, kTimeoutMs);
    return {clock.elapsed(), stalls.LongestGapMs(),
            playlists.Playlists().empty() ? 0 : playlists.Playlists().back().channels.size()};
}

// The same entries as a playlist file names them.
QByteArray AsM3u(const Playlist& account)
{
    QByteArray text = "#EXTM3U\n";
    for (const PlaylistChannel& entry : account.channels)
        text += "#EXTINF:-1 tvg-id=\"" + entry.tvgId.toUtf8() + "\" tvg-chno=\"" + entry.number.toUtf8() + "\" tvg-logo=\""
                + entry.logo.toUtf8() + "\" group-title=\"" + entry.group.toUtf8() + "\"," + entry.name.toUtf8() + "\n"
                + entry.address.toUtf8() + "\n";
    return text;
}

// In a process of its own, heaps shared as the program has them: the resident memory the
// entries take, held as the program holds them, what was freed on the way given back first.
// From the account's panel through the accounts' library, or the same entries as a playlist
// downloaded through the playlists' library: both as the program gets them.
int MeasureMemory(const QString& from, bool asM3u)
{
    const LanguageStrings texts = Texts();
    PlaylistLibrary playlists(texts);
    AccountLibrary accounts(texts);
    std::shared_ptr<Playlist> built;
    QObject::connect(&accounts, &AccountLibrary::Built, [&](const std::shared_ptr<Playlist>& p) { built = p; });
    malloc_trim(0);
    const long before = ResidentKiB();
    if (asM3u) {
        playlists.Add(from);
        WaitFor([&] { return !playlists.Playlists().empty() && !playlists.Playlists().back().channels.empty(); },
                kTimeoutMs);
    } else {
        accounts.Add({from, QStringLiteral("bulk"), kPassword});
        WaitFor([&] { return built != nullptr; }, kTimeoutMs);
    }
    malloc_trim(0);
    QTextStream(stdout) << ResidentKiB() - before << "\n";
    return 0;
}

// The child's folders are its own; the window's thread stays free meanwhile, for the
// playlist served from here.
long MemoryOf(const QString& from, bool asM3u)
{
    const QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* folder : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
        environment.insert(QString::fromLatin1(folder), home.path());
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {asM3u ? QStringLiteral("--memory-m3u") : QStringLiteral("--memory-account"), from});
    WaitFor([&] { return child.state() == QProcess::NotRunning; }, kTimeoutMs);
    return child.readAllStandardOutput().trimmed().toLong();
}

qint64 OpenCategoryMs()
{
    Playlist account;
    account.account = true;
    account.source = QStringLiteral("account:bench");
    for (int k = 0; k < kCategoryFilms; ++k) {
        PlaylistChannel film;
        film.name = QStringLiteral("Film %1").arg(k);
        film.group = QStringLiteral("Drama");
        film.kind = EntryKind::Film;
        account.channels.push_back(film);
    }
    std::vector<Playlist> list{account};
    QTreeWidget tree;
    tree.show();
    PlaylistTree shown(&tree, {});
    shown.Append(&list, {{}, {}, {}, {}, {QStringLiteral("Live TV"), QStringLiteral("Films"), QStringLiteral("Series")}});
    QTreeWidgetItem* node = tree.topLevelItem(0);
    node->setExpanded(true);
    QTreeWidgetItem* films = node->child(1);
    films->setExpanded(true);
    QElapsedTimer clock;
    clock.start();
    films->child(0)->setExpanded(true);
    QCoreApplication::processEvents(); // laid out and painted
    return clock.elapsed();
}

} // namespace

int main(int argc, char** argv)
{
    ShareWorkerHeaps(); // as the program's main does, for its window's stalls as well
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1].startsWith(QStringLiteral("--memory-")))
        return MeasureMemory(args[2], args[1] == u"--memory-m3u");
    QTextStream out(stdout);
    PanelServer panel({QStringLiteral("--bulk"), QStringLiteral("%1,%2,%3").arg(kLive).arg(kFilms).arg(kSeries)});
    if (!panel.Start()) {
        out << "the panel did not start\n";
        return 1;
    }
    const qint64 baseline = BaselineMs(panel.Server());
    out << "download and parse with QJsonDocument alone: " << baseline << " ms\n";
    const LanguageStrings texts = Texts();
    PlaylistLibrary playlists(texts);
    AccountLibrary accounts(texts);
    QTreeWidget tree;
    const Added added = AddAccount(panel.Server(), playlists, accounts, tree);
    out << "Add to a usable tree of " << added.entries << " entries: " << added.elapsedMs << " ms ("
        << double(added.elapsedMs) / double(std::max<qint64>(baseline, 1)) << "x the baseline; aim <= 1.5x); "
        << "longest stall of the window's thread " << added.longestStallMs << " ms (aim <= 50 ms)\n";
    if (playlists.Playlists().empty()) {
        out << "the account was not added\n";
        return 1;
    }
    // Each way with a small list as well: what the entries take is the difference, the
    // machinery's own share (network, secret service, workers) left out on both sides.
    PanelServer small({QStringLiteral("--bulk"), QStringLiteral("%1,%1,%1").arg(kSmallList)});
    if (!small.Start()) {
        out << "the small panel did not start\n";
        return 1;
    }
    Playlist smallPlaylist = playlists.Playlists().back();
    smallPlaylist.channels.resize(3 * kSmallList);
    TinyHttpServer playlistServer; // the same entries as the panel's playlist, over HTTP as well
    playlistServer.responses["/playlist.m3u"] = HttpResponse("200 OK", AsM3u(playlists.Playlists().back()));
    playlistServer.responses["/small.m3u"] = HttpResponse("200 OK", AsM3u(smallPlaylist));
    const long account = MemoryOf(panel.Server(), false);
    const long m3u = MemoryOf(playlistServer.Url("/playlist.m3u"), true);
    const long accountEntries = account - MemoryOf(small.Server(), false);
    const long m3uEntries = m3u - MemoryOf(playlistServer.Url("/small.m3u"), true);
    out << "resident memory: the account's +" << account << " KiB (its answers read on the way), the same entries as "
        << "an M3U playlist +" << m3u << " KiB; the entries alone (less a list of " << 3 * kSmallList << ") "
        << accountEntries << " KiB against " << m3uEntries << " KiB: "
        << double(accountEntries) / double(std::max(m3uEntries, 1L)) << "x (aim <= 1.2x)\n";
    out << "opening a category of " << kCategoryFilms << " films: " << OpenCategoryMs() << " ms (aim <= 50 ms)\n";
    return 0;
}
