#include "AccountLibrary.h"

#include "AccountAddress.h"
#include "AccountCache.h"
#include "AccountLists.h"
#include "AccountPlaylist.h"
#include "AccountsFile.h"
#include "AccountsTexts.h"
#include "GuidanceTexts.h"
#include "LogCategories.h"
#include "SourceNames.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>

#include <array>

namespace {

constexpr int kCheckEveryMs = 60 * 60 * 1000; // the daily refresh and warning look this often
constexpr const auto& kLists = AccountLists::kActions;

struct ListRead
{
    AccountRefusal refusal = AccountRefusal::None;
    AccountCatalogue part;
};

QString DetailsKey(const QString& source, const PlaylistChannel& entry)
{
    return source + QLatin1Char('\n') + QString::number(int(entry.kind)) + QLatin1Char('\n') + AccountPlaylist::IdOf(entry);
}

} // namespace

struct AccountLibrary::Fetch
{
    AccountLogin login;
    QString name;
    bool adding = false;
    AccountState state;
    std::array<QByteArray, kLists.size()> answers; // for the copy, once all have come
    AccountCatalogue catalogue;                    // each list read as it comes
    std::size_t pending = kLists.size();
    AccountRefusal refusal = AccountRefusal::None;
};

AccountLibrary::AccountLibrary(const LanguageStrings& texts, QObject* parent) : QObject(parent), texts(texts)
{
    daily.setInterval(kCheckEveryMs);
    connect(&daily, &QTimer::timeout, this, [this] {
        for (const Account& account : accounts)
            if (!account.password.isEmpty()
                && (!account.record.lastRefresh.isValid()
                    || account.record.lastRefresh.secsTo(QDateTime::currentDateTimeUtc()) > kStaleAfterSeconds))
                Ask(LoginOf(account), account.record.name, false);
        WarnOfExpiry();
    });
    daily.start();
}

AccountLibrary::~AccountLibrary() = default;

void AccountLibrary::Load(const QString& configFolder)
{
    filePath = configFolder + QStringLiteral("/Korvanta/Accounts.xml");
    std::vector<AccountRecord> records;
    if (LoadAccounts(filePath, records) == AccountsFileState::Damaged)
        qCWarning(lcAccounts, "%s is damaged; no provider accounts were loaded.", qPrintable(filePath));
    for (AccountRecord& record : records) {
        accounts.push_back({std::move(record), {}, {}, false, false});
        ReadCopy(static_cast<int>(accounts.size()) - 1);
        const QString key = accounts.back().record.Key();
        keychain.Read(key, [this, key](const AccountKeychain::Answer& answer) { PasswordRead(key, answer); });
    }
}

int AccountLibrary::IndexOf(const QString& source) const
{
    for (std::size_t k = 0; k < accounts.size(); ++k)
        if (AccountPlaylist::SourceOf(accounts[k].record) == source || accounts[k].record.Key() == source)
            return static_cast<int>(k);
    return -1;
}

AccountLogin AccountLibrary::LoginOf(const Account& account) const
{
    return {account.record.server, account.record.user, account.password};
}

// The cached catalogue, so that the tree is there before (or without) the network.
void AccountLibrary::ReadCopy(int index)
{
    const AccountRecord record = accounts[static_cast<std::size_t>(index)].record;
    reading.Run(
        [record] {
            std::array<QByteArray, kLists.size()> answers;
            for (std::size_t k = 0; k < kLists.size(); ++k)
                answers[k] = AccountCache::Read(record.Key(), QString::fromLatin1(kLists[k])).value_or(QByteArray());
            AccountCatalogue catalogue;
            AccountLists::ReadAll(answers, catalogue); // a damaged copy gives what it can; the refresh mends it
            return std::make_shared<Playlist>(AccountPlaylist::Build(record, catalogue));
        },
        [this](std::shared_ptr<Playlist> playlist) {
            const int index = IndexOf(playlist->source);
            if (index >= 0 && !accounts[static_cast<std::size_t>(index)].built) // a fetch came first
                emit CopyRead(playlist);
        });
}

void AccountLibrary::PasswordRead(const QString& key, const AccountKeychain::Answer& answer)
{
    const int index = IndexOf(key);
    if (index < 0)
        return;
    Account& account = accounts[static_cast<std::size_t>(index)];
    if (!answer.password.isEmpty()) {
        account.password = answer.password;
        const QDateTime last = account.record.lastRefresh;
        if (!last.isValid() || last.secsTo(QDateTime::currentDateTimeUtc()) > kStaleAfterSeconds)
            Ask(LoginOf(account), account.record.name, false);
        else
            AskState(LoginOf(account));
        return;
    }
    if (account.passwordAsked)
        return;
    account.passwordAsked = true; // once per start
    emit PasswordNeeded(AccountPlaylist::SourceOf(account.record),
                        Text(AccountsAskPassword).arg(account.record.user, account.record.server),
                        answer.serviceAnswered ? QString() : Text(AccountsNoSecretService).arg(answer.reason));
}

// The account's state for its description box and the expiry warning, the catalogue
// being fresh enough.
void AccountLibrary::AskState(const AccountLogin& login)
{
    client.Get(AccountAddress::Api(login), [this, key = login.Key()](const QByteArray& body, AccountRefusal refusal) {
        if (refusal != AccountRefusal::None)
            return;
        reading.Run([body] { return AccountReader::State(body); }, [this, key](AccountRead<AccountState> read) {
            const int index = IndexOf(key);
            if (index < 0 || read.refusal == AccountRefusal::NotPanel || read.refusal == AccountRefusal::WrongLogin)
                return;
            accounts[static_cast<std::size_t>(index)].state = read.value;
            emit DetailsArrived();
            WarnOfExpiry();
        });
    });
}

void AccountLibrary::GivePassword(const QString& source, const QString& password)
{
    const int index = IndexOf(source);
    if (index < 0 || password.isEmpty())
        return;
    Account& account = accounts[static_cast<std::size_t>(index)];
    account.password = password;
    Ask(LoginOf(account), account.record.name, false);
}

void AccountLibrary::Add(const AccountLogin& given)
{
    AccountLogin login = given;
    login.server = AccountAddress::ServerOf(given.server);
    if (login.server.isEmpty()) {
        emit Failed(given.server, Text(AccountsBadServer));
        return;
    }
    if (!login.IsComplete()) {
        emit Failed(login.server, Text(AccountsFieldsMissing));
        return;
    }
    const int existing = IndexOf(login.Key());
    Ask(login, existing >= 0 ? accounts[std::size_t(existing)].record.name : QUrl(login.server).host(), true);
}

void AccountLibrary::Refresh(const QString& source)
{
    const int index = IndexOf(source);
    if (index < 0)
        return;
    const Account& account = accounts[static_cast<std::size_t>(index)];
    if (account.password.isEmpty()) {
        emit PasswordNeeded(source, Text(AccountsAskPassword).arg(account.record.user, account.record.server), {});
        return;
    }
    Ask(LoginOf(account), account.record.name, true);
}

void AccountLibrary::Rename(const QString& source, const QString& name)
{
    const int index = IndexOf(source);
    if (index < 0 || name.trimmed().isEmpty())
        return;
    AccountRecord& record = accounts[static_cast<std::size_t>(index)].record;
    record.name = name.trimmed();
    Save();
    emit Renamed(source, record.name, record.lastError, record.lastRefresh);
}

void AccountLibrary::Remove(const QString& source)
{
    const int index = IndexOf(source);
    if (index < 0)
        return;
    const QString key = accounts[static_cast<std::size_t>(index)].record.Key();
    accounts.erase(accounts.begin() + index);
    keychain.Remove(key);
    reading.Run([key] { AccountCache::Remove(key); return 0; }, [](int) {});
    Save();
    emit Removed(source);
}

// The login first: its answer says whether the account may be used at all.
void AccountLibrary::Ask(const AccountLogin& login, const QString& name, bool adding)
{
    if (!asking.insert(login.Key()).second)
        return;
    auto fetch = std::make_shared<Fetch>();
    fetch->login = login;
    fetch->name = name;
    fetch->adding = adding;
    client.Get(AccountAddress::Api(login), [this, fetch](const QByteArray& body, AccountRefusal refusal) {
        if (refusal != AccountRefusal::None) {
            Refused(fetch->login.Key(), fetch->name, fetch->adding, refusal);
            return;
        }
        reading.Run([body] { return AccountReader::State(body); },
                    [this, fetch](AccountRead<AccountState> read) {
                        // A background refresh while the viewer watches takes a connection.
                        if (read.refusal == AccountRefusal::TooManyConnections && !fetch->adding)
                            read.refusal = AccountRefusal::None;
                        if (read.refusal != AccountRefusal::None) {
                            Refused(fetch->login.Key(), fetch->name, fetch->adding, read.refusal);
                            return;
                        }
                        fetch->state = read.value;
                        AskLists(fetch);
                    });
    });
}

// Each answer is read on the worker as it comes, while the others are still on their way.
void AccountLibrary::AskLists(const std::shared_ptr<Fetch>& fetch)
{
    for (std::size_t k = 0; k < kLists.size(); ++k) {
        client.Get(AccountAddress::Api(fetch->login, QString::fromLatin1(kLists[k])),
                   [this, fetch, k](const QByteArray& body, AccountRefusal refusal) {
                       fetch->answers[k] = body;
                       if (refusal != AccountRefusal::None) {
                           ListDone(fetch, refusal);
                           return;
                       }
                       reading.Run(
                           [body, k] {
                               ListRead read;
                               read.refusal = AccountLists::Read(k, body, read.part);
                               return read;
                           },
                           [this, fetch](ListRead read) {
                               AccountLists::Join(fetch->catalogue, read.part);
                               ListDone(fetch, read.refusal);
                           });
                   });
    }
}

void AccountLibrary::ListDone(const std::shared_ptr<Fetch>& fetch, AccountRefusal refusal)
{
    if (fetch->refusal == AccountRefusal::None)
        fetch->refusal = refusal;
    if (--fetch->pending == 0)
        Finish(fetch);
}

void AccountLibrary::Finish(const std::shared_ptr<Fetch>& fetch)
{
    if (fetch->refusal != AccountRefusal::None) {
        Refused(fetch->login.Key(), fetch->name, fetch->adding, fetch->refusal);
        return;
    }
    AccountRecord record{fetch->name, fetch->login.server, fetch->login.user, QDateTime::currentDateTimeUtc(), {},
                         fetch->state.zone};
    reading.Run(
        [record, answers = std::move(fetch->answers), catalogue = std::move(fetch->catalogue)] {
            for (std::size_t k = 0; k < kLists.size(); ++k)
                AccountCache::Write(record.Key(), QString::fromLatin1(kLists[k]), answers[k]);
            return std::make_shared<Playlist>(AccountPlaylist::Build(record, catalogue));
        },
        [this, fetch](std::shared_ptr<Playlist> playlist) {
            asking.erase(fetch->login.Key());
            Keep(fetch->login, fetch->name, fetch->state);
            const int index = IndexOf(fetch->login.Key());
            accounts[static_cast<std::size_t>(index)].built = true;
            playlist->name = accounts[static_cast<std::size_t>(index)].record.name;
            qCInfo(lcAccounts) << "catalogue of" << fetch->login.server << "read:" << playlist->channels.size()
                               << "entries";
            emit Built(playlist);
            WarnOfExpiry();
        });
}

void AccountLibrary::Keep(const AccountLogin& login, const QString& name, const AccountState& state)
{
    int index = IndexOf(login.Key());
    if (index < 0) {
        accounts.push_back({{name, login.server, login.user, {}, {}, {}}, {}, {}, true, false});
        index = static_cast<int>(accounts.size()) - 1;
    }
    Account& account = accounts[static_cast<std::size_t>(index)];
    const bool newPassword = account.password != login.password;
    account.password = login.password;
    account.state = state;
    account.record.zone = state.zone;
    account.record.lastRefresh = QDateTime::currentDateTimeUtc();
    account.record.lastError.clear();
    Save();
    if (!newPassword)
        return;
    const QString source = AccountPlaylist::SourceOf(account.record);
    keychain.Write(login.Key(), login.password, [this, source](const AccountKeychain::Answer& answer) {
        if (!answer.serviceAnswered)
            emit Notice(Text(AccountsNoSecretService).arg(answer.reason));
    });
}

void AccountLibrary::Refused(const QString& key, const QString& name, bool adding, AccountRefusal refusal)
{
    asking.erase(key);
    const QString reason = RefusalText(refusal);
    const int index = IndexOf(key);
    if (index < 0) {
        emit Failed(name, reason);
        return;
    }
    AccountRecord& record = accounts[static_cast<std::size_t>(index)].record;
    record.lastError = reason;
    Save();
    emit Renamed(AccountPlaylist::SourceOf(record), record.name, record.lastError, record.lastRefresh);
    if (!adding)
        return;
    if (record.lastRefresh.isValid())
        emit CopyKept(record.name, Text(AccountsCopyKept).arg(reason, QLocale().toString(record.lastRefresh.toLocalTime(), QLocale::ShortFormat)));
    else
        emit Failed(record.name, reason);
}

void AccountLibrary::Save()
{
    if (filePath.isEmpty())
        return;
    std::vector<AccountRecord> records;
    for (const Account& account : accounts)
        records.push_back(account.record);
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    QString reason;
    if (!SaveAccounts(filePath, records, &reason))
        qCWarning(lcAccounts, "%s could not be written: %s", qPrintable(filePath), qPrintable(reason));
}

QString AccountLibrary::Revealed(const QString& address) const
{
    for (const Account& account : accounts) {
        if (account.password.isEmpty())
            continue;
        const QString revealed = AccountAddress::Revealed(address, LoginOf(account));
        if (revealed != address)
            return revealed;
    }
    return address;
}

std::optional<AccountState> AccountLibrary::StateOf(const QString& source) const
{
    const int index = IndexOf(source);
    return index >= 0 ? accounts[static_cast<std::size_t>(index)].state : std::nullopt;
}

QString AccountLibrary::Describe(const Playlist& playlist, int entry)
{
    const int index = IndexOf(playlist.source);
    if (index < 0)
        return {};
    if (entry < 0 || static_cast<std::size_t>(entry) >= playlist.channels.size())
        return StateText(accounts[static_cast<std::size_t>(index)]);
    const PlaylistChannel* channel = DetailedEntry(playlist, entry);
    if (channel == nullptr)
        return {};
    const QString key = DetailsKey(playlist.source, *channel);
    if (const auto known = details.constFind(key); known != details.constEnd())
        return known->has_value() ? DetailsText(**known) : Text(AccountsLoading);
    details.insert(key, std::nullopt);
    const bool film = channel->kind == EntryKind::Film;
    const QString more = (film ? QStringLiteral("vod_id=") : QStringLiteral("series_id="))
                         + QString::fromUtf8(QUrl::toPercentEncoding(AccountPlaylist::IdOf(*channel)));
    const AccountLogin login = LoginOf(accounts[static_cast<std::size_t>(index)]);
    client.Get(AccountAddress::Api(login, film ? QStringLiteral("get_vod_info") : QStringLiteral("get_series_info"), more),
               [this, key, film](const QByteArray& body, AccountRefusal refusal) {
                   if (refusal != AccountRefusal::None) {
                       details.remove(key); // asked again when next shown
                       return;
                   }
                   reading.Run(
                       [body, film] {
                           return film ? AccountReader::FilmInfo(body).value
                                       : AccountReader::SeriesDetails(body).value.details;
                       },
                       [this, key](FilmDetails read) {
                           details.insert(key, read);
                           emit DetailsArrived();
                       });
               });
    return Text(AccountsLoading);
}

const PlaylistChannel* AccountLibrary::DetailedEntry(const Playlist& playlist, int entry)
{
    if (entry < 0 || static_cast<std::size_t>(entry) >= playlist.channels.size())
        return nullptr;
    const PlaylistChannel* channel = &playlist.channels[static_cast<std::size_t>(entry)];
    if (channel->kind == EntryKind::Episode && channel->series >= 0
        && static_cast<std::size_t>(channel->series) < playlist.channels.size())
        channel = &playlist.channels[static_cast<std::size_t>(channel->series)];
    return channel->kind == EntryKind::Film || channel->kind == EntryKind::Series ? channel : nullptr;
}

QString AccountLibrary::PosterOf(const Playlist& playlist, int entry) const
{
    const PlaylistChannel* channel = Owns(playlist.source) ? DetailedEntry(playlist, entry) : nullptr;
    if (channel == nullptr)
        return {};
    const std::optional<FilmDetails> known = details.value(DetailsKey(playlist.source, *channel));
    return known ? known->poster : QString();
}

const Playlist* AccountLibrary::Shown(const QString& source) const
{
    if (playlists == nullptr)
        return nullptr;
    const auto shown = std::find_if(playlists->begin(), playlists->end(), [&](const Playlist& p) { return p.source == source; });
    return shown != playlists->end() ? &*shown : nullptr;
}

void AccountLibrary::OpenSeries(const QString& source, int entry)
{
    const int index = IndexOf(source);
    const Playlist* shown = Shown(source);
    if (index < 0 || shown == nullptr || entry < 0 || static_cast<std::size_t>(entry) >= shown->channels.size())
        return;
    const PlaylistChannel& series = shown->channels[static_cast<std::size_t>(entry)];
    const QString asked = source + QStringLiteral("\nseries\n") + series.id;
    if (series.kind != EntryKind::Series || !asking.insert(asked).second)
        return;
    const Account& account = accounts[static_cast<std::size_t>(index)];
    const AccountRecord record = account.record;
    client.Get(AccountAddress::Api(LoginOf(account), QStringLiteral("get_series_info"),
                                   QStringLiteral("series_id=") + QString::fromUtf8(QUrl::toPercentEncoding(series.id))),
               [this, asked, source, entry, record](const QByteArray& body, AccountRefusal refusal) {
                   if (refusal != AccountRefusal::None) {
                       asking.erase(asked);
                       emit Notice(RefusalText(refusal));
                       return;
                   }
                   reading.Run([body] { return AccountReader::SeriesDetails(body); },
                               [this, asked, source, entry, record](AccountRead<AccountReader::SeriesInfo> read) {
                                   asking.erase(asked);
                                   const Playlist* shown = Shown(source);
                                   if (read.refusal != AccountRefusal::None || shown == nullptr)
                                       return;
                                   auto entries = std::make_shared<std::vector<PlaylistChannel>>(
                                       AccountPlaylist::EpisodesOf(*shown, entry, record, read.value.episodes));
                                   if (!entries->empty())
                                       emit EntriesAdded(source, entries);
                               });
               });
}

void AccountLibrary::AskShortGuide(const QString& source, int entry)
{
    const int index = IndexOf(source);
    const Playlist* shown = Shown(source);
    if (index < 0 || shown == nullptr || entry < 0 || static_cast<std::size_t>(entry) >= shown->channels.size())
        return;
    shortGuide.Ask(LoginOf(accounts[static_cast<std::size_t>(index)]), source,
                   AccountPlaylist::IdOf(shown->channels[static_cast<std::size_t>(entry)]),
                   [this, source, entry](const std::vector<ShortProgramme>& programmes) {
                       QStringList titles;
                       for (const ShortProgramme& programme : programmes)
                           titles.append(programme.title);
                       emit ShortGuideArrived(source, entry, titles);
                       emit DetailsArrived(); // the box may show the same channel
                   });
}

std::vector<ShortProgramme> AccountLibrary::ShortGuideOf(const Playlist& playlist, int entry)
{
    const int index = IndexOf(playlist.source);
    if (index < 0 || entry < 0 || static_cast<std::size_t>(entry) >= playlist.channels.size()
        || playlist.channels[static_cast<std::size_t>(entry)].kind != EntryKind::Channel)
        return {};
    const QString id = AccountPlaylist::IdOf(playlist.channels[static_cast<std::size_t>(entry)]);
    if (!shortGuide.IsCurrent(playlist.source, id) && !shortGuide.IsAsked(playlist.source, id))
        shortGuide.Ask(LoginOf(accounts[static_cast<std::size_t>(index)]), playlist.source, id,
                       [this](const std::vector<ShortProgramme>&) { emit DetailsArrived(); });
    return shortGuide.Known(playlist.source, id);
}

void AccountLibrary::WarnOfExpiry()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const Account& account : accounts) {
        if (!account.state || !account.state->expiry.isValid())
            continue;
        const qint64 left = now.secsTo(account.state->expiry);
        const QString key = account.record.Key();
        if (left < 0 || left > kWarnDaysAhead * kStaleAfterSeconds || warned.value(key) == now.date())
            continue;
        warned.insert(key, now.date());
        emit Notice(Text(AccountsExpiresSoon)
                        .arg(account.record.name, QLocale().toString(account.state->expiry.toLocalTime().date(),
                                                                     QLocale::ShortFormat)));
    }
}

QString AccountLibrary::Text(int index) const
{
    return texts.Text(Accounts, index);
}

QString AccountLibrary::RefusalText(AccountRefusal refusal) const
{
    // The refusals' texts follow one another in the enum's order.
    return Text(AccountsWrongLogin + static_cast<int>(refusal) - static_cast<int>(AccountRefusal::WrongLogin));
}

QString AccountLibrary::StateText(const Account& account) const
{
    QStringList lines;
    if (account.state) {
        const AccountState& state = *account.state;
        lines.append(Text(AccountsStateLine).arg(state.status));
        lines.append(Text(AccountsExpiryLine)
                         .arg(state.expiry.isValid() ? QLocale().toString(state.expiry.toLocalTime(), QLocale::ShortFormat)
                                                     : Text(AccountsNoExpiry)));
        lines.append(Text(AccountsConnectionsLine).arg(state.activeConnections).arg(state.maxConnections));
    }
    const AccountRecord& record = account.record;
    const QString when = QLocale().toString(record.lastRefresh.toLocalTime(), QLocale::ShortFormat);
    if (!record.lastError.isEmpty())
        lines.append(record.lastRefresh.isValid() ? Text(AccountsCopyKept).arg(record.lastError, when) : record.lastError);
    else if (record.lastRefresh.isValid())
        lines.append(texts[Guidance].value(GuidanceLastRefreshGood).arg(when));
    return lines.join(QLatin1Char('\n'));
}

QString AccountLibrary::DetailsText(const FilmDetails& film) const
{
    QStringList lines;
    const auto add = [&](int text, const QString& value) {
        if (!value.isEmpty())
            lines.append(Text(text).arg(value));
    };
    add(AccountsYearLine, film.year);
    add(AccountsRatingLine, film.rating);
    add(AccountsLengthLine, film.minutes > 0 ? QString::number(film.minutes) : QString());
    add(AccountsGenreLine, film.genre);
    add(AccountsCastLine, film.cast);
    if (!film.plot.isEmpty())
        lines.append(QString() + QLatin1Char('\n') + film.plot);
    return lines.join(QLatin1Char('\n'));
}
