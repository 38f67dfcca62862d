#pragma once
// The file of the viewer's places in films, $XDG_DATA_HOME/Korvanta/Films.sqlite, readable
// by the viewer alone. One row per film; a save writes that row alone, so a crash or a full
// disk costs at most the row being written. A file that is no such database is left as it
// is: the places then live for this run only.

#include "FilmPlace.h"

#include <QString>

#include <vector>

struct sqlite3;

class FilmDatabase
{
public:
    FilmDatabase() = default;
    ~FilmDatabase();
    FilmDatabase(const FilmDatabase&) = delete;
    FilmDatabase& operator=(const FilmDatabase&) = delete;

    static QString DefaultPath();

    // Creates the folder and the file (owner only) and the table as needed; false with the
    // reason when the file cannot be used.
    bool Open(const QString& path, QString* reason);
    bool IsOpen() const { return db != nullptr; }

    std::vector<FilmPlace> ReadAll() const;
    // Writes or replaces the film's row; false with the reason when the disk refuses it.
    bool Write(const FilmPlace& place, QString* reason);
    bool Remove(const QString& key, QString* reason);

private:
    bool Exec(const char* sql) const;
    QString LastError() const;
    void Close();

    sqlite3* db = nullptr;
};
