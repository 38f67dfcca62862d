#pragma once
// The dialogs and boxes around the viewer's playlists and guides: adding them, telling what
// went wrong or what an import skipped, and the guide window.

#include "AccountTypes.h"
#include "ChannelRequest.h"
#include "GuideRow.h"
#include "LanguageStrings.h"
#include "Reminder.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class ChannelDirectory;
class GuideLibrary;
class GuideWindow;
class LogoCache;
class PlaylistLibrary;
class QWidget;
enum class GuideProblem;

class LibraryActions : public QObject
{
    Q_OBJECT
public:
    LibraryActions(QWidget& window, const LanguageStrings& texts, PlaylistLibrary& playlists, GuideLibrary& guides,
                   const ChannelDirectory& directory, LogoCache& logos);
    ~LibraryActions() override;

    // Files and addresses become playlists once Ready, which they wait for.
    void AddPlaylists(const QStringList& sources);
    void Ready();
    void ShowAddPlaylistDialog();
    void ShowAddAccountDialog();
    void ReportAccountFailure(const QString& name, const QString& reason);
    // An account's password, where no secret service keeps it; reason says why it is asked.
    void AskPassword(const QString& source, const QString& prompt, const QString& reason);
    void ShowAddGuideDialog();
    // The guides in the viewer's order, each turned on or off, its times corrected.
    void ShowGuidesDialog();
    void PlaylistsDropped(const QStringList& sources, const QStringList& refused);

    // The guide window, made when first opened, over the lists listing gives.
    void ShowGuideWindow(GuideListing listing);
    GuideWindow* GuideView() const { return guideWindow.get(); }
    // Whether a programme has a reminder, for the guide window's menu.
    void SetReminded(std::function<bool(const Reminder&)> isReminded) { reminded = std::move(isReminded); }
    // A reminder was set or cancelled: the guide window's marks follow.
    void RemindersChanged();
    // The reminder of a programme on a channel.
    static Reminder ReminderFor(const ChannelKey& key, const QString& channelName, const GuideProgramme& programme);
    // What records a programme, for the guide window's menu and marks.
    void SetRecording(GuideRecordingOf recordingOf) { recording = std::move(recordingOf); }
    void ApplyLanguage();

    void ReportPlaylistFailure(const QString& name, const QString& reason);
    void ReportPlaylistCopyKept(const QString& name, const QString& message);
    void ReportPlaylistImport(const QString& name, int skippedLines, const QString& report);
    void ReportGuideFailure(const QString& name, GuideProblem problem, const QString& detail);

signals:
    // A programme of the guide window is to play.
    void ChannelChosen(const ChannelRequest& request);
    // A provider account was given: typed in, or as its playlist address.
    void AccountGiven(const AccountLogin& login);
    void PasswordGiven(const QString& source, const QString& password);
    // A reminder of a programme to come was asked for, or asked to go.
    void ReminderAsked(const Reminder& reminder);
    // A recording of a programme, or of its series, was asked for, or asked to go.
    void RecordingAsked(const ChannelKey& channel, const QString& channelName, const GuideProgramme& programme, bool series);
    // A command's key was pressed in the guide window.
    void CommandChosen(int command);

private:
    void AddSource(const QString& source);
    void MakeGuideWindow();
    // The folder Browse last found a file in, else that of the newest local playlist, else
    // home: never the program's own data folder.
    QString BrowseFolder() const;

    QWidget& window;
    const LanguageStrings& texts;
    PlaylistLibrary& playlists;
    GuideLibrary& guides;
    const ChannelDirectory& directory;
    LogoCache& logos;
    std::function<bool(const Reminder&)> reminded = [](const Reminder&) { return false; };
    GuideRecordingOf recording = [](const ChannelKey&, const GuideProgramme&) { return GuideRecording::None; };
    bool ready = false;
    QStringList pending; // handed over before start-up completed
    QString browseFolder;
    std::unique_ptr<GuideWindow> guideWindow;
};
