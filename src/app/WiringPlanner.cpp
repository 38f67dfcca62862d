// The planner's connections: reminders and recordings between the guide, the windows, the
// desktop and the status line.

#include "WiringPlanner.h"

#include "AccountLibrary.h"
#include "App.h"
#include "Guarded.h"
#include "GuideTexts.h"
#include "GuideWording.h"
#include "MessageBox.h"
#include "GuideGrid.h"
#include "GuideWindow.h"
#include "RecordingsTexts.h"
#include "ScheduleTexts.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLocale>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Closing the window asks about recordings under way or due this soon.
constexpr std::chrono::hours kBusyAhead{2};

// When a reminder's programme starts, as the guide window words it: the time, with the day
// before it.
QString StartText(const Reminder& reminder, bool withDay)
{
    const qint64 start = reminder.start.time_since_epoch().count();
    const QString time = GuideTimeText(start);
    return withDay ? QLocale().toString(QDateTime::fromSecsSinceEpoch(start).date(), QLocale::ShortFormat)
                         + QLatin1Char(' ') + time
                   : time;
}

} // namespace

// reminders <-> the guide window, the desktop's notifications, the status line and a box
// where no notification service runs; the notification's Watch starts the channel.
void WireReminders(App& app)
{
    const LanguageStrings& texts = app.Language().Strings();
    ReminderSchedule& reminders = app.Reminders();
    app.Library().SetReminded([&reminders](const Reminder& reminder) { return reminders.Has(reminder); });
    QObject::connect(&app.Library(), &LibraryActions::ReminderAsked, &reminders, &ReminderSchedule::Toggle);
    const auto isReminded = [&reminders](const ChannelKey& key, qint64 start) {
        GuideProgramme programme;
        programme.start = start;
        return reminders.Has(LibraryActions::ReminderFor(key, QString(), programme));
    };
    app.Channels().SetReminded(isReminded);
    QObject::connect(&app.Channels(), &ChannelWindow::RemindProgramme, &reminders,
                     [&reminders](const ChannelKey& key, const QString& channelName, const GuideProgramme& programme) {
                         reminders.Toggle(LibraryActions::ReminderFor(key, channelName, programme));
                     });
    for (auto signal : {&ReminderSchedule::Set, &ReminderSchedule::Cancelled})
        QObject::connect(&reminders, signal, &app.Library(), &LibraryActions::RemindersChanged);
    QObject::connect(&reminders, &ReminderSchedule::Set, &app.Status(), Guarded([&app, &texts](const Reminder& r) {
        app.Status().ShowNotice(texts.Text(Schedule, ScheduleReminderSet).arg(r.title, r.channelName, StartText(r, true)));
    }));
    QObject::connect(&reminders, &ReminderSchedule::Cancelled, &app.Status(), Guarded([&app, &texts](const Reminder& r) {
        app.Status().ShowNotice(texts.Text(Schedule, ScheduleReminderCancelled).arg(r.title));
    }));
    QObject::connect(&reminders, &ReminderSchedule::Due, &app.Notifier(), Guarded([&app, &texts](const Reminder& r) {
        app.Notifier().Tell(r, texts.Text(Schedule, ScheduleNotificationSummary).arg(r.title, StartText(r, false)),
                            texts.Text(Schedule, ScheduleNotificationBody).arg(r.channelName),
                            texts.Text(Schedule, ScheduleWatch));
    }));
    QObject::connect(&app.Notifier(), &ReminderNotifier::Unreachable, &app.Window(), Guarded([&app, &texts](const Reminder& r) {
        const QString told = texts.Text(Schedule, ScheduleStartsSoon).arg(r.title, StartText(r, false), r.channelName);
        app.Status().ShowNotice(told);
        MessageBox(&app.Window(), told, texts.Text(Schedule, ScheduleCaption), MB_OK | MB_ICONINFORMATION);
    }));
    QObject::connect(&app.Notifier(), &ReminderNotifier::Watch, &app.Playback(), [&app](const ChannelKey& channel) {
        app.Playback().Start(app.Directory().ArchiveRequest(channel, ArchiveSpan()));
        app.Window().RaiseFromDesktop();
    });
}

namespace {

ProgrammeFacts FactsOf(const GuideProgramme& programme)
{
    using std::chrono::seconds;
    return {programme.title, programme.subTitle, programme.description, programme.episode,
            PlanTime(seconds(programme.start)), PlanTime(seconds(programme.RunsUntil()))};
}

// The series box: on any channel, new episodes only; false when cancelled.
bool AskSeries(QWidget* owner, const LanguageStrings& texts, const QString& title, const QString& channel, bool& anyChannel,
               bool& newOnly)
{
    QDialog dialog(owner);
    dialog.setWindowTitle(texts.Text(Recordings, RecSeriesCaption));
    auto* layout = new QVBoxLayout(&dialog);
    auto* question = new QLabel(texts.Text(Recordings, RecSeriesQuestion).arg(title, channel), &dialog);
    question->setTextFormat(Qt::PlainText);
    auto* any = new QCheckBox(texts.Text(Recordings, RecSeriesAnyChannel), &dialog);
    auto* fresh = new QCheckBox(texts.Text(Recordings, RecSeriesNewOnly), &dialog);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(question);
    layout->addWidget(any);
    layout->addWidget(fresh);
    layout->addWidget(buttons);
    any->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    anyChannel = any->isChecked();
    newOnly = fresh->isChecked();
    return true;
}

// The rule that records a programme: one for it alone first, else a series rule.
const RecordingRule* RuleRecording(const RecordingScheduler& planner, const ChannelKey& key, const GuideProgramme& programme)
{
    const RecordingRule* series = nullptr;
    for (const RecordingRule& rule : planner.Book().Rules()) {
        if (rule.kind == RuleKind::Once && rule.channel == key && rule.programme.start.time_since_epoch().count() == programme.start)
            return &rule;
        if (rule.kind == RuleKind::Series && (rule.anyChannel || rule.channel == key)
            && RecordingPlanner::SameTitle(rule.programme.title, programme.title))
            series = &rule;
    }
    return series;
}

// The guide as the planner reads it: the programmes of a channel's guide, and the channels
// of the viewer's playlists that have one, for the rules on any channel.
void FeedPlanner(App& app)
{
    RecordingScheduler& planner = app.Planner();
    const ChannelDirectory& directory = app.Directory();
    GuideLibrary& guides = app.Guides();
    planner.SetGuide(
        [&directory, &guides](const ChannelKey& key, PlanTime from, PlanTime to) {
            std::vector<ProgrammeFacts> facts;
            const GuideLink link = guides.LinkOf(directory.GuideChannelOf(key));
            if (link.channel == 0)
                return facts;
            for (const GuideProgramme& p : guides.Store().Range(link, from.time_since_epoch().count(), to.time_since_epoch().count()))
                facts.push_back(FactsOf(p));
            return facts;
        },
        [&directory, &guides] {
            std::vector<PlanChannel> channels;
            const auto& playlists = directory.Playlists();
            for (int p = 0; p < int(playlists.size()); ++p) {
                for (int e = 0; e < int(playlists[std::size_t(p)].channels.size()); ++e) {
                    const ChannelKey key{0, p, e};
                    if (guides.LinkOf(directory.GuideChannelOf(key)).channel != 0)
                        channels.push_back({key, playlists[std::size_t(p)].channels[std::size_t(e)].name});
                }
            }
            return channels;
        });
    // An account's addresses hide its password until they leave for the server.
    const AccountLibrary& accounts = app.ProviderAccounts();
    planner.SetSources([&directory, &accounts](const ChannelKey& key) -> std::optional<CopySource> {
        const ChannelRequest request = directory.ArchiveRequest(key, ArchiveSpan());
        if (request.IsEmpty())
            return std::nullopt;
        return CopySource{accounts.Revealed(request.address), request.headers.userAgent, request.headers.referrer,
                          request.address};
    });
}

// A recording of a programme, or of its series, asked for where owner shows it; asked again
// for what already records it, it goes.
void AskRecording(App& app, QWidget* owner, const ChannelKey& key, const QString& name, const GuideProgramme& programme,
                  bool series)
{
    const LanguageStrings& texts = app.Language().Strings();
    RecordingScheduler& planner = app.Planner();
    const RecordingRule* rule = RuleRecording(planner, key, programme);
    if (rule != nullptr && (rule->kind == RuleKind::Series) == series) {
        const QString title = rule->programme.title;
        planner.RemoveRule(rule->id);
        app.Status().ShowNotice(texts.Text(Recordings, RecCancelled).arg(title));
        return;
    }
    if (!series) {
        planner.Record(key, name, FactsOf(programme));
    } else {
        bool anyChannel = false, newOnly = false;
        if (!AskSeries(owner, texts, programme.title, name, anyChannel, newOnly))
            return;
        planner.RecordSeries(key, name, FactsOf(programme), anyChannel, newOnly);
    }
    app.Status().ShowNotice(texts.Text(Recordings, RecScheduled)
                                .arg(programme.title, name,
                                     QLocale().toString(QDateTime::fromSecsSinceEpoch(programme.start), QLocale::ShortFormat)));
}

} // namespace

// the guide window, the search's results and the description box -> the planner -> its
// window, the status line and the boxes; closing the main window while it records
void WireRecordings(App& app)
{
    const LanguageStrings& texts = app.Language().Strings();
    RecordingScheduler& planner = app.Planner();
    FeedPlanner(app);
    QObject::connect(&app.Guides(), &GuideLibrary::Changed, &planner, &RecordingScheduler::Replan);
    const GuideRecordingOf recordingOf = [&planner](const ChannelKey& key, const GuideProgramme& programme) {
        if (!planner.Marks().Marked(key, programme.title, programme.start))
            return GuideRecording::None;
        const RecordingRule* rule = RuleRecording(planner, key, programme);
        return rule == nullptr ? GuideRecording::None : rule->kind == RuleKind::Once ? GuideRecording::Once : GuideRecording::Series;
    };
    app.Library().SetRecording(recordingOf);
    app.Channels().SetRecording(recordingOf);
    QObject::connect(&app.Library(), &LibraryActions::RecordingAsked, &planner,
                     Guarded([&app](const ChannelKey& key, const QString& name, const GuideProgramme& programme, bool series) {
                         QWidget* owner = app.Library().GuideView() != nullptr ? static_cast<QWidget*>(app.Library().GuideView())
                                                                               : &app.Window();
                         AskRecording(app, owner, key, name, programme, series);
                     }));
    QObject::connect(&app.Channels(), &ChannelWindow::RecordProgramme, &planner,
                     Guarded([&app](const ChannelKey& key, const QString& name, const GuideProgramme& programme, bool series) {
                         AskRecording(app, &app.Channels(), key, name, programme, series);
                     }));
    QObject::connect(&planner, &RecordingScheduler::Conflict, &app.Window(),
                     Guarded([&app, &texts](const PlannedRecording& planned, const std::vector<PlannedRecording>& others) {
                         const auto named = [](const PlannedRecording& p) {
                             return QStringLiteral("\"%1\" (%2, %3)").arg(p.programme.title, p.channelName,
                                                                         GuideTimeText(p.programme.start.time_since_epoch().count()));
                         };
                         QStringList titles, choices{named(planned)};
                         for (const PlannedRecording& other : others) {
                             titles.append(named(other));
                             choices.append(named(other));
                         }
                         bool ok = false;
                         QWidget* owner = app.Library().GuideView() != nullptr ? static_cast<QWidget*>(app.Library().GuideView())
                                                                               : &app.Window();
                         const QString question = texts.Text(Recordings, RecConflictQuestion)
                                                      .arg(choices.front(), titles.join(QStringLiteral(", ")))
                                                      .arg(app.Planner().Settings().atOnce);
                         const QString chosen = QInputDialog::getItem(owner, texts.Text(Recordings, RecWindowCaption), question,
                                                                      choices, 0, false, &ok);
                         const qsizetype index = choices.indexOf(chosen);
                         if (!ok || index < 0)
                             return;
                         // The one not to record makes room for the rest.
                         app.Planner().Skip(index == 0 ? planned : others[std::size_t(index - 1)]);
                     }));
    QObject::connect(&planner, &RecordingScheduler::Started, &app.Status(), Guarded([&app, &texts](const RecordedProgramme& r) {
        app.Status().ShowNotice(texts.Text(Recordings, RecStarted).arg(r.programme.title, r.channelName));
    }));
    QObject::connect(&planner, &RecordingScheduler::Refused, &app.Status(), Guarded([&app, &texts](const RecordedProgramme& r) {
        app.Status().ShowNotice(texts.Text(Recordings, RecRefused).arg(r.programme.title, RecordedReason(texts, r.problem)));
    }));
    QObject::connect(&planner, &RecordingScheduler::Changed, &app, [&app] {
        if (GuideWindow* guide = app.Library().GuideView())
            guide->Grid()->viewport()->update();
        app.Channels().RecordingsChanged();
    });
    QObject::connect(&app.RecordingsView(), &RecordingsWindow::PlayRequested, &app.Playback(),
                     [&app](const QString& path, const QString& title) {
                         ChannelRequest request = RequestFor(QUrl::fromLocalFile(path).toString());
                         request.name = title;
                         app.Playback().Start(request); // a file with a length: a film, with its bar and its place kept
                     });
    QObject::connect(&app.Language(), &Texts::Changed, &app.RecordingsView(), &RecordingsWindow::ApplyLanguage);
    app.Actions().On(ID_RECORDINGS, [&app] {
        app.RecordingsView().show();
        app.RecordingsView().raise();
        app.RecordingsView().activateWindow();
        app.RecordingsView().List()->setFocus();
    });
    app.Window().SetCloseGuard([&app] {
        if (!app.Planner().BusyBefore(RecordingScheduler::SystemNow() + kBusyAhead))
            return true;
        switch (app.Tray().Ask()) {
        case BackgroundTray::Choice::Quit:
            return true;
        case BackgroundTray::Choice::Background:
            app.Channels().hide();
            app.RecordingsView().hide();
            app.Window().hide(); // ends the window's loop; the tray takes over
            return false;
        default:
            return false;
        }
    });
}

