#include "FilmPlaces.h"

#include "FilmDatabase.h"
#include "LogCategories.h"

#include <algorithm>

FilmPlaces::FilmPlaces() : database(std::make_shared<FilmDatabase>()) {}

FilmPlaces::~FilmPlaces()
{
    work.WaitForDone();
}

void FilmPlaces::Open(const QString& path)
{
    work.Run(
        [database = database, path] {
            QString reason;
            if (!database->Open(path, &reason)) {
                qCWarning(lcFilms).noquote() << "places in films are not kept: " + path + ": " + reason;
                return std::vector<FilmPlace>();
            }
            return database->ReadAll();
        },
        [this](std::vector<FilmPlace> read) {
            // What was kept while the file was read is newer than the file.
            for (FilmPlace& place : read)
                places.insert(place.key, std::move(place));
            loaded = true;
            emit Loaded();
            emit Changed();
        });
}

const FilmPlace* FilmPlaces::Find(const QString& key) const
{
    const auto found = places.constFind(key);
    return found == places.cend() || found->watched ? nullptr : &*found;
}

bool FilmPlaces::Watched(const QString& key) const
{
    const auto found = places.constFind(key);
    return found != places.cend() && found->watched;
}

void FilmPlaces::Keep(const FilmPlace& place, bool quiet)
{
    places.insert(place.key, place);
    Write(place);
    if (!quiet)
        emit Changed();
}

void FilmPlaces::Forget(const QString& key)
{
    if (places.remove(key) == 0)
        return;
    work.Run(
        [database = database, key] {
            QString reason;
            if (database->IsOpen() && !database->Remove(key, &reason))
                qCWarning(lcFilms).noquote() << "a film's place could not be forgotten: " + reason;
            return 0;
        },
        [](int) {});
    emit Changed();
}

std::vector<FilmPlace> FilmPlaces::ToContinue() const
{
    std::vector<FilmPlace> shown;
    for (const FilmPlace& place : places)
        if (!place.watched && place.position > 0)
            shown.push_back(place);
    const auto newer = [](const FilmPlace& a, const FilmPlace& b) { return a.updated > b.updated; };
    const auto end = shown.begin() + std::min<qsizetype>(kContinueShown, qsizetype(shown.size()));
    std::partial_sort(shown.begin(), end, shown.end(), newer);
    shown.erase(end, shown.end());
    return shown;
}

void FilmPlaces::Flush()
{
    work.WaitForDone();
}

void FilmPlaces::Write(const FilmPlace& place)
{
    work.Run(
        [database = database, place] {
            QString reason;
            // A full disk costs this save alone: the rows already written stay as they are.
            if (database->IsOpen() && !database->Write(place, &reason))
                qCWarning(lcFilms).noquote() << "a film's place could not be saved: " + reason;
            return 0;
        },
        [](int) {});
}
