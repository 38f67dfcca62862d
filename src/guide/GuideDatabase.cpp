#include "GuideDatabase.h"

#include "PrivateFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kSchemaVersion = 1;
constexpr int kBusyTimeoutMs = 2000;
constexpr mode_t kOwnerOnlyFile = 0600;

// Programmes refer to their channel by number; numbers are never reused, so a reader
// holding numbers from before an import never reads another channel's programmes.
constexpr const char* kSchema = R"(
CREATE TABLE guides(id INTEGER PRIMARY KEY, source TEXT UNIQUE NOT NULL, imported INTEGER NOT NULL,
                    problem INTEGER NOT NULL);
CREATE TABLE channels(cid INTEGER PRIMARY KEY AUTOINCREMENT, guide INTEGER NOT NULL, id TEXT NOT NULL,
                      names TEXT NOT NULL, icon TEXT NOT NULL);
CREATE INDEX channels_by_guide ON channels(guide, id);
CREATE TABLE programmes(channel INTEGER NOT NULL, start INTEGER NOT NULL, stop INTEGER, title TEXT NOT NULL,
                        sub_title TEXT NOT NULL, description TEXT NOT NULL, category TEXT NOT NULL,
                        episode TEXT NOT NULL, icon TEXT NOT NULL);
CREATE INDEX programmes_by_time ON programmes(channel, start);
)";

bool MakeOwnerOnly(const QString& path)
{
    if (!MakePrivateFolder(QFileInfo(path).absolutePath()))
        return false;
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, kOwnerOnlyFile);
    if (fd < 0)
        return false;
    const bool ok = ::fchmod(fd, kOwnerOnlyFile) == 0;
    ::close(fd);
    return ok;
}

} // namespace

GuideDatabase::~GuideDatabase()
{
    Close();
}

QString GuideDatabase::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
           + QStringLiteral("/Korvanta/guide.sqlite");
}

void GuideDatabase::Close()
{
    sqlite3_close_v2(db);
    db = nullptr;
}

bool GuideDatabase::Open(const QString& path)
{
    Close();
    if (!MakeOwnerOnly(path))
        return false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr)
                == SQLITE_OK
            && Prepare())
            return true;
        // Not a database of ours, or damaged: the guide is a cache, start it anew.
        Close();
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(path + QLatin1String(suffix));
        if (!MakeOwnerOnly(path))
            return false;
    }
    return false;
}

bool GuideDatabase::Prepare()
{
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    if (!Exec("PRAGMA journal_mode=WAL") || !Exec("PRAGMA synchronous=NORMAL"))
        return false;
    Statement version(*this, "PRAGMA user_version");
    if (!version.Step())
        return false;
    const qint64 found = version.Integer(0);
    version.Reset();
    if (found == kSchemaVersion)
        return true;
    if (!Exec("BEGIN IMMEDIATE"))
        return false;
    const bool made = Exec("DROP TABLE IF EXISTS programmes; DROP TABLE IF EXISTS channels; DROP TABLE IF EXISTS guides")
                      && Exec(kSchema)
                      && Exec(("PRAGMA user_version=" + std::to_string(kSchemaVersion)).c_str());
    return Exec(made ? "COMMIT" : "ROLLBACK") && made;
}

bool GuideDatabase::Exec(const char* sql) const
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

GuideDatabase::Statement::Statement(const GuideDatabase& database, const char* sql)
{
    sqlite3_prepare_v3(database.Handle(), sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
}

GuideDatabase::Statement::~Statement()
{
    sqlite3_finalize(statement);
}

GuideDatabase::Statement& GuideDatabase::Statement::Bind(int index, qint64 value)
{
    sqlite3_bind_int64(statement, index, value);
    return *this;
}

GuideDatabase::Statement& GuideDatabase::Statement::Bind(int index, const std::string& text)
{
    sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
}

GuideDatabase::Statement& GuideDatabase::Statement::Bind(int index, const QString& text)
{
    return Bind(index, text.toStdString());
}

GuideDatabase::Statement& GuideDatabase::Statement::BindNull(int index)
{
    sqlite3_bind_null(statement, index);
    return *this;
}

bool GuideDatabase::Statement::Step()
{
    return statement != nullptr && sqlite3_step(statement) == SQLITE_ROW;
}

bool GuideDatabase::Statement::Run()
{
    const int result = statement != nullptr ? sqlite3_step(statement) : SQLITE_ERROR;
    Reset();
    return result == SQLITE_DONE || result == SQLITE_ROW;
}

void GuideDatabase::Statement::Reset()
{
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
}

qint64 GuideDatabase::Statement::Integer(int column) const
{
    return sqlite3_column_int64(statement, column);
}

bool GuideDatabase::Statement::IsNull(int column) const
{
    return sqlite3_column_type(statement, column) == SQLITE_NULL;
}

QString GuideDatabase::Statement::Text(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(statement, column));
}
