#include "PlaylistLibrary.h"

#include "AccessTexts.h"
#include "GuidanceTexts.h"
#include "PlaylistCache.h"
#include "PlaylistDownload.h"
#include "PlaylistFileRead.h"
#include "PlaylistTexts.h"
#include "PlaylistsFile.h"
#include "PreferencesTexts.h"
#include "ReaderTexts.h"
#include "PluralForms.h"
#include "SourceNames.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include "LogCategories.h"
#include <utility>

namespace {

constexpr int kDownloadTimeoutMs = 30 * 1000; // until the viewer prefers another
constexpr int kMsPerSecond = 1000;
constexpr int kReadTimeoutMs = 10 * 1000;
constexpr qint64 kStaleAfterSeconds = 24 * 60 * 60;
// A load's share of the whole taken by fetching; its parse is the rest.
constexpr int kFetchedPermille = 900;

// A downloaded playlist keeps playing from its cached copy when a refresh fails; a local
// one is read again from its file at the next start.
bool HoldsCopy(const Playlist& playlist)
{
    return IsWebAddress(playlist.source) && !playlist.unavailable && playlist.lastRefresh.isValid();
}

} // namespace

PlaylistLibrary::PlaylistLibrary(const LanguageStrings& texts, QObject* parent)
    : QObject(parent), texts(texts), downloadTimeoutMs(kDownloadTimeoutMs), readTimeoutMs(kReadTimeoutMs)
{
    progressTick.setSingleShot(true);
    connect(&progressTick, &QTimer::timeout, this, [this] {
        for (const QString& source : std::exchange(progressed, {}))
            emit Progress(source);
    });
}

PlaylistLibrary::~PlaylistLibrary()
{
    for (auto& [source, download] : downloads)
        delete download.first;
    for (auto& [source, read] : reads)
        delete read.first;
}

void PlaylistLibrary::Load(const QString& dataFolder)
{
    filePath = dataFolder + QStringLiteral("/Korvanta/Playlists.xml");
    playlists.clear();
    modified = false;
    if (LoadPlaylists(filePath, playlists) == PlaylistsFileState::Damaged)
        qCWarning(lcPlaylists, "%s is damaged; no own playlists were loaded.", qPrintable(filePath));

    for (const Playlist& playlist : playlists)
        Read(playlist.source, Request::Start);
    emit Loaded();
}

bool PlaylistLibrary::Save(QString* reason)
{
    if (!modified || filePath.isEmpty())
        return true;
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    modified = !SavePlaylists(filePath, playlists, reason);
    return !modified;
}

void PlaylistLibrary::Add(const QString& source)
{
    if (IsOtherScheme(source.trimmed())) {
        emit Failed(source, Text(PlaylistUnsupportedSource));
        return;
    }
    const QString normal = NormalSource(source);
    if (normal.size() > kMaxSourceLength) {
        emit Failed(NameForSource(normal), Text(PlaylistSourceTooLong));
        return;
    }
    const int existing = IndexOf(normal);
    if (existing >= 0)
        Refresh(existing);
    else if (IsWebAddress(normal))
        Download(normal, Request::Add);
    else
        Read(normal, Request::Add);
}

void PlaylistLibrary::Rename(int index, const QString& name)
{
    const QString trimmed = name.trimmed();
    if (index < 0 || index >= static_cast<int>(playlists.size()) || trimmed.isEmpty() || playlists[index].account)
        return;
    playlists[index].name = trimmed;
    Changes();
}

void PlaylistLibrary::Refresh(int index)
{
    if (index < 0 || index >= static_cast<int>(playlists.size()) || playlists[index].account)
        return;
    const Playlist& playlist = playlists[index];
    if (IsWebAddress(playlist.source))
        Download(playlist.source, Request::Refresh);
    else
        Read(playlist.source, Request::Refresh);
}

void PlaylistLibrary::Remove(int index)
{
    if (index < 0 || index >= static_cast<int>(playlists.size()) || playlists[index].account)
        return;
    const QString source = playlists[index].source;
    Cancel(source); // while its node still stands for it
    playlists.erase(playlists.begin() + index);
    RemoveCachedPlaylist(source);
    Changes();
}

void PlaylistLibrary::Parse(const QString& source, const QByteArray& bytes, const QUrl& location,
                            std::function<void(Outcome)> done, bool cache)
{
    Loading& load = Begin(source);
    ++load.parses;
    ++parses;
    load.progress.permille = kFetchedPermille;
    emit Progress(source);
    parsing.Run(
        [source, bytes, location, cache, cancelled = load.cancelled] {
            M3uResult result = M3uParser(location).Parse(bytes);
            // A cancelled refresh leaves the copy as it was.
            if (cache && result.problem == M3uProblem::None && !*cancelled)
                WriteCachedPlaylist(source, bytes);
            return result;
        },
        [this, source, cancelled = load.cancelled, done = std::move(done)](M3uResult result) {
            --parses;
            if (*cancelled)
                return;
            --loads.at(source).parses;
            Settle(source);
            done(OutcomeOf(std::move(result)));
        });
}

PlaylistLibrary::Outcome PlaylistLibrary::OutcomeOf(M3uResult result) const
{
    Outcome outcome{std::move(result.channels), {}, result.skippedLines, std::move(result.firstRefused),
                    std::move(result.guideAddresses), {}, result.refusedLines};
    const QString line = QString::number(result.problemLine);
    switch (result.problem) {
    case M3uProblem::None: break;
    case M3uProblem::Empty: outcome.error = Text(PlaylistEmpty); break;
    case M3uProblem::WebPage: outcome.error = Text(PlaylistIsWebPage); break;
    case M3uProblem::NotText: outcome.error = Text(PlaylistNotText); break;
    case M3uProblem::NoChannels: outcome.error = Text(PlaylistNoChannels); break;
    case M3uProblem::TooLarge: outcome.error = Text(PlaylistTooLarge); break;
    case M3uProblem::LineTooLong: outcome.error = Text(PlaylistLineTooLong).arg(line); break;
    case M3uProblem::TooManyEntries: outcome.error = Text(PlaylistTooManyEntries).arg(line); break;
    }
    return outcome;
}

// A local playlist, or the cached copy of a downloaded one.
void PlaylistLibrary::Read(const QString& source, Request request)
{
    auto& entry = reads[source];
    entry.second = std::max(entry.second, request); // the viewer hears of one already under way
    if (entry.first)
        return;
    Begin(source);
    const QString path = IsWebAddress(source) ? PlaylistCachePath(source) : source;
    entry.first = new PlaylistFileRead(path, M3uParser::kMaxBytes, readTimeoutMs);
    connect(entry.first, &PlaylistFileRead::Finished, this,
            [this, source](const FileReadResult& result) { FileRead(source, result); });
}

void PlaylistLibrary::FileRead(const QString& source, const FileReadResult& result)
{
    const auto entry = reads.find(source);
    const Request request = entry->second.second;
    entry->second.first->deleteLater();
    reads.erase(entry);
    const int index = IndexOf(source);
    if (IsWebAddress(source)) {
        if (index >= 0)
            CopyRead(index, result);
        Settle(source);
        return;
    }
    const auto use = [this, source, request](Outcome outcome) {
        if (request != Request::Start)
            Apply(source, NameForSource(source), std::move(outcome), request);
        else if (const int index = IndexOf(source); index >= 0)
            StartRead(index, std::move(outcome));
    };
    if (result.error != FileReadError::None) {
        Settle(source);
        use(Outcome{{}, FileErrorText(result.error), 0, {}, {}, {}});
    } else {
        Parse(source, result.bytes, QUrl::fromLocalFile(source), use);
    }
}

// The copy is read against where its download ended, so relative entries resolve as they
// did then. A copy that cannot be used, or is old, is downloaded again.
void PlaylistLibrary::CopyRead(int index, const FileReadResult& result)
{
    const Playlist& playlist = playlists[static_cast<std::size_t>(index)];
    const QString source = playlist.source;
    const QUrl location(playlist.location.isEmpty() ? source : playlist.location);
    const auto use = [this, source](Outcome outcome) {
        const int index = IndexOf(source);
        if (index < 0)
            return; // removed meanwhile
        const bool usable = outcome.error.isEmpty();
        if (!usable)
            outcome.error = Text(PlaylistCopyUnreadable);
        const QDateTime lastRefresh = playlists[static_cast<std::size_t>(index)].lastRefresh;
        const bool stale = !lastRefresh.isValid() || lastRefresh.secsTo(QDateTime::currentDateTimeUtc()) > kStaleAfterSeconds;
        StartRead(index, std::move(outcome));
        if (!usable || stale)
            Download(source, Request::Background);
    };
    if (result.error == FileReadError::None)
        Parse(source, result.bytes, location, use);
    else
        use(Outcome{{}, Text(PlaylistCopyUnreadable), 0, {}, {}, {}});
}

// A playlist whose channels cannot be read at start stays in the list, unavailable.
void PlaylistLibrary::StartRead(int index, Outcome outcome)
{
    Playlist& playlist = playlists[static_cast<std::size_t>(index)];
    if (!playlist.channels.empty())
        return; // the viewer's add or refresh got there first
    playlist.unavailable = !outcome.error.isEmpty();
    if (playlist.unavailable) {
        modified = modified || playlist.lastError != outcome.error;
        playlist.lastError = outcome.error;
    } else {
        playlist.channels = std::move(outcome.channels);
        playlist.guideAddresses = std::move(outcome.guideAddresses);
    }
    emit Changed();
}

void PlaylistLibrary::DropRead(const QString& source)
{
    const auto read = reads.find(source);
    if (read != reads.end()) {
        delete read->second.first;
        reads.erase(read);
        Settle(source);
    }
}

void PlaylistLibrary::Cancel(const QString& source)
{
    const auto load = loads.find(source);
    if (load == loads.end())
        return;
    *load->second.cancelled = true;
    loads.erase(load);
    if (const auto read = reads.find(source); read != reads.end()) {
        delete read->second.first;
        reads.erase(read);
    }
    if (const auto download = downloads.find(source); download != downloads.end()) {
        delete download->second.first;
        downloads.erase(download);
    }
    emit Progress(source);
}

std::optional<PlaylistProgress> PlaylistLibrary::ProgressOf(const QString& source) const
{
    const auto load = loads.find(source);
    if (load == loads.end())
        return std::nullopt;
    return load->second.progress;
}

QStringList PlaylistLibrary::Adding() const
{
    std::map<quint64, QString> adding; // by when they began
    for (const auto& [source, load] : loads) {
        if (IndexOf(source) < 0)
            adding.emplace(load.order, source);
    }
    QStringList sources;
    for (const auto& [order, source] : adding)
        sources.append(source);
    return sources;
}

PlaylistLibrary::Loading& PlaylistLibrary::Begin(const QString& source)
{
    auto [load, begun] = loads.try_emplace(source, Loading{loadsBegun, std::make_shared<std::atomic<bool>>(false), {}, 0});
    if (begun) {
        ++loadsBegun;
        emit Progress(source);
    }
    return load->second;
}

void PlaylistLibrary::Downloading(const QString& source, qint64 received, qint64 declared)
{
    PlaylistProgress& progress = loads.at(source).progress;
    progress.receivedBytes = received;
    progress.permille = declared > 0 ? static_cast<int>(std::min<qint64>(received * kFetchedPermille / declared, kFetchedPermille))
                                     : PlaylistProgress::kUnknown;
    progressed.insert(source);
    if (!progressTick.isActive())
        progressTick.start(kProgressEveryMs);
}

void PlaylistLibrary::Settle(const QString& source)
{
    const auto load = loads.find(source);
    if (load == loads.end() || load->second.parses > 0 || reads.count(source) != 0 || downloads.count(source) != 0)
        return;
    loads.erase(load);
    emit Progress(source);
}

void PlaylistLibrary::Download(const QString& source, Request request)
{
    auto& entry = downloads[source];
    entry.second = std::max(entry.second, request); // the viewer hears of one already under way
    if (entry.first)
        return;
    Begin(source);
    entry.first = new PlaylistDownload(network, QUrl(source), downloadTimeoutMs, M3uParser::kMaxBytes, nullptr, userAgent);
    connect(entry.first, &PlaylistDownload::Progress, this,
            [this, source](qint64 received, qint64 declared) { Downloading(source, received, declared); });
    connect(entry.first, &PlaylistDownload::Finished, this,
            [this, source](const QByteArray& body, const QUrl& finalUrl, DownloadError error, const QString& detail) {
                Downloaded(source, body, finalUrl, error, detail);
            });
}

void PlaylistLibrary::Downloaded(const QString& source, const QByteArray& body, const QUrl& finalUrl,
                                 DownloadError error, const QString& detail)
{
    const auto entry = downloads.find(source);
    const Request request = entry->second.second;
    entry->second.first->deleteLater();
    downloads.erase(entry);

    if (error != DownloadError::None) {
        Settle(source);
        Apply(source, NameForSource(source), Outcome{{}, DownloadErrorText(error, detail), 0, {}, {}, {}}, request);
        return;
    }
    Parse(
        source, body, finalUrl,
        [this, source, finalUrl, request](Outcome outcome) {
            if (outcome.error.isEmpty() && finalUrl != QUrl(source))
                outcome.location = finalUrl.toString(QUrl::FullyEncoded);
            Apply(source, NameForSource(source), std::move(outcome), request);
        },
        true);
}

// A failed load keeps the channels already imported and only records why.
void PlaylistLibrary::Apply(const QString& source, const QString& name, Outcome outcome, Request request)
{
    int index = IndexOf(source);
    if (index < 0 && request != Request::Add)
        return; // removed meanwhile
    if (!outcome.error.isEmpty()) {
        if (index >= 0) {
            playlists[index].lastError = outcome.error;
            playlists[index].lastFailure = QDateTime::currentDateTimeUtc();
            Changes();
        }
        if (request == Request::Background)
            return;
        if (index >= 0 && HoldsCopy(playlists[index]))
            emit CopyKept(playlists[index].name, CopyKeptText(playlists[index], outcome.error));
        else
            emit Failed(index >= 0 ? playlists[index].name : name, outcome.error);
        return;
    }
    const bool added = index < 0;
    if (added) { // before the accounts
        const auto at = std::find_if(playlists.begin(), playlists.end(), [](const Playlist& p) { return p.account; });
        index = static_cast<int>(at - playlists.begin());
        playlists.insert(at, Playlist{name, source, {}, {}, {}, {}, {}, false, {}});
    }
    DropRead(source); // a copy still being read at start would bring older channels
    Playlist& playlist = playlists[index];
    playlist.channels = std::move(outcome.channels);
    playlist.guideAddresses = std::move(outcome.guideAddresses);
    playlist.unavailable = false;
    playlist.location = outcome.location;
    playlist.lastError.clear();
    playlist.lastRefresh = QDateTime::currentDateTimeUtc();
    Changes();
    if (request != Request::Background)
        emit Imported(playlist.name, outcome.skippedLines, ImportReport(playlist.name, outcome));
    if (added)
        emit Added(playlists[index].name);
}

void PlaylistLibrary::Changes()
{
    modified = true;
    Save();
    emit Changed();
}

int PlaylistLibrary::IndexOf(const QString& source) const
{
    for (size_t i = 0; i < playlists.size(); ++i) {
        if (playlists[i].source == source && !playlists[i].account)
            return static_cast<int>(i);
    }
    return -1;
}

QString PlaylistLibrary::Text(int index) const
{
    return texts.Text(LanguageGroup::Playlists, index);
}

void PlaylistLibrary::SetViewerTimeout(int seconds)
{
    viewerTimeoutSeconds = seconds;
    downloadTimeoutMs = seconds * kMsPerSecond;
}

QString PlaylistLibrary::TimedOutText() const
{
    if (viewerTimeoutSeconds == 0 || viewerTimeoutSeconds * kMsPerSecond == kDownloadTimeoutMs)
        return Text(PlaylistTimedOut);
    return texts.Text(Preferences, PrefPlaylistTimedOut).arg(viewerTimeoutSeconds);
}

QString PlaylistLibrary::DownloadErrorText(DownloadError error, const QString& detail) const
{
    switch (error) {
    case DownloadError::HttpStatus: return Text(PlaylistHttpError).arg(detail);
    case DownloadError::TimedOut: return TimedOutText();
    case DownloadError::TooLarge: return Text(PlaylistTooLarge);
    case DownloadError::Damaged: return Text(PlaylistDamagedDownload);
    case DownloadError::Refused: return texts.Text(Guidance, GuidanceConnectionRefused);
    case DownloadError::HostNotFound: return texts.Text(Guidance, GuidanceHostNotFound);
    case DownloadError::SecureConnection: return texts.Text(Guidance, GuidanceSecureConnectionFailed);
    case DownloadError::Closed: return texts.Text(Guidance, GuidanceConnectionClosed);
    case DownloadError::Unreachable: return texts.Text(Guidance, GuidanceNetworkUnreachable);
    default: return Text(PlaylistDownloadFailed).arg(detail);
    }
}

QString PlaylistLibrary::CopyKeptText(const Playlist& playlist, const QString& reason) const
{
    const QLocale locale(texts[Locale].value(LocaleCode));
    const QString copyDate = locale.toString(playlist.lastRefresh.toLocalTime(), QLocale::ShortFormat);
    return (texts.Text(Guidance, GuidanceRefreshFailed) + QLatin1Char('\n') + texts.Text(Guidance, GuidanceCopyInUse))
        .arg(playlist.name, reason, copyDate);
}

QString PlaylistLibrary::FileErrorText(FileReadError error) const
{
    switch (error) {
    case FileReadError::NotRegular: return Text(PlaylistNotRegularFile);
    case FileReadError::TooLarge: return Text(PlaylistTooLarge);
    case FileReadError::TimedOut: return Text(PlaylistReadTimedOut);
    default: return Text(PlaylistCannotOpen);
    }
}

// The Playlists group names the refusals up to the header's; later ones have groups of
// their own.
QString PlaylistLibrary::RefusalText(M3uRefusal refusal) const
{
    if (refusal == M3uRefusal::NotAnAddress)
        return texts.Text(Readers, ReadersLineNotAnAddress);
    return Text(PlaylistLineHasNul + static_cast<int>(refusal));
}

QString PlaylistLibrary::ImportReport(const QString& name, const Outcome& outcome) const
{
    if (outcome.skippedLines == 0)
        return {};
    // Without a locale code the forms are read as English ones.
    const QString localeCode = texts[Locale].value(LocaleCode);
    // Lines refused are not called unreadable: they were read, and are not allowed.
    const QString counted = outcome.refusedLines == 0 ? Text(PlaylistLinesSkipped)
                            : outcome.refusedLines == outcome.skippedLines ? texts.Text(Readers, ReadersLinesRefused)
                                                                           : texts.Text(Readers, ReadersLinesSkipped);
    QString report = PluralForm(counted, localeCode, outcome.skippedLines).arg(name, QString::number(outcome.skippedLines));
    for (const M3uRefusedLine& refused : outcome.firstRefused)
        report += QLatin1Char('\n') + Text(PlaylistRefusedLine).arg(QString::number(refused.line), RefusalText(refused.refusal));
    return report;
}

int PlaylistLibrary::AccountIndexOf(const QString& source) const
{
    const auto found = std::find_if(playlists.begin(), playlists.end(),
                                    [&](const Playlist& p) { return p.account && p.source == source; });
    return found != playlists.end() ? static_cast<int>(found - playlists.begin()) : -1;
}

void PlaylistLibrary::PutAccount(const std::shared_ptr<Playlist>& account)
{
    Put(account);
    emit Changed();
}

void PlaylistLibrary::PutAccountCopy(const std::shared_ptr<Playlist>& account)
{
    Put(account);
    emit Loaded();
}

void PlaylistLibrary::Put(const std::shared_ptr<Playlist>& account)
{
    const int index = AccountIndexOf(account->source);
    if (index >= 0)
        playlists[static_cast<std::size_t>(index)] = std::move(*account);
    else
        playlists.push_back(std::move(*account));
}

void PlaylistLibrary::AddToAccount(const QString& source, const std::shared_ptr<std::vector<PlaylistChannel>>& entries)
{
    const int index = AccountIndexOf(source);
    if (index < 0)
        return;
    auto& channels = playlists[static_cast<std::size_t>(index)].channels;
    channels.insert(channels.end(), std::make_move_iterator(entries->begin()), std::make_move_iterator(entries->end()));
    emit Changed();
}

void PlaylistLibrary::ChangeAccount(const QString& source, const QString& name, const QString& lastError,
                                    const QDateTime& lastRefresh)
{
    const int index = AccountIndexOf(source);
    if (index < 0)
        return;
    Playlist& account = playlists[static_cast<std::size_t>(index)];
    account.name = name;
    account.lastError = lastError;
    account.lastRefresh = lastRefresh;
    emit Changed();
}

void PlaylistLibrary::RemoveAccount(const QString& source)
{
    const int index = AccountIndexOf(source);
    if (index < 0)
        return;
    playlists.erase(playlists.begin() + index);
    emit Changed();
}
