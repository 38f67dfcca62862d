#include "GuideLibrary.h"

#include "GuideCache.h"
#include "GuideChoicesFile.h"
#include "GuideDownload.h"
#include "GuidesFile.h"
#include "LogCategories.h"
#include "Playlist.h"
#include "PrivateFiles.h"
#include "SourceNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

constexpr int kDownloadTimeoutMs = 30 * 1000;
constexpr int kStaleCheckMs = 60 * 60 * 1000;

GuideProblem ProblemOf(const GuideDownloadResult& result)
{
    using Outcome = GuideDownloadResult::Outcome;
    switch (result.outcome) {
    case Outcome::HttpStatus: return GuideProblem::HttpStatus;
    case Outcome::TimedOut: return GuideProblem::TimedOut;
    case Outcome::TooLarge: return GuideProblem::TooLarge;
    case Outcome::Network: return GuideProblem::Network;
    case Outcome::CannotWrite: return GuideProblem::StoreFailed;
    case Outcome::Downloaded:
    case Outcome::NotModified: break;
    }
    return GuideProblem::None;
}

GuideSource NewGuide(const QString& name, const QString& source, bool own, const QString& userAgent = {})
{
    GuideSource guide;
    guide.name = name;
    guide.source = source;
    guide.own = own;
    guide.userAgent = userAgent;
    guide.lastRefresh = ReadGuideCacheInfo(source).fetched;
    return guide;
}

// The file the guide's bytes are read from: the downloaded copy, or the viewer's own file.
QString CopyOf(const GuideSource& guide)
{
    return IsWebAddress(guide.source) ? GuideCachePath(guide.source) : guide.source;
}

} // namespace

GuideLibrary::GuideLibrary(QObject* parent) : QObject(parent), downloadTimeoutMs(kDownloadTimeoutMs)
{
    connect(&staleCheck, &QTimer::timeout, this, &GuideLibrary::RefreshStale);
}

GuideLibrary::~GuideLibrary()
{
    for (auto& [source, download] : downloads)
        delete download;
}

void GuideLibrary::Load(const QString& dataFolder, const QString& databasePath)
{
    const QString folder = dataFolder + QStringLiteral("/Korvanta/");
    guidesPath = folder + QStringLiteral("Guides.xml");
    choicesPath = folder + QStringLiteral("GuideChoices.xml");
    orderPath = folder + QStringLiteral("GuideOrder.xml");
    this->databasePath = databasePath;
    for (auto& [name, source] : LoadGuides(guidesPath)) {
        guides.push_back(NewGuide(name, source, true));
    }
    choices = LoadGuideChoices(choicesPath);
    order = LoadGuideOrder(orderPath);
    Arrange();
    store.Open(databasePath);
    importer = std::make_unique<GuideImporter>(databasePath);
    connect(importer.get(), &GuideImporter::Progress, this, [this](const QString& source, int read) {
        if (const auto found = permille.find(source); found != permille.end())
            found->second = read;
        emit Progress(source, read);
    });
    connect(importer.get(), &GuideImporter::Imported, this, &GuideLibrary::Imported);
    connect(importer.get(), &GuideImporter::Removed, this, &GuideLibrary::Relink); // Changed once matched
    // Matched once the viewer's channels are known: reading the stored guide's channels now
    // would compete with the start-up, and be done again with them.
    linking = true;
    staleCheck.start(kStaleCheckMs);
}

bool GuideLibrary::Save(QString* reason)
{
    if (!modified)
        return true;
    std::vector<std::pair<QString, QString>> own;
    for (const GuideSource& guide : guides) {
        if (guide.own)
            own.emplace_back(guide.name, guide.source);
    }
    if (own.empty() && !QFileInfo::exists(guidesPath))
        return true;
    QDir().mkpath(QFileInfo(guidesPath).absolutePath());
    modified = !SaveGuides(guidesPath, own, reason);
    return !modified;
}

void GuideLibrary::SetPlaylists(const std::vector<Playlist>& playlists)
{
    std::vector<std::pair<QString, QString>> named; // source, user agent
    for (const Playlist& playlist : playlists) {
        const auto agent = std::find_if(playlist.channels.begin(), playlist.channels.end(),
                                        [](const PlaylistChannel& c) { return !c.userAgent.isEmpty(); });
        for (const QString& address : playlist.guideAddresses) {
            if (IsWebAddress(address))
                named.emplace_back(address, agent != playlist.channels.end() ? agent->userAgent : QString());
        }
    }
    const auto isNamed = [&](const QString& source) {
        return std::any_of(named.begin(), named.end(), [&](const auto& n) { return n.first == source; });
    };
    for (int i = static_cast<int>(guides.size()) - 1; i >= 0; --i) {
        if (!guides[static_cast<std::size_t>(i)].own && !isNamed(guides[static_cast<std::size_t>(i)].source))
            Remove(i);
    }
    for (const auto& [source, agent] : named) {
        if (GuideSource* known = Find(source)) {
            known->userAgent = agent;
            continue;
        }
        guides.push_back(NewGuide(NameForSource(source), source, false, agent));
    }
    Arrange();
    RefreshStale();
    emit ListChanged();
}

void GuideLibrary::SetViewerChannels(std::vector<GuideViewerChannel> channels)
{
    viewerChannels = std::make_shared<const std::vector<GuideViewerChannel>>(std::move(channels));
    channelsKnown = true;
    Relink();
    RefreshStale();
}

void GuideLibrary::SetLanguage(const std::string& preferred)
{
    language = preferred;
    RefreshStale();
}

void GuideLibrary::SetGlobalOffset(qint64 seconds)
{
    matcher.SetGlobalOffset(seconds);
    const qint64 before = globalOffset;
    globalOffset = matcher.GlobalOffset(); // as bounded
    if (globalOffset != before)
        emit Changed();
}

void GuideLibrary::Choose(const QString& channelKey, const GuideChoice& choice)
{
    if (choice.source.isEmpty())
        choices.erase(channelKey);
    else
        choices[channelKey] = choice;
    QDir().mkpath(QFileInfo(choicesPath).absolutePath());
    SaveGuideChoices(choicesPath, choices);
    Relink(); // Changed once matched
    RefreshStale(); // the chosen channel's programmes may not be stored yet
}

void GuideLibrary::Add(const QString& source)
{
    const QString normal = NormalSource(source);
    if (IsOtherScheme(normal) || (!IsWebAddress(normal) && !QFileInfo(normal).isFile())) {
        emit Failed(NameForSource(normal), GuideProblem::Unreadable, {});
        return;
    }
    GuideSource* guide = Find(normal);
    if (guide == nullptr) {
        guides.push_back(NewGuide(NameForSource(normal), normal, true));
        guide = &guides.back();
    }
    guide->own = true;
    modified = true;
    Save();
    emit ListChanged();
    Refresh(static_cast<int>(guide - guides.data()));
}

void GuideLibrary::Rename(int index, const QString& name)
{
    GuideSource& guide = guides.at(static_cast<std::size_t>(index));
    if (name.trimmed().isEmpty() || name == guide.name)
        return;
    guide.name = name.trimmed();
    modified = guide.own;
    Save();
    emit ListChanged();
}

void GuideLibrary::Remove(int index)
{
    const GuideSource guide = guides.at(static_cast<std::size_t>(index));
    Cancel(index);
    importer->Remove(guide.source);
    RemoveGuideCache(guide.source);
    guides.erase(guides.begin() + index);
    modified = modified || guide.own;
    Save();
    emit ListChanged();
}

void GuideLibrary::Move(int index, int step)
{
    const int to = index + step;
    if (index < 0 || to < 0 || index >= static_cast<int>(guides.size()) || to >= static_cast<int>(guides.size()))
        return;
    const GuideSource moved = guides[static_cast<std::size_t>(index)];
    guides.erase(guides.begin() + index);
    guides.insert(guides.begin() + to, moved);
    SaveOrder();
    Relink(); // Changed once matched
    emit ListChanged();
}

void GuideLibrary::SetSetting(int index, const GuideSetting& setting)
{
    const QString& source = guides.at(static_cast<std::size_t>(index)).source;
    GuideSetting bounded = setting;
    bounded.correctionSeconds = std::clamp(setting.correctionSeconds, -GuideSetting::kMaxCorrectionSeconds,
                                           GuideSetting::kMaxCorrectionSeconds);
    bounded.refreshHours = std::clamp(setting.refreshHours, 0, GuideSetting::kMaxRefreshHours);
    if (bounded == SettingOf(index))
        return;
    order.settings[source] = bounded;
    SaveOrder();
    Relink(); // Changed once matched
    RefreshStale(); // one turned on, or due sooner
    emit ListChanged();
}

GuideSetting GuideLibrary::SettingOf(int index) const
{
    const auto found = order.settings.find(guides.at(static_cast<std::size_t>(index)).source);
    return found != order.settings.end() ? found->second : GuideSetting();
}

void GuideLibrary::Arrange()
{
    std::map<QString, std::size_t> places;
    for (std::size_t k = 0; k < order.sources.size(); ++k)
        places.emplace(order.sources[k], k);
    const auto placeOf = [&](const GuideSource& guide) {
        const auto found = places.find(guide.source);
        return found != places.end() ? found->second : order.sources.size();
    };
    std::stable_sort(guides.begin(), guides.end(),
                     [&](const GuideSource& a, const GuideSource& b) { return placeOf(a) < placeOf(b); });
}

void GuideLibrary::SaveOrder()
{
    // Guides gone keep nothing; those of a playlist refreshed meanwhile are named again.
    GuideArrangement arranged;
    for (const GuideSource& guide : guides) {
        arranged.sources.push_back(guide.source);
        if (const auto found = order.settings.find(guide.source); found != order.settings.end() && !found->second.IsDefault())
            arranged.settings.insert(*found);
    }
    order = std::move(arranged);
    QDir().mkpath(QFileInfo(orderPath).absolutePath());
    QString reason;
    if (!SaveGuideOrder(orderPath, order, &reason))
        qCWarning(lcGuide) << "the guides' order could not be saved to" << orderPath << reason;
}

qint64 GuideLibrary::StaleAfter(const GuideSource& guide) const
{
    const auto found = order.settings.find(guide.source);
    const int hours = found != order.settings.end() ? found->second.refreshHours : 0;
    return hours > 0 ? qint64(hours) * 3600 : staleAfterSeconds;
}

void GuideLibrary::Refresh(int index)
{
    GuideSource& guide = guides.at(static_cast<std::size_t>(index));
    asked.insert(guide.source);
    if (IsWebAddress(guide.source)) {
        Download(guide);
        return;
    }
    guide.lastRefresh = QDateTime::currentDateTimeUtc();
    Import(guide);
}

void GuideLibrary::RefreshAll()
{
    for (int i = 0; i < static_cast<int>(guides.size()); ++i)
        Refresh(i);
}

void GuideLibrary::Cancel(int index)
{
    const QString source = guides.at(static_cast<std::size_t>(index)).source;
    if (const auto found = downloads.find(source); found != downloads.end()) {
        delete found->second;
        downloads.erase(found);
    }
    importWhenLinked.erase(source);
    asked.erase(source);
    importer->Cancel(source);
    if (permille.erase(source) != 0)
        emit ListChanged();
}

int GuideLibrary::PermilleOf(const QString& source) const
{
    const auto found = permille.find(source);
    return found != permille.end() ? found->second : -1;
}

GuideNowNext GuideLibrary::NowAndNext(const GuideViewerChannel& channel, qint64 now) const
{
    return store.NowAndNext(matcher.Find(channel), now);
}

// Downloads what is older than its interval, and imports again what the store holds for
// other channels or another language, or not at all.
void GuideLibrary::RefreshStale()
{
    if (!channelsKnown)
        return; // an import now would store no programmes
    if (linking) {
        refreshWhenLinked = true; // the imports need the match of the current channels
        return;
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const std::vector<GuideInfo> stored = store.Guides();
    const QByteArray importedFor = ImportedFor();
    for (GuideSource& guide : guides) {
        const auto setting = order.settings.find(guide.source);
        if (setting != order.settings.end() && setting->second.off)
            continue; // fetched again once the viewer turns it on
        const GuideCacheInfo info = ReadGuideCacheInfo(guide.source);
        const bool isStored = std::any_of(stored.begin(), stored.end(), [&](const GuideInfo& g) { return g.source == guide.source; });
        if (IsWebAddress(guide.source) && (!info.fetched.isValid() || info.fetched.secsTo(now) > StaleAfter(guide)))
            Download(guide);
        else if (!isStored || info.importedFor != importedFor)
            Import(guide);
    }
}

void GuideLibrary::Download(GuideSource& guide)
{
    if (downloads.count(guide.source) != 0)
        return;
    const QString path = GuideCachePath(guide.source);
    const QString folder = QFileInfo(path).absolutePath();
    MakePrivateFolder(folder);
    // Asked with what the copy was fetched with, so that an unchanged guide is not sent.
    const GuideCacheInfo info = QFileInfo::exists(path) ? ReadGuideCacheInfo(guide.source) : GuideCacheInfo();
    const QUrl asked(revealer ? revealer(guide.source) : guide.source);
    auto* download = new GuideDownload(network, asked, path, guide.userAgent, info.etag,
                                       info.lastModified, downloadTimeoutMs);
    downloads[guide.source] = download;
    permille[guide.source] = 0;
    connect(download, &GuideDownload::Finished, this,
            [this, source = guide.source](const GuideDownloadResult& result) { Downloaded(source, result); });
}

void GuideLibrary::Downloaded(const QString& source, const GuideDownloadResult& result)
{
    if (const auto found = downloads.find(source); found != downloads.end()) {
        found->second->deleteLater();
        downloads.erase(found);
    }
    permille.erase(source);
    GuideSource* guide = Find(source);
    if (guide == nullptr)
        return;
    if (const GuideProblem problem = ProblemOf(result); problem != GuideProblem::None) {
        Report(*guide, problem, result.detail);
        return;
    }
    GuideCacheInfo info = ReadGuideCacheInfo(source);
    const bool changed = result.outcome == GuideDownloadResult::Outcome::Downloaded;
    if (changed) {
        info.etag = result.etag;
        info.lastModified = result.lastModified;
        info.importedFor.clear();
    }
    info.fetched = guide->lastRefresh = QDateTime::currentDateTimeUtc();
    WriteGuideCacheInfo(source, info);
    emit Refreshed(source, changed);
    RefreshStale(); // imports it when new or stored for other channels
    if (permille.count(source) == 0 && importWhenLinked.count(source) == 0 && !refreshWhenLinked)
        asked.erase(source); // nothing more to come of it
}

void GuideLibrary::Import(const GuideSource& guide)
{
    if (!QFileInfo::exists(CopyOf(guide)))
        return;
    if (linking) {
        importWhenLinked.insert(guide.source); // with the match of the current channels
        return;
    }
    permille[guide.source] = 0;
    importer->Import({guide.source, CopyOf(guide), matcher, language, QDateTime::currentSecsSinceEpoch(), daysBack});
}

void GuideLibrary::Imported(const QString& source, const GuideImportResult& result)
{
    permille.erase(source);
    GuideSource* guide = Find(source);
    if (guide == nullptr)
        return;
    if (result.stored) {
        GuideCacheInfo info = ReadGuideCacheInfo(source);
        info.importedFor = ImportedFor();
        WriteGuideCacheInfo(source, info);
        guide->unknownZones = result.unknownZones;
        if (result.unknownZones > 0)
            qCInfo(lcGuide) << guide->name << ":" << result.unknownZones << "programmes name a time zone not known, read as UTC";
        Relink(); // Changed once matched
    }
    if (result.problem != GuideProblem::None && result.problem != GuideProblem::Cancelled) {
        Report(*guide, result.problem, result.problem == GuideProblem::Damaged ? QString::number(result.line) : result.detail);
        return;
    }
    guide->lastProblem = result.problem;
    guide->lastDetail.clear();
    asked.erase(source);
    emit ListChanged();
}

void GuideLibrary::Relink()
{
    linking = true;
    const quint64 asked = ++relinks;
    // Reading 10,000 guide channels and folding 200,000 names take the window's thread too
    // long: the match is made on the worker, through a connection of its own.
    QStringList sources; // the first guide's programmes before the others'
    for (const GuideSource& guide : guides)
        sources.append(guide.source);
    linker.Run(
        [channels = viewerChannels, choices = choices, offset = globalOffset, path = databasePath, sources,
         settings = order.settings] {
            GuideMatcher made(*channels, choices);
            made.SetGlobalOffset(offset);
            GuideStore reader;
            if (reader.Open(path))
                made.SetGuideChannels(reader.Channels(), sources, settings);
            return made;
        },
        [this, asked](GuideMatcher made) {
            if (asked == relinks)
                Linked(std::move(made));
        });
}

void GuideLibrary::Linked(GuideMatcher made)
{
    matcher = std::move(made);
    matcher.SetGlobalOffset(globalOffset); // changed meanwhile, maybe
    linking = false;
    for (const QString& source : std::exchange(importWhenLinked, {})) {
        if (const GuideSource* guide = Find(source))
            Import(*guide);
    }
    if (std::exchange(refreshWhenLinked, false))
        RefreshStale();
    emit Changed();
}

QByteArray GuideLibrary::ImportedFor() const
{
    return matcher.Fingerprint() + QByteArray::fromStdString(language);
}

GuideSource* GuideLibrary::Find(const QString& source)
{
    const auto found = std::find_if(guides.begin(), guides.end(), [&](const GuideSource& g) { return g.source == source; });
    return found != guides.end() ? &*found : nullptr;
}

void GuideLibrary::Report(GuideSource& guide, GuideProblem problem, const QString& detail)
{
    guide.lastProblem = problem;
    guide.lastDetail = detail;
    qCWarning(lcGuide) << "guide" << guide.source << "not read:" << static_cast<int>(problem) << detail;
    if (asked.erase(guide.source) != 0)
        emit Failed(guide.name, problem, detail);
    emit ListChanged();
}
