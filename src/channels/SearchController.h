#pragma once
// The search on the channel window's tree tab: the names of every channel (the built-in
// ones in the tree's order, then the viewer's own), the programmes on now and next whose
// titles hold what was typed, and which channel each result stands for. A programme to
// come found can be reminded of: its context menu, or R. One not ended can be recorded,
// alone or with its series, from its context menu; one to be recorded shows a red dot.

#include "ChannelKey.h"
#include "GuideRow.h"
#include "GuideTypes.h"
#include "LanguageStrings.h"
#include "Zapper.h"

#include <QObject>

#include <functional>
#include <optional>
#include <vector>

class ChannelDirectory;
class GuideChannelFeed;
class GuideLibrary;
class LogoCache;
class PrivacyCheck;
class ProgrammeSearch;
class SearchNameFeed;
class SearchPanel;
struct GuideHit;

class SearchController : public QObject
{
    Q_OBJECT
public:
    // Programmes are found where there is a guide library.
    SearchController(QWidget* window, const LanguageStrings& texts, const ChannelDirectory& directory,
                     GuideLibrary* guides);

    SearchPanel* Panel() const { return panel; }
    void ShowLogos(LogoCache& logos);
    // A channel's mark after its name (a film watched), empty for none.
    void ShowMarks(std::function<QString(const ChannelKey&)> markOf);
    // The field's placeholder and the list's names in the current texts.
    void NameControls();

    // The channels changed (their names, their playlists): the search names them again.
    void FillNames();
    // The channels the search leaves out: hidden, or locked while the locks are shut.
    void SetPrivacy(const PrivacyCheck* check);
    // The channels whose programmes the search finds, matched again on a worker.
    void MatchProgrammes();

    // The channel a result stands for; an empty key for none.
    ChannelKey KeyOf(int entry) const;
    // The channel of entry, with the results in their shown order as its list.
    ListChoice Choice(int entry) const;
    // The highlighted result follows a zap while the results still hold the channel.
    void SelectChannel(const ChannelKey& key);
    // The programme a result stands for, when it is one still to come.
    std::optional<GuideProgramme> ProgrammeToCome(int entry) const;
    // The programme a result stands for, when it has not ended.
    std::optional<GuideProgramme> ProgrammeNotEnded(int entry) const;
    // Whether a programme (its channel and start) has a reminder, for the results' menu.
    void SetReminded(std::function<bool(const ChannelKey&, qint64 start)> isReminded) { reminded = std::move(isReminded); }
    // What records a programme, for the results' menu and their marks.
    void SetRecording(GuideRecordingOf recordingOf);

signals:
    void EntryChosen(int entry);
    void CurrentEntryChanged(int entry);
    void Closed();
    // A reminder of a programme found was asked for, or asked to go.
    void RemindProgramme(const ChannelKey& channel, const QString& channelName, const GuideProgramme& programme);
    // A recording of a programme found, or of its series, was asked for, or asked to go.
    void RecordProgramme(const ChannelKey& channel, const QString& channelName, const GuideProgramme& programme, bool series);

private:
    void OnProgrammesFound(const QString& query, const std::vector<GuideHit>& hits);
    void ShowMenu(int entry, const QPoint& globalPos);
    void Remind(int entry);
    // The programme found that entry stands for; none for a channel's entry.
    const GuideProgramme* ProgrammeOf(int entry) const;

    const LanguageStrings& texts;
    const ChannelDirectory& directory;
    GuideLibrary* guides;
    SearchPanel* panel;
    SearchNameFeed* names;
    const PrivacyCheck* privacy = nullptr;
    ProgrammeSearch* programmes = nullptr;
    GuideChannelFeed* feed = nullptr; // the guide's view of the searched channels
    std::vector<ChannelKey> keys;     // by search entry
    std::size_t channelCount = 0;     // keys beyond are the programmes found
    std::vector<GuideProgramme> found; // the programmes found, by entry after the channels'
    std::function<bool(const ChannelKey&, qint64)> reminded = [](const ChannelKey&, qint64) { return false; };
    GuideRecordingOf recording = [](const ChannelKey&, const GuideProgramme&) { return GuideRecording::None; };
};
