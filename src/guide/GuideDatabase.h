#pragma once
// The guide's SQLite file, $XDG_CACHE_HOME/Korvanta/guide.sqlite: one connection, with the
// schema in place. Each thread that reads or writes has its own. It is a cache: a file
// that is not such a database is replaced by an empty one.

#include <QByteArray>
#include <QString>

#include <string>

struct sqlite3;
struct sqlite3_stmt;

class GuideDatabase
{
public:
    GuideDatabase() = default;
    ~GuideDatabase();
    GuideDatabase(const GuideDatabase&) = delete;
    GuideDatabase& operator=(const GuideDatabase&) = delete;

    static QString DefaultPath();

    // Creates the folder (owner only), the file (owner only) and the schema as needed.
    bool Open(const QString& path);
    bool IsOpen() const { return db != nullptr; }
    sqlite3* Handle() const { return db; }
    bool Exec(const char* sql) const;

    // A prepared statement, reset for reuse after each run.
    class Statement
    {
    public:
        Statement(const GuideDatabase& database, const char* sql);
        ~Statement();
        Statement(const Statement&) = delete;
        Statement& operator=(const Statement&) = delete;

        Statement& Bind(int index, qint64 value);
        Statement& Bind(int index, const std::string& text);
        Statement& Bind(int index, const QString& text);
        Statement& BindNull(int index);
        // True while a row is there to read.
        bool Step();
        // Runs a statement that returns no rows; false on failure.
        bool Run();
        void Reset();

        qint64 Integer(int column) const;
        bool IsNull(int column) const;
        QString Text(int column) const;

    private:
        sqlite3_stmt* statement = nullptr;
    };

private:
    bool Prepare();
    void Close();

    sqlite3* db = nullptr;
};
