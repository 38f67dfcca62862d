#pragma once
// Every film's place, kept in memory for the window and written one row at a time on a
// worker thread, so neither a save nor a hundred thousand kept places ever hold the window.

#include "BackgroundWork.h"
#include "FilmPlace.h"

#include <QHash>
#include <QObject>

#include <memory>
#include <vector>

class FilmDatabase;

class FilmPlaces : public QObject
{
    Q_OBJECT
public:
    // At most this many films are offered to continue: the newest.
    static constexpr int kContinueShown = 100;

    FilmPlaces();
    ~FilmPlaces() override;

    // Reads the file on the worker; Loaded follows. Places kept before that are not lost.
    void Open(const QString& path);
    bool IsLoaded() const { return loaded; }

    // Nothing when the film has no place kept (or was watched to its end).
    const FilmPlace* Find(const QString& key) const;
    bool Watched(const QString& key) const;
    // Kept in memory at once, on disk soon after. quiet: a periodic save, which changes no
    // list shown.
    void Keep(const FilmPlace& place, bool quiet = false);
    void Forget(const QString& key);
    // Newest first, at most kContinueShown, none watched.
    std::vector<FilmPlace> ToContinue() const;
    // Waits until every save given so far is on disk (at exit).
    void Flush();

signals:
    void Loaded();
    // The films to continue or the watched marks changed.
    void Changed();

private:
    void Write(const FilmPlace& place);

    std::shared_ptr<FilmDatabase> database;
    QHash<QString, FilmPlace> places;
    bool loaded = false;
    BackgroundWork work{this};
};
