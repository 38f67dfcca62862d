#include "BuiltinTexts.h"

#include <array>

namespace {

QStringList PlaylistsTexts()
{
    return {
        QStringLiteral("Playlists"),
        QStringLiteral("The playlist \"%1\" could not be loaded."),
        QStringLiteral("The playlist \"%1\" was imported. %2 line could not be read and was skipped.|"
                       "The playlist \"%1\" was imported. %2 lines could not be read and were skipped."),
        QStringLiteral("The file cannot be opened."),
        QStringLiteral("The file is empty."),
        QStringLiteral("The file is a web page, not a playlist."),
        QStringLiteral("The file is not a text file."),
        QStringLiteral("The file contains no channels."),
        QStringLiteral("The file is larger than 64 MiB."),
        QStringLiteral("Line %1 is longer than 8 KiB."),
        QStringLiteral("Line %1: the playlist has more than 200,000 channels."),
        QStringLiteral("The server answered with error %1."),
        QStringLiteral("The server did not answer within 30 seconds."),
        QStringLiteral("The download failed: %1"),
        QStringLiteral("Only local files and http or https addresses can be added."),
        QStringLiteral("Add playlist..."),
        QStringLiteral("Find channel"),
        QStringLiteral("Find a channel"),
        QStringLiteral("Rename"),
        QStringLiteral("Refresh"),
        QStringLiteral("Remove"),
        QStringLiteral("Add playlist"),
        QStringLiteral("Playlist file:"),
        QStringLiteral("Browse..."),
        QStringLiteral("Or the address of a playlist:"),
        QStringLiteral("OK"),
        QStringLiteral("Cancel"),
        QStringLiteral("Playlists"),
        QStringLiteral("Group: %1"),
        QStringLiteral("Playlist: %1"),
        QStringLiteral("Server: %1"),
        QStringLiteral("New name of the playlist:"),
        QStringLiteral("%1 (not available)"),
        QStringLiteral("The saved copy of the playlist cannot be read; it is being downloaded again."),
        QStringLiteral("The path or address is longer than 4,096 characters."),
        QStringLiteral("The file is not a regular file but a folder, a pipe or a device."),
        QStringLiteral("The file could not be read within 10 seconds."),
        QStringLiteral("The server sent a damaged compressed playlist."),
        QStringLiteral("Line %1: %2"),
        QStringLiteral("the line holds a NUL character"),
        QStringLiteral("markup, not an address"),
        QStringLiteral("a description without an address"),
        QStringLiteral("a quotation mark is not closed"),
        QStringLiteral("local files are not allowed in a downloaded playlist"),
        QStringLiteral("this kind of address is not allowed"),
        QStringLiteral("a header value holds a line break or a NUL character"),
    };
}

// Appended to the unavailable status, in the order of UnavailableReason after None.
QStringList StatusReasonsTexts()
{
    return {
        QStringLiteral("not found"),
        QStringLiteral("blocked in your region or forbidden"),
        QStringLiteral("server error"),
        QStringLiteral("no answer"),
        QStringLiteral("secure connection failed"),
        QStringLiteral("not a video stream"),
        QStringLiteral("too many redirects"),
        QStringLiteral("address not allowed"),
        QStringLiteral("connection refused"),
        QStringLiteral("host not found"),
    };
}

QStringList TimeshiftTexts()
{
    return {
        QStringLiteral("Pause"),
        QStringLiteral("Back to live"),
        QStringLiteral("Paused"),
        QStringLiteral("Record"),
        QStringLiteral("Record from the buffer"),
        QStringLiteral("REC"),
        QStringLiteral("Recording not started: the disk holding %1 is nearly full."),
        QStringLiteral("Recording stopped: the disk holding %1 is nearly full."),
        QStringLiteral("Recording not started: the folder %1 cannot be created."),
        QStringLiteral("Audio"),
        QStringLiteral("Subtitles"),
        QStringLiteral("Off"),
        QStringLiteral("Track %1"),
        QStringLiteral("Watch from the start"),
    };
}

// Names for assistive technology and the words of the keyboard's help, in AccessText order.
QStringList AccessTexts()
{
    return {
        QStringLiteral("Play"),
        QStringLiteral("Stop"),
        QStringLiteral("Mute"),
        QStringLiteral("Volume"),
        QStringLiteral("Playback controls"),
        QStringLiteral("Video"),
        QStringLiteral("Video: %1"),
        QStringLiteral("Description"),
        QStringLiteral("Search results"),
        QStringLiteral("No channel found"),
    };
}

// The language's name in its own words, and its locale code.
QStringList LocaleTexts()
{
    return {
        QStringLiteral("English"),
        QStringLiteral("en"),
    };
}

// What a newcomer is told, and the state of their playlists, in GuidanceText order.
QStringList GuidanceTexts()
{
    return {
        QStringLiteral("No channels of your own yet. To add a playlist, choose %1, or drop an .m3u file or its "
                       "address on either window."),
        QStringLiteral("Remove the playlist \"%1\"?"),
        QStringLiteral("%1 favourite comes from it; it is kept.|%1 favourites come from it; they are kept."),
        QStringLiteral("The playlist \"%1\" could not be refreshed: %2"),
        QStringLiteral("The copy of %3 is still in use."),
        QStringLiteral("Last refresh: %1, successful"),
        QStringLiteral("Last refresh: %1, failed: %2"),
        QStringLiteral("No channel has the number %1"),
        QStringLiteral("the server refused the connection"),
        QStringLiteral("the server's name was not found"),
        QStringLiteral("the secure connection to the server failed"),
        QStringLiteral("the server closed the connection"),
        QStringLiteral("the network cannot be reached"),
        QStringLiteral("%1: only .m3u and .m3u8 files and http or https addresses can be added as playlists."),
    };
}

// Menus, dialogs and messages of the programme guide, in GuideText order.
QStringList GuideTexts()
{
    return {
        QStringLiteral("Programme guide"),
        QStringLiteral("Guide"),
        QStringLiteral("Add guide..."),
        QStringLiteral("Refresh guide"),
        QStringLiteral("Choose guide channel..."),
        QStringLiteral("Programme guides"),
        QStringLiteral("The guide \"%1\" could not be read."),
        QStringLiteral("The file cannot be opened."),
        QStringLiteral("The file is empty."),
        QStringLiteral("The file is a web page, not a programme guide."),
        QStringLiteral("The file is not a programme guide."),
        QStringLiteral("The file declares entities of its own, which are refused."),
        QStringLiteral("The guide is larger than 2 GiB unpacked."),
        QStringLiteral("The file ends too early; the programmes read before that are kept."),
        QStringLiteral("The file is damaged at line %1; the programmes read before that are kept."),
        QStringLiteral("The import was cancelled."),
        QStringLiteral("The guide could not be stored on disk."),
        QStringLiteral("The server answered with error %1."),
        QStringLiteral("The server sent nothing for 30 seconds."),
        QStringLiteral("The download failed: %1"),
        QStringLiteral("Add guide"),
        QStringLiteral("Guide file:"),
        QStringLiteral("Or the address of a guide:"),
        QStringLiteral("Programme guides"),
        QStringLiteral("Guide channel of %1"),
        QStringLiteral("Find a guide channel"),
        QStringLiteral("Automatic (tvg-id or name)"),
        QStringLiteral("Channels:"),
        QStringLiteral("The list being played"),
        QStringLiteral("Now: %1 (%2\u2013%3, %4%)"),
        QStringLiteral("Next: %1 (%2\u2013%3)"),
        QStringLiteral("No programme information"),
        QStringLiteral("Cancel"),
        QStringLiteral("Source: %1"),
        QStringLiteral("Last read: %1"),
        QStringLiteral("Last problem: %1"),
        QStringLiteral("Not read yet"),
        QStringLiteral("%1 (now on %2)"),
        QStringLiteral("%1 (next on %2)"),
        QStringLiteral("%1 (%2%)"),
        QStringLiteral("New name of the guide:"),
    };
}

// What is played from a provider's archive, in CatchupText order.
QStringList CatchupTexts()
{
    return {
        QStringLiteral("%1 (from the archive, %2)"),
        QStringLiteral("%1 (from the archive)"),
    };
}

// What went wrong with the viewer's own files, in FilesText order.
QStringList FilesTexts()
{
    return {
        QStringLiteral("%1 could not be saved: %2"),
    };
}

// What the playlist and guide readers tell of real lists and guides, in ReaderText order.
QStringList ReadersTexts()
{
    return {
        QStringLiteral("Now: %1 (%2\u2013)"),
        QStringLiteral("No programme was kept: its programmes run from %1 to %2; Korvanta keeps from %3 to %4."),
        QStringLiteral("d MMM"),
        QStringLiteral("d MMM yyyy"),
        QStringLiteral("The playlist \"%1\" was imported. %2 line was not allowed and was skipped.|"
                       "The playlist \"%1\" was imported. %2 lines were not allowed and were skipped."),
        QStringLiteral("The playlist \"%1\" was imported. %2 line was skipped.|"
                       "The playlist \"%1\" was imported. %2 lines were skipped."),
        QStringLiteral("neither an address nor a file"),
        QStringLiteral("The guide \"%1\" was imported."),
        QStringLiteral("%1 programme names a time zone not known; it is read as UTC.|"
                       "%1 programmes name a time zone not known; they are read as UTC."),
        QStringLiteral("Channels %1\u2013%2"),
    };
}

// What a film or an episode shows while it plays and in the lists, in FilmsText order.
QStringList FilmsTexts()
{
    return {
        QStringLiteral("Position"),
        QStringLiteral("Resumed at %1 \u2014 Home to start over"),
        QStringLiteral("Next episode in %1 s"),
        QStringLiteral("Continue watching"),
        QStringLiteral("%1 of %2"),
        QStringLiteral("Season %1"),
        QStringLiteral("Watched"),
        QStringLiteral("Forget"),
        QStringLiteral("Length: %1"),
        QStringLiteral("Group: %1"),
        QStringLiteral("Playlist: %1"),
    };
}

// The list of keys and the preferences dialog, in PreferencesText order.
QStringList PreferencesTexts()
{
    return {
        QStringLiteral("Keyboard shortcuts"),
        QStringLiteral("Key"),
        QStringLiteral("Action"),
        QStringLiteral("Main window"),
        QStringLiteral("Picture (also in full screen)"),
        QStringLiteral("Channel window"),
        QStringLiteral("The channel of that number"),
        QStringLiteral("Leave full screen"),
        QStringLiteral("Open the menu bar"),
        QStringLiteral("Previous channel"),
        QStringLiteral("Next channel"),
        QStringLiteral("Play on"),
        QStringLiteral("10 seconds back"),
        QStringLiteral("10 seconds forward"),
        QStringLiteral("A minute back"),
        QStringLiteral("A minute forward"),
        QStringLiteral("The channel's context menu"),
        QStringLiteral("Preferences..."),
        QStringLiteral("Preferences"),
        QStringLiteral("OK"),
        QStringLiteral("Cancel"),
        QStringLiteral("Playback"),
        QStringLiteral("Timeshift"),
        QStringLiteral("Recording"),
        QStringLiteral("Guide"),
        QStringLiteral("Logos"),
        QStringLiteral("Hardware decoding:"),
        QStringLiteral("Off"),
        QStringLiteral("Automatic"),
        QStringLiteral("Number keys wait (seconds):"),
        QStringLiteral("How far back (minutes):"),
        QStringLiteral("Disk cap (GiB):"),
        QStringLiteral("Recordings folder:"),
        QStringLiteral("Browse..."),
        QStringLiteral("Refresh guides every (hours):"),
        QStringLiteral("Logo cache size (MB):"),
        QStringLiteral("Empty the cache"),
        QStringLiteral("Enter a number from %1 to %2."),
        QStringLiteral("This folder cannot be written."),
        QStringLiteral("The disk has only %1 GiB free."),
        QStringLiteral("The cache is empty."),
        QStringLiteral("A film from its start"),
        QStringLiteral("Network"),
        QStringLiteral("User agent of the playlists and streams that name none (empty: the player's own):"),
        QStringLiteral("A playlist's download waits (seconds):"),
        QStringLiteral("A user agent may not hold a line break."),
        QStringLiteral("The server did not answer within %1 seconds."),
    };
}

// Reminders of programmes to come, in ScheduleText order.
QStringList ScheduleTexts()
{
    return {
        QStringLiteral("Remind me"),
        QStringLiteral("Cancel reminder"),
        QStringLiteral("Reminder set: \"%1\" on %2, %3."),
        QStringLiteral("Reminder cancelled: \"%1\"."),
        QStringLiteral("%1 at %2"),
        QStringLiteral("Starts soon on %1."),
        QStringLiteral("Watch"),
        QStringLiteral("\"%1\" starts at %2 on %3."),
        QStringLiteral("Reminder"),
    };
}

// Hidden and locked groups and channels, and the preferences' later fields, in PrivacyText
// order.
QStringList PrivacyTexts()
{
    return {
        QStringLiteral("Hide"),
        QStringLiteral("Unhide"),
        QStringLiteral("Lock..."),
        QStringLiteral("Unlock"),
        QStringLiteral("Show hidden"),
        QStringLiteral("Hidden and locked"),
        QStringLiteral("Choose a PIN of 4 to 8 digits; it opens everything locked:"),
        QStringLiteral("This is locked. Type the PIN:"),
        QStringLiteral("A PIN is 4 to 8 digits."),
        QStringLiteral("That is not the PIN."),
        QStringLiteral("Too many wrong PINs. Try again in %1 seconds."),
        QStringLiteral("The playlist \"%1\" has groups for adults: %2. Lock them behind a PIN?"),
        QStringLiteral("Preferred sound languages, first the most wanted (e.g. deu, eng):"),
        QStringLiteral("Preferred subtitle languages, first the most wanted:"),
        QStringLiteral("Not a language code: %1 (two or three letters, e.g. eng)."),
        QStringLiteral("Start with the last channel played"),
        QStringLiteral("Keep a buffer to pause and rewind live channels"),
        QStringLiteral("Correct every guide's times by (hours, e.g. -1 or 0.5):"),
        QStringLiteral("Keep past programmes in the guide for (days):"),
    };
}

// Provider accounts: the dialog, the tree's nodes, refusals and the description box, in
// AccountsText order.
QStringList AccountsTexts()
{
    return {
        QStringLiteral("Add provider account..."),
        QStringLiteral("Add provider account"),
        QStringLiteral("Server address (http or https, with its port):"),
        QStringLiteral("User name:"),
        QStringLiteral("Password:"),
        QStringLiteral("Live TV"),
        QStringLiteral("Films"),
        QStringLiteral("Series"),
        QStringLiteral("The server refused the user name or the password."),
        QStringLiteral("The account has expired."),
        QStringLiteral("The account is disabled."),
        QStringLiteral("The account is banned."),
        QStringLiteral("Every connection the account allows is in use."),
        QStringLiteral("The server cannot be reached."),
        QStringLiteral("The server refused the connection."),
        QStringLiteral("The server did not answer in time."),
        QStringLiteral("The server's answer is not that of a provider's panel."),
        QStringLiteral("The server's answer is larger than 64 MiB."),
        QStringLiteral("A list of the server holds more than 200,000 entries."),
        QStringLiteral("The server address must be an http or https address with a host."),
        QStringLiteral("Give the server address, the user name and the password."),
        QStringLiteral("The account %1 could not be used: %2"),
        QStringLiteral("State: %1"),
        QStringLiteral("Expires: %1"),
        QStringLiteral("never"),
        QStringLiteral("Connections: %1 of %2 in use"),
        QStringLiteral("The account %1 expires on %2."),
        QStringLiteral("%1 The catalogue of %2 stays in use."),
        QStringLiteral("No secret service answers (%1): the password is kept until Korvanta ends and asked for again at the next start."),
        QStringLiteral("Password of %1 at %2:"),
        QStringLiteral("Year: %1"),
        QStringLiteral("Rating: %1"),
        QStringLiteral("Length: %1 min"),
        QStringLiteral("Genre: %1"),
        QStringLiteral("Cast: %1"),
        QStringLiteral("Asking the server..."),
        QStringLiteral("%1 adds an account of your provider."),
    };
}

// The guides dialog and the reminders' lead, in GuideOrderText order.
QStringList GuideOrderTexts()
{
    return {
        QStringLiteral("Guides..."),
        QStringLiteral("Guides"),
        QStringLiteral("Guide"),
        QStringLiteral("Channels"),
        QStringLiteral("Last import"),
        QStringLiteral("State"),
        QStringLiteral("Up"),
        QStringLiteral("Down"),
        QStringLiteral("Time correction:"),
        QStringLiteral("Refresh every:"),
        QStringLiteral("As in the preferences"),
        QStringLiteral("Read"),
        QStringLiteral("Off"),
        QStringLiteral("Being read"),
        QStringLiteral("Not read yet"),
        QStringLiteral("Never"),
        QStringLiteral("Close"),
        QStringLiteral("A channel's programme comes from the first guide that has one; the next guide fills a pause of an hour or more. A guide channel you chose for a channel wins over all."),
        QStringLiteral("Remind before a programme starts (minutes):"),
        QStringLiteral("h"),
        QStringLiteral("Remind me of \"%1\""),
        QStringLiteral("Cancel the reminder of \"%1\""),
    };
}

// Scheduled and series recordings and their window, in RecordingsText order.
QStringList RecordingsTexts()
{
    return {
        QStringLiteral("Record"),
        QStringLiteral("Do not record"),
        QStringLiteral("Record series..."),
        QStringLiteral("Stop recording the series"),
        QStringLiteral("Record series"),
        QStringLiteral("Record every \"%1\" on %2."),
        QStringLiteral("On any channel"),
        QStringLiteral("New episodes only"),
        QStringLiteral("Recordings..."),
        QStringLiteral("Recordings"),
        QStringLiteral("Upcoming"),
        QStringLiteral("In progress"),
        QStringLiteral("Finished"),
        QStringLiteral("Failed or partial"),
        QStringLiteral("Time"),
        QStringLiteral("Channel"),
        QStringLiteral("Title"),
        QStringLiteral("Details"),
        QStringLiteral("series: %1"),
        QStringLiteral("once"),
        QStringLiteral("%1 recorded, %2"),
        QStringLiteral("%1, %2"),
        QStringLiteral("channel unavailable"),
        QStringLiteral("disk full"),
        QStringLiteral("Korvanta was not running"),
        QStringLiteral("partial: %1"),
        QStringLiteral("failed: %1"),
        QStringLiteral("conflict: more than %1 at once"),
        QStringLiteral("Delete"),
        QStringLiteral("Show in folder"),
        QStringLiteral("Play"),
        QStringLiteral("Stop recording \"%1\"?"),
        QStringLiteral("Delete the recording \"%1\" and its file?"),
        QStringLiteral("%1 overlaps with %2; only %3 can be recorded at once. Which one is not to be recorded?"),
        QStringLiteral("Recording \"%1\" on %2."),
        QStringLiteral("Cannot record \"%1\": %2."),
        QStringLiteral("A recording is under way or due within two hours. Keep recording in the background?"),
        QStringLiteral("The desktop has no tray to keep Korvanta in while it records: quitting ends the recordings."),
        QStringLiteral("Show"),
        QStringLiteral("Quit"),
        QStringLiteral("Recordings start early by (minutes):"),
        QStringLiteral("Recordings end late by (minutes):"),
        QStringLiteral("Recordings at once, at most:"),
        QStringLiteral("Recording set: \"%1\" on %2, %3."),
        QStringLiteral("Korvanta is recording"),
        QStringLiteral("The file \"%1\" cannot be deleted."),
        QStringLiteral("Recording cancelled: \"%1\"."),
        QStringLiteral("Record \"%1\""),
        QStringLiteral("Do not record \"%1\""),
        QStringLiteral("Record the series \"%1\"..."),
        QStringLiteral("Stop recording the series \"%1\""),
    };
}

} // namespace

const QStringList& BuiltinTexts(LanguageGroup group)
{
    static const std::array<QStringList, kLanguageGroupCount - kCoreGroupCount> texts = {
        PlaylistsTexts(),
        StatusReasonsTexts(),
        TimeshiftTexts(),
        AccessTexts(),
        LocaleTexts(),
        GuidanceTexts(),
        GuideTexts(),
        CatchupTexts(),
        FilesTexts(),
        ReadersTexts(),
        FilmsTexts(),
        PreferencesTexts(),
        ScheduleTexts(),
        AccountsTexts(),
        RecordingsTexts(),
        GuideOrderTexts(),
        PrivacyTexts(),
    };
    static const QStringList none;
    return group < kCoreGroupCount ? none : texts[group - kCoreGroupCount];
}

void CompleteWithBuiltinTexts(LanguageGroup group, QStringList& list)
{
    const QStringList& builtin = BuiltinTexts(group);
    if (list.size() < builtin.size())
        list.append(builtin.mid(list.size()));
}
