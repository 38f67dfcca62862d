#include "FilmDatabase.h"

#include "PrivateFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kBusyTimeoutMs = 2000;
constexpr mode_t kOwnerOnlyFile = S_IRUSR | S_IWUSR;

constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS places(key TEXT PRIMARY KEY, address TEXT NOT NULL, name TEXT NOT NULL,
                                  playlist TEXT NOT NULL, grp TEXT NOT NULL, agent TEXT NOT NULL,
                                  referrer TEXT NOT NULL, poster TEXT NOT NULL, position REAL NOT NULL,
                                  length REAL NOT NULL, watched INTEGER NOT NULL, updated INTEGER NOT NULL);
)";

enum Column { Key, Address, Name, Playlist, Group, Agent, Referrer, Poster, Position, Length, Watched, Updated };

// Made owner-only before the engine opens it, so it is never readable by others, not even
// for a moment.
bool MakeOwnerOnly(const QString& path)
{
    if (!MakePrivateFolder(QFileInfo(path).absolutePath()))
        return false;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, kOwnerOnlyFile);
    if (fd < 0)
        return false;
    const bool ok = ::fchmod(fd, kOwnerOnlyFile) == 0;
    ::close(fd);
    return ok;
}

QString TextOf(sqlite3_stmt* statement, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                             sqlite3_column_bytes(statement, column));
}

void BindText(sqlite3_stmt* statement, int column, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    sqlite3_bind_text(statement, column + 1, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
}

// One statement, finalised however its use ends.
class Statement
{
public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &statement, nullptr); }
    ~Statement() { sqlite3_finalize(statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* operator*() const { return statement; }
    bool Ready() const { return statement != nullptr; }

private:
    sqlite3_stmt* statement = nullptr;
};

} // namespace

FilmDatabase::~FilmDatabase()
{
    Close();
}

QString FilmDatabase::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Korvanta/Films.sqlite");
}

void FilmDatabase::Close()
{
    sqlite3_close_v2(db);
    db = nullptr;
}

bool FilmDatabase::Open(const QString& path, QString* reason)
{
    Close();
    if (!MakeOwnerOnly(path)) {
        *reason = QStringLiteral("the file cannot be made readable by its owner alone");
        return false;
    }
    const bool opened = sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr)
                        == SQLITE_OK;
    if (opened) {
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        if (Exec("PRAGMA journal_mode=WAL") && Exec("PRAGMA synchronous=NORMAL") && Exec(kSchema))
            return true;
    }
    *reason = LastError();
    Close(); // not ours, or damaged: kept as it is for the viewer to look at
    return false;
}

std::vector<FilmPlace> FilmDatabase::ReadAll() const
{
    std::vector<FilmPlace> places;
    const Statement select(db, "SELECT key, address, name, playlist, grp, agent, referrer, poster, position, length, "
                               "watched, updated FROM places");
    while (select.Ready() && sqlite3_step(*select) == SQLITE_ROW) {
        FilmPlace place;
        place.key = TextOf(*select, Key);
        place.request.address = TextOf(*select, Address);
        place.request.name = TextOf(*select, Name);
        place.request.playlist = TextOf(*select, Playlist);
        place.request.group = TextOf(*select, Group);
        place.request.headers = {TextOf(*select, Agent), TextOf(*select, Referrer)};
        place.poster = TextOf(*select, Poster);
        place.position = sqlite3_column_double(*select, Position);
        place.length = sqlite3_column_double(*select, Length);
        place.watched = sqlite3_column_int(*select, Watched) != 0;
        place.updated = sqlite3_column_int64(*select, Updated);
        places.push_back(std::move(place));
    }
    return places;
}

bool FilmDatabase::Write(const FilmPlace& place, QString* reason)
{
    const Statement insert(db, "INSERT OR REPLACE INTO places VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)");
    if (!insert.Ready()) {
        *reason = LastError();
        return false;
    }
    const ChannelRequest& request = place.request;
    for (const auto& [column, text] : {std::pair{Key, place.key}, {Address, request.address}, {Name, request.name},
                                       {Playlist, request.playlist}, {Group, request.group},
                                       {Agent, request.headers.userAgent}, {Referrer, request.headers.referrer},
                                       {Poster, place.poster}})
        BindText(*insert, column, text);
    sqlite3_bind_double(*insert, Position + 1, place.position);
    sqlite3_bind_double(*insert, Length + 1, place.length);
    sqlite3_bind_int(*insert, Watched + 1, place.watched ? 1 : 0);
    sqlite3_bind_int64(*insert, Updated + 1, place.updated);
    if (sqlite3_step(*insert) == SQLITE_DONE)
        return true;
    *reason = LastError();
    return false;
}

bool FilmDatabase::Remove(const QString& key, QString* reason)
{
    const Statement remove(db, "DELETE FROM places WHERE key = ?1");
    if (remove.Ready()) {
        BindText(*remove, Key, key);
        if (sqlite3_step(*remove) == SQLITE_DONE)
            return true;
    }
    *reason = LastError();
    return false;
}

bool FilmDatabase::Exec(const char* sql) const
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

QString FilmDatabase::LastError() const
{
    return db != nullptr ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}
