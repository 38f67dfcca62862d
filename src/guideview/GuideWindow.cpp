#include "GuideWindow.h"

#include "ActionTable.h"
#include "GuideGrid.h"
#include "GuideTexts.h"
#include "GuideWording.h"
#include "RecordingsTexts.h"
#include "ScheduleTexts.h"
#include "TimeshiftTexts.h"

#include <QComboBox>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {
constexpr int kDetailLines = 6;
constexpr QSize kInitialSize(960, 600);
} // namespace

GuideWindow::GuideWindow(QWidget* parent, const LanguageStrings& texts, const GuideStore& store,
                         GuideLinkOf linkOf, std::function<qint64()> clock)
    : QWidget(parent, Qt::Window), texts(texts)
{
    chooser = new QComboBox(this);
    grid = new GuideGrid(store, std::move(linkOf), std::move(clock), this);
    details = new QPlainTextEdit(this);
    details->setReadOnly(true);
    details->setFocusPolicy(Qt::ClickFocus);
    details->setFixedHeight(kDetailLines * fontMetrics().lineSpacing());

    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("channelsLabel"));
    label->setBuddy(chooser);
    auto* top = new QHBoxLayout();
    top->addWidget(label);
    top->addWidget(chooser, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid, 1);
    layout->addWidget(details);

    connect(chooser, &QComboBox::activated, this, [this](int list) {
        ShowList(list);
        grid->setFocus();
    });
    connect(grid, &GuideGrid::SelectionChanged, this, &GuideWindow::ShowDetails);
    connect(grid, &GuideGrid::Activated, this, &GuideWindow::Play);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this, &GuideWindow::ShowMenu);
    resize(kInitialSize);
    ApplyLanguage();
}

void GuideWindow::ApplyLanguage()
{
    setWindowTitle(texts.Text(Guide, GuideCaption));
    findChild<QLabel*>(QStringLiteral("channelsLabel"))->setText(texts.Text(Guide, GuideChannelsLabel));
    ShowDetails();
}

void GuideWindow::SetLists(std::vector<GuideRowList> newLists, int current, int row)
{
    lists = std::move(newLists);
    chooser->clear();
    for (const GuideRowList& list : lists)
        chooser->addItem(list.name);
    if (lists.empty())
        return;
    chooser->setCurrentIndex(current);
    grid->SetRows(lists[static_cast<std::size_t>(current)].rows, row);
    grid->setFocus();
}

void GuideWindow::Reload()
{
    grid->Reload();
}

void GuideWindow::ShowList(int list)
{
    if (list >= 0 && list < static_cast<int>(lists.size()))
        grid->SetRows(lists[static_cast<std::size_t>(list)].rows, 0);
}

void GuideWindow::ShowDetails()
{
    const GuideRow* channel = grid->SelectedChannel();
    if (channel == nullptr) {
        details->clear();
        return;
    }
    const std::optional<GuideProgramme> programme = grid->SelectedProgramme();
    if (!programme) {
        details->setPlainText(channel->name + QLatin1Char('\n') + texts.Text(Guide, GuideNoProgrammes));
        return;
    }
    const QDateTime start = QDateTime::fromSecsSinceEpoch(programme->start);
    QStringList lines{programme->title, channel->name + QStringLiteral(", ") +
                                            QLocale().toString(start.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                                            GuideSpanText(*programme)};
    for (const QString& part : {programme->subTitle, programme->episode, programme->category, programme->description}) {
        if (!part.isEmpty())
            lines.append(part);
    }
    // The bell's meaning, for those who do not see it.
    if (reminded(channel->key, programme->start))
        lines.append(texts.Text(Schedule, ScheduleReminderSet)
                         .arg(programme->title, channel->name,
                              QLocale().toString(start.date(), QLocale::ShortFormat) + QLatin1Char(' ')
                                  + GuideTimeText(programme->start)));
    details->setPlainText(lines.join(QLatin1Char('\n')));
}

void GuideWindow::Play()
{
    const GuideRow* channel = grid->SelectedChannel();
    if (channel == nullptr)
        return;
    const std::optional<GuideProgramme> programme = grid->SelectedProgramme();
    emit PlayProgramme(channel->key, programme ? programme->start : 0, programme ? programme->stop : 0);
}

void GuideWindow::SetReminded(std::function<bool(const ChannelKey&, qint64)> isReminded)
{
    reminded = std::move(isReminded);
    grid->SetReminded(reminded);
}

void GuideWindow::RemindersChanged()
{
    grid->viewport()->update();
    ShowDetails();
}

void GuideWindow::SetRecording(GuideRecordingOf recordingOf)
{
    recording = std::move(recordingOf);
    grid->SetMarked([this](const ChannelKey& key, const GuideProgramme& programme) {
        return recording(key, programme) != GuideRecording::None;
    });
}

std::optional<GuideProgramme> GuideWindow::ProgrammeNotEnded() const
{
    std::optional<GuideProgramme> programme = grid->SelectedProgramme();
    if (grid->SelectedChannel() == nullptr || !programme || programme->RunsUntil() <= grid->Now())
        return std::nullopt;
    return programme;
}

void GuideWindow::Record(bool series)
{
    if (const std::optional<GuideProgramme> programme = ProgrammeNotEnded()) {
        const GuideRow* channel = grid->SelectedChannel();
        emit RecordProgramme(channel->key, channel->name, *programme, series);
        grid->viewport()->update();
    }
}

void GuideWindow::AddRecordItems(QMenu& menu, const GuideRow& channel, const GuideProgramme& programme)
{
    const GuideRecording now = recording(channel.key, programme);
    QAction* once = menu.addAction(texts.Text(Recordings, now == GuideRecording::Once ? RecCancelMenu : RecRecordMenu));
    once->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(once, &QAction::triggered, this, [this] { Record(false); });
    QAction* series = menu.addAction(texts.Text(Recordings, now == GuideRecording::Series ? RecSeriesCancelMenu : RecSeriesMenu));
    series->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(series, &QAction::triggered, this, [this] { Record(true); });
}

std::optional<GuideProgramme> GuideWindow::ProgrammeToCome() const
{
    std::optional<GuideProgramme> programme = grid->SelectedProgramme();
    if (grid->SelectedChannel() == nullptr || !programme || programme->start <= grid->Now())
        return std::nullopt;
    return programme;
}

void GuideWindow::Remind()
{
    if (const std::optional<GuideProgramme> programme = ProgrammeToCome()) {
        const GuideRow* channel = grid->SelectedChannel();
        emit RemindProgramme(channel->key, channel->name, *programme);
    }
}

// The programme on now of a channel whose archive holds its beginning can be watched from
// there; one to come can be reminded of.
void GuideWindow::ShowMenu(const QPoint& at)
{
    const GuideRow* channel = grid->SelectedChannel();
    const std::optional<GuideProgramme> programme = grid->SelectedProgramme();
    if (channel == nullptr || !programme)
        return;
    QMenu menu(this);
    // Of one with no known end, no span could be asked of the archive.
    QAction* fromStart = nullptr;
    if (programme->hasStop && programme->stop > grid->Now()
        && grid->Archived(*channel, *programme))
        fromStart = menu.addAction(texts.Text(Timeshift, TimeshiftFromStartMenu));
    QAction* remind = nullptr;
    if (ProgrammeToCome())
        remind = menu.addAction(texts.Text(Schedule, reminded(channel->key, programme->start) ? ScheduleCancelReminder
                                                                                              : ScheduleRemindMe));
    if (ProgrammeNotEnded())
        AddRecordItems(menu, *channel, *programme);
    if (menu.isEmpty())
        return;
    QAction* chosen = menu.exec(grid->mapToGlobal(at));
    if (chosen != nullptr && chosen == fromStart)
        emit WatchFromStart(channel->key, programme->start, programme->stop);
    else if (chosen != nullptr && chosen == remind)
        Remind();
}

void GuideWindow::keyPressEvent(QKeyEvent* event)
{
    if (const int command = CommandOfKey(InGuideWindow, event->keyCombination()); command != 0) {
        emit CommandChosen(command);
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (event->key() == Qt::Key_R && event->modifiers() == Qt::NoModifier) {
        Remind();
        return;
    }
    if ((event->key() == Qt::Key_R || event->key() == Qt::Key_E) && event->modifiers() == Qt::ControlModifier) {
        Record(event->key() == Qt::Key_E);
        return;
    }
    QWidget::keyPressEvent(event);
}
