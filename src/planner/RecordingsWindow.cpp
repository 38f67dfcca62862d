#include "RecordingsWindow.h"

#include "MessageBox.h"
#include "RecordingScheduler.h"
#include "RecordingsTexts.h"
#include "ShellOpen.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr QSize kInitialSize(820, 480);
constexpr int kProgressMs = 1000;
constexpr int kColumnCount = 4;
constexpr int kTimeColumnChars = 30;
constexpr int kChannelColumnChars = 18;
constexpr int kTitleColumnChars = 30;
// What an item stands for.
constexpr int kRuleRole = Qt::UserRole;
constexpr int kPathRole = Qt::UserRole + 1;
constexpr int kTitleRole = Qt::UserRole + 2;
constexpr int kPlannedRole = Qt::UserRole + 3; // index in the plan

QString When(PlanTime time)
{
    return QLocale().toString(QDateTime::fromSecsSinceEpoch(time.time_since_epoch().count()), QLocale::ShortFormat);
}

QString Span(std::chrono::seconds length)
{
    const qint64 s = std::max<qint64>(0, length.count());
    return QStringLiteral("%1:%2:%3").arg(s / 3600).arg(s / 60 % 60, 2, 10, QLatin1Char('0')).arg(s % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

RecordingsWindow::RecordingsWindow(QWidget* parent, const LanguageStrings& texts, RecordingScheduler& scheduler)
    : QWidget(parent, Qt::Window), texts(texts), scheduler(scheduler)
{
    list = new QTreeWidget(this);
    list->setColumnCount(kColumnCount);
    list->setRootIsDecorated(true);
    list->setAllColumnsShowFocus(true);
    list->setUniformRowHeights(true);
    const int average = fontMetrics().averageCharWidth();
    list->header()->resizeSection(0, kTimeColumnChars * average);
    list->header()->resizeSection(1, kChannelColumnChars * average);
    list->header()->resizeSection(2, kTitleColumnChars * average);
    for (int section = 0; section < kSectionCount; ++section) {
        auto* item = new QTreeWidgetItem(list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setExpanded(true);
    }
    play = new QPushButton(this);
    remove = new QPushButton(this);
    folder = new QPushButton(this);
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(play);
    buttons->addWidget(remove);
    buttons->addWidget(folder);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list, 1);
    layout->addLayout(buttons);
    connect(play, &QPushButton::clicked, this, &RecordingsWindow::Play);
    connect(remove, &QPushButton::clicked, this, &RecordingsWindow::Delete);
    connect(folder, &QPushButton::clicked, this, &RecordingsWindow::ShowInFolder);
    connect(list, &QTreeWidget::currentItemChanged, this, &RecordingsWindow::ShowButtons);
    connect(list, &QTreeWidget::itemActivated, this, &RecordingsWindow::Play);
    connect(&scheduler, &RecordingScheduler::Changed, this, [this] {
        if (isVisible())
            Refill();
    });
    connect(&progress, &QTimer::timeout, this, &RecordingsWindow::ShowProgress);
    resize(kInitialSize); // its texts come with the language, once loaded
}

void RecordingsWindow::ApplyLanguage()
{
    setWindowTitle(texts.Text(Recordings, RecWindowCaption));
    list->setAccessibleName(windowTitle());
    list->setHeaderLabels({texts.Text(Recordings, RecColumnTime), texts.Text(Recordings, RecColumnChannel),
                           texts.Text(Recordings, RecColumnTitle), texts.Text(Recordings, RecColumnDetails)});
    play->setText(texts.Text(Recordings, RecPlay));
    remove->setText(texts.Text(Recordings, RecDelete));
    folder->setText(texts.Text(Recordings, RecShowInFolder));
    Refill();
}

QTreeWidgetItem* RecordingsWindow::Section(int section) const
{
    return list->topLevelItem(section);
}

void RecordingsWindow::Refill()
{
    const QVariant current = list->currentItem() != nullptr ? list->currentItem()->data(0, kPathRole) : QVariant();
    const int headings[] = {RecUpcoming, RecInProgress, RecFinished, RecFailed};
    for (int section = 0; section < kSectionCount; ++section) {
        qDeleteAll(Section(section)->takeChildren());
        Section(section)->setText(0, texts.Text(Recordings, headings[section]));
    }
    FillUpcoming();
    FillRecorded();
    for (int section = 0; section < kSectionCount; ++section) {
        for (int i = 0; i < Section(section)->childCount(); ++i) {
            if (current.isValid() && !current.toString().isEmpty() && Section(section)->child(i)->data(0, kPathRole) == current)
                list->setCurrentItem(Section(section)->child(i));
        }
    }
    ShowProgress();
    ShowButtons();
}

void RecordingsWindow::FillUpcoming()
{
    const auto& plan = scheduler.Plan();
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const PlannedRecording& planned = plan[i];
        const RecordingRule* rule = scheduler.Book().Rule(planned.rule);
        QString details = rule != nullptr && rule->kind == RuleKind::Series
                              ? texts.Text(Recordings, RecSeriesRule).arg(rule->programme.title)
                              : texts.Text(Recordings, RecOnce);
        if (planned.conflict)
            details += QStringLiteral("; ") + texts.Text(Recordings, RecConflict).arg(scheduler.Settings().atOnce);
        auto* item = new QTreeWidgetItem(Section(Upcoming), {When(planned.programme.start), planned.channelName,
                                                             planned.programme.title, details});
        item->setData(0, kRuleRole, planned.rule);
        item->setData(0, kPlannedRole, qulonglong(i));
        item->setData(0, kTitleRole, planned.programme.title);
        if (planned.conflict)
            item->setForeground(3, QColor(Qt::red));
    }
}

void RecordingsWindow::FillRecorded()
{
    for (const RecordedProgramme& done : scheduler.Recorded()) {
        int section = Finished;
        QString details;
        if (done.state == RecordedState::Recording)
            section = InProgress;
        else if (done.state == RecordedState::Partial) {
            section = Failed;
            details = texts.Text(Recordings, RecPartial).arg(Reason(int(done.problem)));
        } else if (done.state == RecordedState::Failed) {
            section = Failed;
            details = texts.Text(Recordings, RecFailedReason).arg(Reason(int(done.problem)));
        }
        if (section == Finished || done.state == RecordedState::Partial)
            details = (details.isEmpty() ? QString() : details + QStringLiteral("; "))
                      + texts.Text(Recordings, RecLengthSize).arg(Span(done.ended - done.began), QLocale().formattedDataSize(done.bytes));
        auto* item = new QTreeWidgetItem(Section(section), {When(done.programme.start), done.channelName, done.programme.title, details});
        item->setData(0, kPathRole, done.path);
        item->setData(0, kTitleRole, done.programme.title);
        item->setData(0, kRuleRole, done.state == RecordedState::Recording ? QVariant() : QVariant(-1));
    }
}

QString RecordingsWindow::Reason(int problem) const
{
    return RecordedReason(texts, RecordedProblem(problem));
}

QString RecordedReason(const LanguageStrings& texts, RecordedProblem problem)
{
    switch (problem) {
    case RecordedProblem::DiskFull:
        return texts.Text(Recordings, RecDiskFull);
    case RecordedProblem::NotRunning:
        return texts.Text(Recordings, RecNotRunning);
    default:
        return texts.Text(Recordings, RecChannelUnavailable);
    }
}

void RecordingsWindow::ShowProgress()
{
    const PlanTime now = RecordingScheduler::SystemNow();
    QTreeWidgetItem* running = Section(InProgress);
    for (int i = 0; i < running->childCount(); ++i) {
        QTreeWidgetItem* item = running->child(i);
        const QString path = item->data(0, kPathRole).toString();
        const auto& recorded = scheduler.Recorded();
        const auto done = std::find_if(recorded.begin(), recorded.end(), [&](const RecordedProgramme& r) { return r.path == path; });
        if (done != recorded.end())
            item->setText(3, texts.Text(Recordings, RecElapsed)
                                 .arg(Span(now - done->began), QLocale().formattedDataSize(scheduler.BytesOf(path))));
    }
}

void RecordingsWindow::ShowButtons()
{
    const QTreeWidgetItem* item = list->currentItem();
    const bool child = item != nullptr && item->parent() != nullptr;
    const QString path = child ? item->data(0, kPathRole).toString() : QString();
    const bool file = !path.isEmpty() && QFileInfo::exists(path);
    play->setEnabled(file);
    folder->setEnabled(file);
    remove->setEnabled(child && item->parent() != Section(InProgress));
}

void RecordingsWindow::Play()
{
    const QTreeWidgetItem* item = list->currentItem();
    const QString path = item != nullptr ? item->data(0, kPathRole).toString() : QString();
    if (!path.isEmpty() && QFileInfo::exists(path))
        emit PlayRequested(path, item->data(0, kTitleRole).toString());
}

void RecordingsWindow::Delete()
{
    const QTreeWidgetItem* item = list->currentItem();
    if (item == nullptr || item->parent() == nullptr || item->parent() == Section(InProgress))
        return;
    const QString title = item->data(0, kTitleRole).toString();
    const QString caption = texts.Text(Recordings, RecWindowCaption);
    if (item->parent() == Section(Upcoming)) {
        if (MessageBox(this, texts.Text(Recordings, RecDeleteRuleQuestion).arg(title), caption, MB_YESNO | MB_ICONQUESTION) == IDYES)
            scheduler.RemoveRule(item->data(0, kRuleRole).toInt());
        return;
    }
    const QString path = item->data(0, kPathRole).toString();
    if (MessageBox(this, texts.Text(Recordings, RecDeleteFileQuestion).arg(title), caption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (!scheduler.DeleteRecorded(path))
        MessageBox(this, texts.Text(Recordings, RecDeleteFailed).arg(path), caption, MB_OK | MB_ICONWARNING);
}

void RecordingsWindow::ShowInFolder()
{
    const QTreeWidgetItem* item = list->currentItem();
    const QString path = item != nullptr ? item->data(0, kPathRole).toString() : QString();
    if (!path.isEmpty())
        ShellOpen(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

void RecordingsWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else if (event->key() == Qt::Key_Delete)
        Delete();
    else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        Play();
    else
        QWidget::keyPressEvent(event);
}

void RecordingsWindow::showEvent(QShowEvent* event)
{
    ApplyLanguage(); // also fills it
    progress.start(kProgressMs);
    QWidget::showEvent(event);
}

void RecordingsWindow::hideEvent(QHideEvent* event)
{
    progress.stop();
    QWidget::hideEvent(event);
}
