#include "LibraryActions.h"

#include "AccountAddress.h"
#include "AccountsTexts.h"
#include "CAddAccountDlg.h"
#include "CAddPlaylistDlg.h"
#include "ChannelDirectory.h"
#include "GuidanceTexts.h"
#include "GuideGrid.h"
#include "GuideLibrary.h"
#include "GuideTexts.h"
#include "GuideWindow.h"
#include "GuideWording.h"
#include "GuidesDlg.h"
#include "LogoCache.h"
#include "MessageBox.h"
#include "PlaylistLibrary.h"
#include "PlaylistTexts.h"
#include "ReaderTexts.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QTimer>
#include <QUrl>

#include <utility>

LibraryActions::LibraryActions(QWidget& window, const LanguageStrings& texts, PlaylistLibrary& playlists,
                               GuideLibrary& guides, const ChannelDirectory& directory, LogoCache& logos)
    : window(window), texts(texts), playlists(playlists), guides(guides), directory(directory), logos(logos)
{
}

LibraryActions::~LibraryActions() = default;

void LibraryActions::AddPlaylists(const QStringList& sources)
{
    if (!ready) {
        pending += sources;
        return;
    }
    if (!sources.isEmpty()) {
        window.raise();
        window.activateWindow();
    }
    for (const QString& source : sources)
        AddSource(source);
}

// A panel's get.php address is the account it stands for, not a plain playlist.
void LibraryActions::AddSource(const QString& source)
{
    if (const std::optional<AccountLogin> login = AccountAddress::LoginOfPlaylistAddress(source))
        emit AccountGiven(*login);
    else
        playlists.Add(source);
}

void LibraryActions::ShowAddAccountDialog()
{
    CAddAccountDlg dlg(&window, texts);
    if (dlg.DoModal() == IDOK)
        emit AccountGiven({dlg.Server(), dlg.User(), dlg.Password()});
}

void LibraryActions::ReportAccountFailure(const QString& name, const QString& reason)
{
    MessageBox(&window, texts.Text(Accounts, AccountsFailed).arg(AccountAddress::Masked(name), reason),
               texts.Text(Accounts, AccountsDialogTitle), MB_OK | MB_ICONWARNING);
}

void LibraryActions::AskPassword(const QString& source, const QString& prompt, const QString& reason)
{
    bool ok = false;
    const QString label = reason.isEmpty() ? prompt : reason + QStringLiteral("\n\n") + prompt;
    const QString password = QInputDialog::getText(&window, texts.Text(Accounts, AccountsDialogTitle), label,
                                                   QLineEdit::Password, {}, &ok);
    if (ok && !password.isEmpty())
        emit PasswordGiven(source, password);
}

void LibraryActions::Ready()
{
    ready = true;
    if (!pending.isEmpty()) {
        // After the windows are up, so that any message about them has a place.
        QTimer::singleShot(0, this, [this] { AddPlaylists(std::exchange(pending, {})); });
    }
}

void LibraryActions::ShowAddPlaylistDialog()
{
    CAddPlaylistDlg dlg(&window, texts, BrowseFolder());
    const int result = dlg.DoModal();
    browseFolder = dlg.Folder();
    if (result == IDOK)
        AddSource(dlg.Source());
}

void LibraryActions::ShowAddGuideDialog()
{
    CAddPlaylistDlg dlg(&window, texts, BrowseFolder(), CAddPlaylistDlg::Kind::Guide);
    if (dlg.DoModal() == IDOK)
        guides.Add(dlg.Source());
}

void LibraryActions::ShowGuidesDialog()
{
    GuidesDlg dlg(&window, texts, guides);
    dlg.exec();
}

void LibraryActions::PlaylistsDropped(const QStringList& sources, const QStringList& refused)
{
    AddPlaylists(sources);
    if (!refused.isEmpty())
        MessageBox(&window, texts.Text(Guidance, GuidanceNotAPlaylist).arg(refused.join(QStringLiteral(", "))),
                   texts.Text(Playlists, PlaylistCaption), MB_OK | MB_ICONWARNING);
}

QString LibraryActions::BrowseFolder() const
{
    if (!browseFolder.isEmpty())
        return browseFolder;
    const auto& all = playlists.Playlists();
    for (auto playlist = all.rbegin(); playlist != all.rend(); ++playlist) {
        const QUrl url(playlist->source);
        const QString path = url.isLocalFile() ? url.toLocalFile() : playlist->source;
        if (url.isLocalFile() || QFileInfo(path).isAbsolute()) {
            const QDir folder = QFileInfo(path).absoluteDir();
            if (folder.exists())
                return folder.absolutePath();
        }
    }
    return QDir::homePath();
}

Reminder LibraryActions::ReminderFor(const ChannelKey& key, const QString& channelName, const GuideProgramme& programme)
{
    using std::chrono::seconds;
    return {key, channelName, programme.title, ScheduleTime(seconds(programme.start)),
            ScheduleTime(seconds(programme.RunsUntil()))};
}

void LibraryActions::ShowGuideWindow(GuideListing listing)
{
    if (!guideWindow)
        MakeGuideWindow();
    guideWindow->SetLists(std::move(listing.lists), listing.current, listing.row);
    guideWindow->show();
    guideWindow->raise();
    guideWindow->activateWindow();
}

void LibraryActions::MakeGuideWindow()
{
    auto linkOf = [this](const ChannelKey& key) { return guides.LinkOf(directory.GuideChannelOf(key)); };
    guideWindow = std::make_unique<GuideWindow>(&window, texts, guides.Store(), linkOf,
                                                [] { return QDateTime::currentSecsSinceEpoch(); });
    connect(&guides, &GuideLibrary::Changed, guideWindow.get(), &GuideWindow::Reload);
    guideWindow->Grid()->SetLogoOf(
        [this](const ChannelKey& key, int height) { return logos.Logo(directory.LogoAddressOf(key), height); });
    connect(&logos, &LogoCache::Answered, guideWindow->Grid()->viewport(), qOverload<>(&QWidget::update));
    // A programme gone by plays from the channel's archive where it is kept; any other, and
    // one no archive keeps, live.
    connect(guideWindow.get(), &GuideWindow::PlayProgramme, this, [this](const ChannelKey& key, qint64 start, qint64 stop) {
        const bool gone = stop > 0 && stop <= QDateTime::currentSecsSinceEpoch();
        emit ChannelChosen(directory.ArchiveRequest(key, gone ? ArchiveSpan::Between(start, stop) : ArchiveSpan()));
    });
    connect(guideWindow.get(), &GuideWindow::WatchFromStart, this, [this](const ChannelKey& key, qint64 start, qint64 stop) {
        emit ChannelChosen(directory.ArchiveRequest(key, ArchiveSpan::Between(start, stop)));
    });
    guideWindow->SetReminded([this](const ChannelKey& key, qint64 start) {
        GuideProgramme programme;
        programme.start = start;
        return reminded(ReminderFor(key, QString(), programme));
    });
    guideWindow->SetRecording([this](const ChannelKey& key, const GuideProgramme& programme) { return recording(key, programme); });
    connect(guideWindow.get(), &GuideWindow::RecordProgramme, this, &LibraryActions::RecordingAsked);
    connect(guideWindow.get(), &GuideWindow::CommandChosen, this, &LibraryActions::CommandChosen);
    connect(guideWindow.get(), &GuideWindow::RemindProgramme, this,
            [this](const ChannelKey& key, const QString& channelName, const GuideProgramme& programme) {
                emit ReminderAsked(ReminderFor(key, channelName, programme));
            });
}

void LibraryActions::RemindersChanged()
{
    if (guideWindow)
        guideWindow->RemindersChanged();
}

void LibraryActions::ApplyLanguage()
{
    if (guideWindow)
        guideWindow->ApplyLanguage();
}

void LibraryActions::ReportPlaylistFailure(const QString& name, const QString& reason)
{
    MessageBox(&window, texts.Text(Playlists, PlaylistLoadFailed).arg(name) + QLatin1Char('\n') + reason,
               texts.Text(Playlists, PlaylistCaption), MB_OK | MB_ICONWARNING);
}

void LibraryActions::ReportPlaylistCopyKept(const QString&, const QString& message)
{
    MessageBox(&window, message, texts.Text(Playlists, PlaylistCaption), MB_OK | MB_ICONWARNING);
}

void LibraryActions::ReportPlaylistImport(const QString&, int, const QString& report)
{
    if (report.isEmpty())
        return;
    MessageBox(&window, report, texts.Text(Playlists, PlaylistCaption), MB_OK | MB_ICONINFORMATION);
}

// A guide whose days all lie outside those kept was read all the same: the box says why it
// shows nothing.
void LibraryActions::ReportGuideFailure(const QString& name, GuideProblem problem, const QString& detail)
{
    const bool read = problem == GuideProblem::OutsideDays;
    const QString headline = read ? texts.Text(Readers, ReadersGuideImported) : texts.Text(Guide, GuideLoadFailed);
    MessageBox(&window, headline.arg(name) + QLatin1Char('\n') + GuideReasonText(texts, problem, detail),
               texts.Text(Guide, GuideCaption), MB_OK | (read ? MB_ICONINFORMATION : MB_ICONWARNING));
}
