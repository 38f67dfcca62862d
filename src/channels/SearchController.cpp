#include "SearchController.h"

#include "AccessTexts.h"
#include "ChannelDirectory.h"
#include "ChannelTreeLayout.h"
#include "GuideChannelFeed.h"
#include "GuideLibrary.h"
#include "GuideTexts.h"
#include "GuideWording.h"
#include "InvalidArgument.h"
#include "LanguageEntries.h"
#include "LogoCache.h"
#include "PlaylistTexts.h"
#include "PrivacyCheck.h"
#include "ProgrammeSearch.h"
#include "RecordingsTexts.h"
#include "SearchNameFeed.h"
#include "SearchPanel.h"
#include "ScheduleTexts.h"

#include <QDateTime>
#include <QMenu>

#include <algorithm>

namespace {
constexpr QSize kSmallIcon(16, 16);
} // namespace

SearchController::SearchController(QWidget* window, const LanguageStrings& texts, const ChannelDirectory& directory,
                                   GuideLibrary* guides)
    : QObject(window), texts(texts), directory(directory), guides(guides), panel(new SearchPanel(window)),
      names(new SearchNameFeed(directory.Playlists(), this))
{
    connect(panel, &SearchPanel::EntryChosen, this, &SearchController::EntryChosen);
    connect(panel, &SearchPanel::CurrentEntryChanged, this, &SearchController::CurrentEntryChanged);
    connect(panel, &SearchPanel::Closed, this, &SearchController::Closed);
    connect(panel, &SearchPanel::MenuRequested, this, &SearchController::ShowMenu);
    connect(panel, &SearchPanel::RemindRequested, this, &SearchController::Remind);
    if (guides != nullptr) {
        programmes = new ProgrammeSearch(this);
        feed = new GuideChannelFeed(directory.Names(), directory.Playlists(), this);
        connect(panel, &SearchPanel::QueryChanged, programmes, &ProgrammeSearch::Find);
        connect(programmes, &ProgrammeSearch::Found, this, &SearchController::OnProgrammesFound);
    }
}

void SearchController::ShowLogos(LogoCache& logos)
{
    panel->SetLogoOf(kSmallIcon, [this, &logos](int entry, int height) {
        const auto at = static_cast<std::size_t>(entry);
        return at < keys.size() ? logos.Logo(directory.LogoAddressOf(keys[at]), height) : QPixmap();
    });
    connect(&logos, &LogoCache::Answered, panel, &SearchPanel::RepaintResults);
}

void SearchController::ShowMarks(std::function<QString(const ChannelKey&)> markOf)
{
    panel->SetMarkOf([this, markOf = std::move(markOf)](int entry) {
        const auto at = static_cast<std::size_t>(entry);
        return at < channelCount && keys[at].IsOwn() ? markOf(keys[at]) : QString();
    });
}

void SearchController::NameControls()
{
    const QStringList& access = texts[Access];
    panel->SetTexts(texts.Text(Playlists, PlaylistSearchPlaceholder), access.value(AccessSearchResults),
                    access.value(AccessNoChannelFound));
}

void SearchController::FillNames()
{
    // Built-in channels in the order of the tree: the countries, then the genres; each
    // told apart by its group. The own channels follow.
    std::vector<ChannelKey> builtin;
    SearchEntries entries;
    const auto addSection = [&](int section, const QString& group) {
        const QStringList& sectionNames = CheckedAt(directory.Names(), section - 1);
        for (int position : TreePositions(section)) {
            if (privacy != nullptr && privacy->Any() && privacy->Leaves(ChannelKey{MakeChannelId(section, position)}))
                continue;
            builtin.push_back(ChannelKey{MakeChannelId(section, position)});
            entries.names.append(CheckedAt(sectionNames, position));
            entries.numbers.append(QString());
            entries.details.append(group);
        }
    };
    for (int section : kCountryOrder)
        addSection(section, texts[Countries].value(section - kFirstCountrySection));
    for (int section : kGenreOrder)
        addSection(section, texts[Groups].value(section));
    names->Start(std::move(entries), std::move(builtin), [this](SearchEntries all, std::vector<ChannelKey> allKeys) {
        keys = std::move(allKeys);
        channelCount = keys.size();
        panel->SetEntries(std::move(all));
        MatchProgrammes();
    });
    if (names->IsBusy()) { // a long list: the entries found so far name channels no more
        keys.clear();
        channelCount = 0;
        panel->SetEntries({});
    }
}

void SearchController::SetPrivacy(const PrivacyCheck* check)
{
    privacy = check;
    names->SetPrivacy(check);
}

void SearchController::MatchProgrammes()
{
    if (programmes == nullptr)
        return;
    feed->Start({keys.begin(), keys.begin() + static_cast<std::ptrdiff_t>(channelCount)},
                [this](std::vector<GuideViewerChannel> channels) {
                    programmes->SetChannels(std::move(channels), guides->Matcher(), guides->DatabasePath());
                });
}

void SearchController::OnProgrammesFound(const QString& query, const std::vector<GuideHit>& hits)
{
    // Their entries follow the channels', each naming the channel it plays on.
    keys.resize(channelCount);
    this->found.clear();
    SearchEntries found;
    for (const GuideHit& hit : hits) {
        if (static_cast<std::size_t>(hit.link) >= channelCount)
            continue; // found among channels since replaced
        const ChannelKey key = keys[static_cast<std::size_t>(hit.link)];
        const GuideProgramme& programme = hit.programme;
        found.names.append(texts.Text(Guide, hit.now ? GuideNowOn : GuideNextOn).arg(programme.title, directory.NameOf(key)));
        found.numbers.append(QString());
        found.details.append(GuideTimeText(programme.start) + QChar(0x2013) +
                             (programme.hasStop ? GuideTimeText(programme.stop) : QString()));
        keys.push_back(key);
        this->found.push_back(programme);
    }
    panel->SetMoreResults(query, std::move(found));
}

const GuideProgramme* SearchController::ProgrammeOf(int entry) const
{
    if (entry < 0 || static_cast<std::size_t>(entry) < channelCount || static_cast<std::size_t>(entry) >= keys.size())
        return nullptr;
    return &found[static_cast<std::size_t>(entry) - channelCount];
}

std::optional<GuideProgramme> SearchController::ProgrammeToCome(int entry) const
{
    const GuideProgramme* programme = ProgrammeOf(entry);
    if (programme == nullptr || programme->start <= QDateTime::currentSecsSinceEpoch())
        return std::nullopt;
    return *programme;
}

std::optional<GuideProgramme> SearchController::ProgrammeNotEnded(int entry) const
{
    const GuideProgramme* programme = ProgrammeOf(entry);
    if (programme == nullptr || programme->RunsUntil() <= QDateTime::currentSecsSinceEpoch())
        return std::nullopt;
    return *programme;
}

void SearchController::SetRecording(GuideRecordingOf recordingOf)
{
    recording = std::move(recordingOf);
    panel->SetRecordedOf([this](int entry) {
        const std::optional<GuideProgramme> programme = ProgrammeNotEnded(entry);
        return programme && recording(KeyOf(entry), *programme) != GuideRecording::None;
    });
}

void SearchController::Remind(int entry)
{
    if (const std::optional<GuideProgramme> programme = ProgrammeToCome(entry))
        emit RemindProgramme(KeyOf(entry), directory.NameOf(KeyOf(entry)), *programme);
}

// A programme to come can be reminded of; one not ended recorded, or its series.
void SearchController::ShowMenu(int entry, const QPoint& globalPos)
{
    const std::optional<GuideProgramme> programme = ProgrammeNotEnded(entry);
    if (!programme)
        return;
    const ChannelKey key = KeyOf(entry);
    QMenu menu(qobject_cast<QWidget*>(parent()));
    QAction* remind = nullptr;
    if (ProgrammeToCome(entry))
        remind = menu.addAction(
            texts.Text(Schedule, reminded(key, programme->start) ? ScheduleCancelReminder : ScheduleRemindMe));
    const GuideRecording now = recording(key, *programme);
    QAction* once = menu.addAction(texts.Text(Recordings, now == GuideRecording::Once ? RecCancelMenu : RecRecordMenu));
    QAction* series =
        menu.addAction(texts.Text(Recordings, now == GuideRecording::Series ? RecSeriesCancelMenu : RecSeriesMenu));
    QAction* chosen = menu.exec(globalPos);
    if (chosen == nullptr)
        return;
    if (chosen == remind) {
        Remind(entry);
    } else if (chosen == once || chosen == series) {
        emit RecordProgramme(key, directory.NameOf(key), *programme, chosen == series);
        panel->RepaintResults();
    }
}

ChannelKey SearchController::KeyOf(int entry) const
{
    return entry >= 0 && static_cast<std::size_t>(entry) < keys.size() ? keys[static_cast<std::size_t>(entry)]
                                                                        : ChannelKey();
}

ListChoice SearchController::Choice(int entry) const
{
    if (entry < 0)
        return {};
    ListChoice choice;
    choice.list.reserve(panel->Results().size());
    int position = 0;
    for (int result : panel->Results()) {
        if (result == entry)
            position = static_cast<int>(choice.list.size());
        choice.list.push_back(KeyOf(result));
    }
    choice.request = directory.RequestOf(KeyOf(entry), {ChannelOrigin::List::SearchResults, QString(), position});
    return choice;
}

void SearchController::SelectChannel(const ChannelKey& key)
{
    const auto entry = std::find(keys.begin(), keys.end(), key);
    if (entry != keys.end())
        panel->SelectEntry(static_cast<int>(entry - keys.begin()));
}
