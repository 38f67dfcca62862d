#include "FilmControls.h"

#include "CommandId.h"
#include "FilmsTexts.h"
#include "LogCategories.h"
#include "MpvPlayer.h"
#include "PositionBar.h"
#include "TimeshiftTexts.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kCountdownStepMs = 1000;
constexpr double kStepSeconds = 10;
constexpr double kLongStepSeconds = 60;
// A position further than this from where playing on would have brought it was a jump.
constexpr double kJumpSeconds = 1.5;

// Played from the viewer's own list, at its own address: only such an entry can be a film.
bool Candidate(const ChannelRequest& request)
{
    return request.IsOwn() && !request.FromArchive() && !request.IsEmpty();
}
} // namespace

FilmControls::FilmControls(MpvPlayer& engine, FilmPlaces& places, const LanguageStrings& texts)
    : engine(engine), places(places), texts(texts)
{
    connect(&ticker, &QTimer::timeout, this, &FilmControls::Tick);
    offer.setSingleShot(true);
    connect(&offer, &QTimer::timeout, this, &FilmControls::Changed);
    connect(&countdown, &QTimer::timeout, this, &FilmControls::CountDown);
}

void FilmControls::SetCatalogue(NextOf next, PosterOf poster)
{
    nextOf = std::move(next);
    posterOf = std::move(poster);
}

double FilmControls::Starting(const ChannelRequest& asked)
{
    CancelNext();
    if (film && !watched)
        Keep(false);
    const bool wasFilm = film;
    film = watched = false;
    position = length = 0;
    resumedAt = -1;
    offer.stop();
    request = Candidate(asked) ? asked : ChannelRequest();
    key = request.IsEmpty() ? QString() : FilmKeyOf(request);
    if (request.IsEmpty()) {
        ticker.stop();
        if (wasFilm)
            emit Changed();
        return -1;
    }
    ticker.start(kTickMs);
    if (wasFilm)
        emit Changed();
    const FilmPlace* kept = places.Find(key);
    if (kept == nullptr || kept->position <= 0)
        return -1;
    resumedAt = std::max(0.0, kept->position - kResumeBeforeSeconds);
    return resumedAt;
}

void FilmControls::ShowPlayState(const PlayState& state)
{
    if (request.IsEmpty() || state.request != request)
        return;
    if (state.state == PLAYSTATE_MEDIA_ENDED && film)
        Ended();
    else if (state.Ended() && film && !watched)
        Keep(false); // stopped, or lost: the place stays where it was
    if (state.Ended())
        ticker.stop();
    else if (!ticker.isActive())
        ticker.start(kTickMs);
}

void FilmControls::Leave()
{
    if (film && !watched)
        Keep(false);
    places.Flush();
}

bool FilmControls::Paused() const
{
    return film && engine.Film().Paused();
}

void FilmControls::Tick()
{
    const EngineFilm& engineFilm = engine.Film();
    if (!engineFilm.IsFilm())
        return; // live, or not known yet: what plays is not a film (still)
    if (!film)
        Detected();
    const double expected = position + (engineFilm.Paused() ? 0 : kTickMs / 1000.0);
    position = engineFilm.Position();
    length = engineFilm.Duration();
    if (std::abs(position - expected) > kJumpSeconds)
        emit Seeked(position);
    if (!watched && ReachedWatched()) {
        watched = true;
        Keep(false);
    } else if (!watched && sinceSaved.elapsed() >= kSaveEverySeconds * 1000) {
        Keep(true);
    }
    emit Changed();
}

void FilmControls::Detected()
{
    film = true;
    position = engine.Film().Position();
    length = engine.Film().Duration();
    sinceSaved.start();
    qCInfo(lcFilms).noquote() << "playing as a film:" << request.name << length << "s";
    if (resumedAt >= 0)
        offer.start(kOfferMs);
}

bool FilmControls::ReachedWatched() const
{
    double threshold = length * kWatchedShare;
    if (length >= kWatchedTailFromSeconds)
        threshold = std::min(threshold, length - kWatchedTailSeconds);
    return length > 0 && position >= threshold;
}

void FilmControls::Keep(bool quiet)
{
    FilmPlace place{key, request, posterOf ? posterOf(request) : QString(), watched ? 0 : position, length, watched,
                    QDateTime::currentSecsSinceEpoch()};
    // Headers and addresses are kept as played; the key leaves the credentials out.
    place.request.origin = {};
    places.Keep(place, quiet);
    sinceSaved.start();
}

void FilmControls::Ended()
{
    position = length;
    if (!watched) {
        watched = true;
        Keep(false);
    }
    next = nextOf ? nextOf(request) : ChannelRequest();
    if (next.IsEmpty())
        return;
    secondsLeft = kCountdownSeconds;
    emit CountdownChanged(texts.Text(Films, FilmsNextEpisode).arg(secondsLeft));
    countdown.start(kCountdownStepMs);
}

void FilmControls::CountDown()
{
    if (--secondsLeft > 0) {
        emit CountdownChanged(texts.Text(Films, FilmsNextEpisode).arg(secondsLeft));
        return;
    }
    countdown.stop();
    emit CountdownChanged(QString());
    emit StartRequested(next);
}

bool FilmControls::CancelNext()
{
    if (!countdown.isActive())
        return false;
    countdown.stop();
    emit CountdownChanged(QString());
    return true;
}

bool FilmControls::Command(int id)
{
    if (!film)
        return false;
    switch (id) {
    case ID_PAUSE:
        TogglePause();
        return true;
    case ID_RESUME:
        SetPaused(false);
        return true;
    case ID_STEP_BACK:
    case ID_STEP_FORWARD:
        SeekTo(position + (id == ID_STEP_BACK ? -kStepSeconds : kStepSeconds));
        return true;
    case ID_MINUTE_BACK:
    case ID_MINUTE_FORWARD:
        SeekTo(position + (id == ID_MINUTE_BACK ? -kLongStepSeconds : kLongStepSeconds));
        return true;
    case ID_FILM_START:
        SeekTo(0);
        return true;
    case ID_BACK_TO_LIVE:
        return true; // a film has no live edge
    default:
        return false;
    }
}

void FilmControls::TogglePause()
{
    SetPaused(!Paused());
}

void FilmControls::SetPaused(bool paused)
{
    if (!film)
        return;
    engine.Film().SetPaused(paused);
    if (paused)
        Keep(true);
    emit Changed();
}

void FilmControls::SeekTo(double seconds)
{
    if (!film)
        return;
    position = std::clamp(seconds, 0.0, length);
    offer.stop(); // Home, or another jump: the offer is answered
    engine.Film().SeekTo(position);
    emit Seeked(position);
    emit Changed();
}

QString FilmControls::StatusText(const QString& name) const
{
    if (offer.isActive())
        return name + QStringLiteral("  ") + texts.Text(Films, FilmsResumed).arg(PositionBar::Clock(resumedAt));
    const QString where = PositionBar::Clock(position) + QStringLiteral(" / ") + PositionBar::Clock(length);
    return (Paused() ? texts.Text(Timeshift, TimeshiftPaused) : name) + QStringLiteral("  ") + where;
}
