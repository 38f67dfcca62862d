#pragma once
// The recordings window: what is to come (time, channel, title, the rule it came from),
// what records now (for how long, how much), what was recorded (length, size) and what
// failed or is partial, with the reason. Enter plays a recording; Delete removes a rule,
// or a recording with its file after asking; "Show in folder" opens its folder.

#include "LanguageStrings.h"
#include "PlannedTypes.h"

#include <QTimer>
#include <QWidget>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class RecordingScheduler;

class RecordingsWindow : public QWidget
{
    Q_OBJECT
public:
    RecordingsWindow(QWidget* parent, const LanguageStrings& texts, RecordingScheduler& scheduler);

    void Refill();
    void ApplyLanguage();
    QTreeWidget* List() const { return list; }

signals:
    // A recording is to play as a film.
    void PlayRequested(const QString& path, const QString& title);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    enum Section { Upcoming, InProgress, Finished, Failed, kSectionCount };

    QTreeWidgetItem* Section(int section) const;
    void FillUpcoming();
    void FillRecorded();
    void ShowProgress();
    void Play();
    void Delete();
    void ShowInFolder();
    void ShowButtons();
    QString Reason(int problem) const;

    const LanguageStrings& texts;
    RecordingScheduler& scheduler;
    QTreeWidget* list = nullptr;
    QPushButton* play = nullptr;
    QPushButton* remove = nullptr;
    QPushButton* folder = nullptr;
    QTimer progress; // the recordings under way, told again while shown
};

// Why a recording failed or is partial, in the viewer's words.
QString RecordedReason(const LanguageStrings& texts, RecordedProblem problem);
