#include "PlaylistLibrary.h"

#include "M3uParser.h"
#include "PlaylistCache.h"
#include "PlaylistDownload.h"
#include "PlaylistTexts.h"
#include "PlaylistsFile.h"
#include "SourceNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

constexpr int kDownloadTimeoutMs = 30 * 1000;
constexpr qint64 kStaleAfterSeconds = 24 * 60 * 60;

} // namespace

PlaylistLibrary::PlaylistLibrary(const LanguageStrings& texts, QObject* parent)
    : QObject(parent), texts(texts), downloadTimeoutMs(kDownloadTimeoutMs)
{
}

PlaylistLibrary::~PlaylistLibrary()
{
    for (auto& [source, download] : downloads)
        delete download.first;
}

void PlaylistLibrary::Load(const QString& dataFolder)
{
    filePath = dataFolder + QStringLiteral("/Korvanta/Playlists.xml");
    playlists.clear();
    modified = false;
    if (LoadPlaylists(filePath, playlists) == PlaylistsFileState::Damaged)
        std::fprintf(stderr, "Korvanta: %s is damaged; no own playlists were loaded.\n", qPrintable(filePath));

    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (Playlist& playlist : playlists) {
        const bool address = IsWebAddress(playlist.source);
        Outcome outcome = address ? Parse(ReadCachedPlaylist(playlist.source), QUrl(playlist.source))
                                  : ReadLocal(playlist.source);
        if (outcome.error.isEmpty()) {
            playlist.channels = std::move(outcome.channels);
            playlist.guideAddresses = std::move(outcome.guideAddresses);
        }
        if (address && (!playlist.lastRefresh.isValid() || playlist.lastRefresh.secsTo(now) > kStaleAfterSeconds))
            Download(playlist.source, Request::Background);
    }
    if (!playlists.empty())
        emit Changed();
}

bool PlaylistLibrary::Save()
{
    if (!modified || filePath.isEmpty())
        return true;
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    modified = !SavePlaylists(filePath, playlists);
    return !modified;
}

void PlaylistLibrary::Add(const QString& source)
{
    if (IsOtherScheme(source.trimmed())) {
        emit Failed(source, Text(PlaylistUnsupportedSource));
        return;
    }
    const QString normal = NormalSource(source);
    const int existing = IndexOf(normal);
    if (existing >= 0)
        Refresh(existing);
    else if (IsWebAddress(normal))
        Download(normal, Request::Add);
    else
        Apply(normal, NameForSource(normal), ReadLocal(normal), Request::Add);
}

void PlaylistLibrary::Rename(int index, const QString& name)
{
    const QString trimmed = name.trimmed();
    if (index < 0 || index >= static_cast<int>(playlists.size()) || trimmed.isEmpty())
        return;
    playlists[index].name = trimmed;
    Changes();
}

void PlaylistLibrary::Refresh(int index)
{
    if (index < 0 || index >= static_cast<int>(playlists.size()))
        return;
    const Playlist& playlist = playlists[index];
    if (IsWebAddress(playlist.source))
        Download(playlist.source, Request::Refresh);
    else
        Apply(playlist.source, playlist.name, ReadLocal(playlist.source), Request::Refresh);
}

void PlaylistLibrary::Remove(int index)
{
    if (index < 0 || index >= static_cast<int>(playlists.size()))
        return;
    const QString source = playlists[index].source;
    playlists.erase(playlists.begin() + index);
    const auto download = downloads.find(source);
    if (download != downloads.end()) {
        delete download->second.first;
        downloads.erase(download);
    }
    RemoveCachedPlaylist(source);
    Changes();
}

PlaylistLibrary::Outcome PlaylistLibrary::Parse(const QByteArray& bytes, const QUrl& location) const
{
    M3uParser parser(location);
    M3uResult result = parser.Parse(bytes);
    Outcome outcome{std::move(result.channels), {}, result.skippedLines, std::move(result.guideAddresses)};
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

PlaylistLibrary::Outcome PlaylistLibrary::ReadLocal(const QString& path) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, Text(PlaylistCannotOpen), 0, {}};
    if (file.size() > M3uParser::kMaxBytes)
        return {{}, Text(PlaylistTooLarge), 0, {}};
    return Parse(file.read(M3uParser::kMaxBytes + 1), QUrl::fromLocalFile(path));
}

void PlaylistLibrary::Download(const QString& source, Request request)
{
    auto& entry = downloads[source];
    entry.second = std::max(entry.second, request); // the viewer hears of one already under way
    if (entry.first)
        return;
    entry.first = new PlaylistDownload(network, QUrl(source), downloadTimeoutMs, M3uParser::kMaxBytes);
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

    Outcome outcome = error != DownloadError::None ? Outcome{{}, DownloadErrorText(error, detail), 0, {}}
                                                   : Parse(body, finalUrl);
    if (outcome.error.isEmpty())
        WriteCachedPlaylist(source, body);
    Apply(source, NameForSource(source), std::move(outcome), request);
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
            Changes();
        }
        if (request != Request::Background)
            emit Failed(index >= 0 ? playlists[index].name : name, outcome.error);
        return;
    }
    if (index < 0) {
        index = static_cast<int>(playlists.size());
        playlists.push_back({name, source, {}, {}, {}, {}});
    }
    Playlist& playlist = playlists[index];
    playlist.channels = std::move(outcome.channels);
    playlist.guideAddresses = std::move(outcome.guideAddresses);
    playlist.lastError.clear();
    playlist.lastRefresh = QDateTime::currentDateTimeUtc();
    Changes();
    if (request != Request::Background)
        emit Imported(playlist.name, outcome.skippedLines);
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
        if (playlists[i].source == source)
            return static_cast<int>(i);
    }
    return -1;
}

QString PlaylistLibrary::Text(int index) const
{
    return texts.Text(LanguageGroup::Playlists, index);
}

QString PlaylistLibrary::DownloadErrorText(DownloadError error, const QString& detail) const
{
    switch (error) {
    case DownloadError::HttpStatus: return Text(PlaylistHttpError).arg(detail);
    case DownloadError::TimedOut: return Text(PlaylistTimedOut);
    case DownloadError::TooLarge: return Text(PlaylistTooLarge);
    default: return Text(PlaylistDownloadFailed).arg(detail);
    }
}
