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
            Read read;
            if (!database->Open(path, &reason)) {
                qCWarning(lcFilms).noquote() << "places in films are not kept: " + path + ": " + reason;
                return read;
            }
            // Made here whole, so that the window only takes them over.
            for (FilmPlace& place : database->ReadAll()) {
                read.newest.emplace(place.updated, place.key);
                read.places.insert(place.key, std::move(place));
            }
            return read;
        },
        [this](Read read) {
            // What was kept while the file was read is newer than the file.
            const QHash<QString, FilmPlace> kept = std::exchange(places, std::move(read.places));
            newest = std::move(read.newest);
            for (const FilmPlace& place : kept)
                Insert(place);
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

void FilmPlaces::Insert(const FilmPlace& place)
{
    Remove(place.key);
    places.insert(place.key, place);
    newest.emplace(place.updated, place.key);
}

void FilmPlaces::Remove(const QString& key)
{
    const auto found = places.constFind(key);
    if (found == places.cend())
        return;
    newest.erase({found->updated, key});
    places.erase(found);
}

void FilmPlaces::Keep(const FilmPlace& place, bool quiet)
{
    Insert(place);
    Write(place);
    if (!quiet)
        emit Changed();
}

void FilmPlaces::Forget(const QString& key)
{
    if (!places.contains(key))
        return;
    Remove(key);
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
    for (auto at = newest.crbegin(); at != newest.crend() && shown.size() < std::size_t(kContinueShown); ++at) {
        const FilmPlace& place = *places.constFind(at->second);
        if (!place.watched && place.position > 0)
            shown.push_back(place);
    }
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
