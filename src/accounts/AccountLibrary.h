#pragma once
// The viewer's provider accounts: their list in Accounts.xml, their passwords in the secret
// service, their catalogues asked of the panel (or read from the cached copy) and handed on
// as playlists. Answers are read on a worker; a failure keeps whatever was there and says
// why. Nothing here shows a window: the viewer is asked and told through signals.

#include "AccountClient.h"
#include "AccountKeychain.h"
#include "AccountReader.h"
#include "AccountShortGuide.h"
#include "AccountTypes.h"
#include "BackgroundWork.h"
#include "LanguageStrings.h"
#include "Playlist.h"

#include <QHash>
#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>
#include <set>
#include <vector>

class AccountLibrary : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 kStaleAfterSeconds = 24 * 60 * 60;
    static constexpr qint64 kWarnDaysAhead = 7;

    explicit AccountLibrary(const LanguageStrings& texts, QObject* parent = nullptr);
    ~AccountLibrary() override;

    // Reads <configFolder>/Korvanta/Accounts.xml, the passwords and the cached catalogues.
    void Load(const QString& configFolder);
    // The playlists every account is shown as, read but never changed here.
    void SetPlaylists(const std::vector<Playlist>* shown) { playlists = shown; }

    // Asks the panel at once; Added or Failed follows.
    void Add(const AccountLogin& login);
    void Refresh(const QString& source);
    void Rename(const QString& source, const QString& name);
    void Remove(const QString& source);
    // The password the viewer gave for an account whose secret service did not answer.
    void GivePassword(const QString& source, const QString& password);

    bool Owns(const QString& source) const { return IndexOf(source) >= 0; }
    bool IsBusy() const { return !asking.empty(); }
    // The address with its account's password put back, for the request leaving for the
    // panel; unchanged when it is none of an account's.
    QString Revealed(const QString& address) const;
    // An account's node or entry for the description box: its state, or a film's or a
    // series' details (asked of the panel once, when first shown).
    QString Describe(const Playlist& playlist, int entry);
    // A series' episodes, asked of the panel when its node is first opened.
    void OpenSeries(const QString& source, int entry);
    // The programmes now and next of a live channel while the account's guide has not come.
    void AskShortGuide(const QString& source, int entry);
    // What the panel told of a live entry's programmes from now on, for the description box;
    // asked of it (DetailsArrived follows) when nothing current is known.
    std::vector<ShortProgramme> ShortGuideOf(const Playlist& playlist, int entry);
    // A film's poster or a series' cover as its details gave it (an episode's: its series');
    // empty until they came.
    QString PosterOf(const Playlist& playlist, int entry) const;
    std::optional<AccountState> StateOf(const QString& source) const;
    // Tells what is seven days from its end, once a day per account.
    void WarnOfExpiry();

    void SetTimeout(int milliseconds) { client.SetTimeout(milliseconds); }
    void SetUserAgent(const QString& agent) { client.SetUserAgent(agent); }

signals:
    // An account's playlist, new or read again, to be shown in place of its previous one.
    void Built(const std::shared_ptr<Playlist>& playlist);
    // An account's playlist as its copy kept it, read at start.
    void CopyRead(const std::shared_ptr<Playlist>& playlist);
    // Episodes of a series that had none; and the account's name, error or refresh changed.
    void EntriesAdded(const QString& source, const std::shared_ptr<std::vector<PlaylistChannel>>& entries);
    void Renamed(const QString& source, const QString& name, const QString& lastError, const QDateTime& lastRefresh);
    void Removed(const QString& source);
    // An account the viewer added or refreshed could not be used; nothing loaded changed.
    void Failed(const QString& name, const QString& reason);
    // A refresh failed; the cached catalogue stays, message says why and of when it is.
    void CopyKept(const QString& name, const QString& message);
    // No secret service answered: the password is to be asked for (once this run).
    void PasswordNeeded(const QString& source, const QString& prompt, const QString& reason);
    // Details, a state or a short guide came for the description box or the status line.
    void DetailsArrived();
    void ShortGuideArrived(const QString& source, int entry, const QStringList& titles);
    // For the status line.
    void Notice(const QString& text);

private:
    struct Account
    {
        AccountRecord record;
        QString password;
        std::optional<AccountState> state;
        bool passwordAsked = false;
        bool built = false; // its catalogue came from the panel this run
    };
    struct Fetch; // the answers of one catalogue, as they come

    int IndexOf(const QString& source) const;
    const Playlist* Shown(const QString& source) const;
    AccountLogin LoginOf(const Account& account) const;
    void ReadCopy(int index);
    void Ask(const AccountLogin& login, const QString& name, bool adding);
    void AskLists(const std::shared_ptr<Fetch>& fetch);
    void AskState(const AccountLogin& login);
    void ListDone(const std::shared_ptr<Fetch>& fetch, AccountRefusal refusal);
    void Finish(const std::shared_ptr<Fetch>& fetch);
    void Refused(const QString& key, const QString& name, bool adding, AccountRefusal refusal);
    void Keep(const AccountLogin& login, const QString& name, const AccountState& state);
    void PasswordRead(const QString& key, const AccountKeychain::Answer& answer);
    void Save();
    QString Text(int index) const;
    QString RefusalText(AccountRefusal refusal) const;
    QString StateText(const Account& account) const;
    QString DetailsText(const FilmDetails& details) const;
    // The entry that has the details of entry: a series for its episodes; null for others.
    static const PlaylistChannel* DetailedEntry(const Playlist& playlist, int entry);

    const LanguageStrings& texts;
    std::vector<Account> accounts;
    const std::vector<Playlist>* playlists = nullptr;
    QString filePath;
    AccountClient client;
    AccountShortGuide shortGuide{client, this};
    AccountKeychain keychain;
    std::set<QString> asking;                    // account keys with a fetch under way
    QHash<QString, std::optional<FilmDetails>> details; // by source and entry id; nullopt while asked
    QHash<QString, QDate> warned;                // by account key: the day it was last warned of
    QTimer daily;
    BackgroundWork reading{this};                // last: gone first
};
