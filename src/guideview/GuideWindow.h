#pragma once
// The guide window: the programmes of a list of channels in a grid (the list the playing
// channel came from, or another the viewer chooses), the selected programme's details
// under it. Enter or a double click asks to play the selected channel at the selected
// programme; R (or the menu) asks for a reminder of a programme that has not started,
// Ctrl+R for a recording of one that has not ended, Ctrl+E for its series. The keys the
// table of actions binds here are the program's commands.

#include "GuideRow.h"
#include "LanguageStrings.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class GuideGrid;
class GuideStore;
class QComboBox;
class QMenu;
class QPlainTextEdit;

class GuideWindow : public QWidget
{
    Q_OBJECT
public:
    GuideWindow(QWidget* parent, const LanguageStrings& texts, const GuideStore& store, GuideLinkOf linkOf,
                std::function<qint64()> clock);

    // Shows the lists, list `current` open at row `row` (the programme on now selected).
    void SetLists(std::vector<GuideRowList> lists, int current, int row);
    // The store's contents changed.
    void Reload();
    void ApplyLanguage();

    GuideGrid* Grid() const { return grid; }
    // Whether a programme (its channel and start) has a reminder, for the menu to offer
    // cancelling it.
    void SetReminded(std::function<bool(const ChannelKey&, qint64 start)> reminded);
    // A reminder was set or cancelled: the marks and the details follow.
    void RemindersChanged();
    // What records a programme, for the menu and the grid's marks.
    void SetRecording(GuideRecordingOf recording);

signals:
    // The viewer asked to play channel; start and stop are the selected programme's (both
    // 0 where the guide has none), so that a programme gone by can be played from the
    // provider's archive where it keeps one.
    void PlayProgramme(const ChannelKey& channel, qint64 start, qint64 stop);
    // The viewer asked to watch the programme on now from its start, from the archive.
    void WatchFromStart(const ChannelKey& channel, qint64 start, qint64 stop);
    // The viewer asked for a reminder of a programme to come, or for its reminder to go.
    void RemindProgramme(const ChannelKey& channel, const QString& channelName, const GuideProgramme& programme);
    // The viewer asked to record a programme, or its series, or no longer to.
    void RecordProgramme(const ChannelKey& channel, const QString& channelName, const GuideProgramme& programme, bool series);
    // A command of the table of actions whose key was pressed here.
    void CommandChosen(int command);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowList(int list);
    void ShowDetails();
    void Play();
    void ShowMenu(const QPoint& at);
    void Remind();
    void Record(bool series);
    void AddRecordItems(QMenu& menu, const GuideRow& channel, const GuideProgramme& programme);
    // The selected programme when it has not started.
    std::optional<GuideProgramme> ProgrammeToCome() const;
    // The selected programme when it has not ended.
    std::optional<GuideProgramme> ProgrammeNotEnded() const;

    const LanguageStrings& texts;
    std::vector<GuideRowList> lists;
    QComboBox* chooser = nullptr;
    GuideGrid* grid = nullptr;
    QPlainTextEdit* details = nullptr;
    std::function<bool(const ChannelKey&, qint64)> reminded = [](const ChannelKey&, qint64) { return false; };
    GuideRecordingOf recording = [](const ChannelKey&, const GuideProgramme&) { return GuideRecording::None; };
};
