#include "AccountReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QTimeZone>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxName = 500;
constexpr int kMaxAddress = 2000;
constexpr int kMaxPlot = 8000;
constexpr int kMaxDays = 365;
constexpr int kMaxSeason = 10000;
constexpr int kSecondsPerMinute = 60;
constexpr int kZoneStepSeconds = 15 * 60; // zones differ from UTC by whole quarter hours
constexpr int kMaxZoneSeconds = 14 * 60 * 60;

// Numbers come as numbers or as strings, depending on the panel.
QString Text(const QJsonValue& value, int limit = kMaxName)
{
    QString text;
    if (value.isString())
        text = value.toString();
    else if (value.isDouble())
        text = QString::number(value.toDouble(), 'g', 15);
    else if (value.isBool())
        text = value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    return text.size() > limit ? text.left(limit) : text;
}

qint64 Number(const QJsonValue& value)
{
    if (value.isDouble())
        return static_cast<qint64>(value.toDouble());
    bool ok = false;
    const qint64 number = Text(value).toLongLong(&ok);
    return ok ? number : 0;
}

int Bounded(const QJsonValue& value, int high)
{
    return static_cast<int>(std::clamp<qint64>(Number(value), 0, high));
}

struct Parsed
{
    QJsonDocument document;
    bool ok = false;
};

Parsed Parse(const QByteArray& answer)
{
    QJsonParseError error{};
    QJsonDocument document = QJsonDocument::fromJson(answer, &error);
    return {document, error.error == QJsonParseError::NoError};
}

// A list answer: an array of objects; some panels answer an empty list with {} or null.
template <class T, class Make>
AccountRead<std::vector<T>> List(const QByteArray& answer, Make make)
{
    AccountRead<std::vector<T>> read;
    if (answer.trimmed() == "null")
        return read;
    const Parsed parsed = Parse(answer);
    if (!parsed.ok) {
        read.refusal = AccountRefusal::NotPanel;
        return read;
    }
    if (parsed.document.isObject()) {
        if (!parsed.document.object().isEmpty())
            read.refusal = AccountRefusal::NotPanel;
        return read;
    }
    const QJsonArray array = parsed.document.array();
    if (array.size() > kMaxListEntries) {
        read.refusal = AccountRefusal::TooManyEntries;
        return read;
    }
    read.value.reserve(static_cast<std::size_t>(array.size()));
    for (const QJsonValue& item : array) {
        if (!item.isObject())
            continue;
        T value = make(item.toObject());
        if (!value.id.isEmpty())
            read.value.push_back(std::move(value));
    }
    return read;
}

AccountRefusal RefusalOfStatus(const QString& status)
{
    const QString folded = status.toCaseFolded();
    if (folded == u"expired")
        return AccountRefusal::Expired;
    if (folded == u"disabled")
        return AccountRefusal::Disabled;
    if (folded == u"banned")
        return AccountRefusal::Banned;
    return AccountRefusal::None;
}

// The panel's clock: its zone's name where this machine knows it, else the offset between
// its wall clock and its timestamp. Its archive addresses are written in that time.
QString ZoneOf(const QJsonObject& server)
{
    const QByteArray name = Text(server.value(u"timezone")).toLatin1();
    if (!name.isEmpty() && QTimeZone(name).isValid())
        return QString::fromLatin1(name);
    QDateTime wall = QDateTime::fromString(Text(server.value(u"time_now")), u"yyyy-MM-dd HH:mm:ss");
    const qint64 stamp = Number(server.value(u"timestamp_now"));
    if (!wall.isValid() || stamp <= 0)
        return {};
    wall.setTimeZone(QTimeZone::utc());
    const qint64 steps = std::llround(double(wall.toSecsSinceEpoch() - stamp) / kZoneStepSeconds);
    const qint64 offset = steps * kZoneStepSeconds;
    if (offset == 0 || std::abs(offset) > kMaxZoneSeconds)
        return {};
    return QString::fromLatin1(QTimeZone(static_cast<int>(offset)).id());
}

FilmDetails DetailsOf(const QJsonObject& info)
{
    FilmDetails details;
    details.poster = Text(info.value(u"movie_image"), kMaxAddress);
    if (details.poster.isEmpty())
        details.poster = Text(info.value(u"cover"), kMaxAddress);
    details.year = Text(info.value(u"releasedate")).left(4);
    if (details.year.isEmpty())
        details.year = Text(info.value(u"releaseDate")).left(4);
    details.rating = Text(info.value(u"rating"));
    details.genre = Text(info.value(u"genre"));
    details.plot = Text(info.value(u"plot"), kMaxPlot);
    details.cast = Text(info.value(u"cast"), kMaxPlot);
    const qint64 seconds = Number(info.value(u"duration_secs"));
    details.minutes = static_cast<int>(std::clamp<qint64>(seconds / kSecondsPerMinute, 0, 100000));
    return details;
}

} // namespace

namespace AccountReader {

AccountRead<AccountState> State(const QByteArray& answer)
{
    AccountRead<AccountState> read;
    const Parsed parsed = Parse(answer);
    const QJsonValue info = parsed.document.object().value(u"user_info");
    if (!parsed.ok || !info.isObject()) {
        read.refusal = AccountRefusal::NotPanel;
        return read;
    }
    const QJsonObject user = info.toObject();
    if (Number(user.value(u"auth")) != 1) {
        read.refusal = AccountRefusal::WrongLogin;
        return read;
    }
    AccountState& state = read.value;
    state.status = Text(user.value(u"status"));
    const qint64 expiry = Number(user.value(u"exp_date"));
    if (expiry > 0)
        state.expiry = QDateTime::fromSecsSinceEpoch(expiry, QTimeZone::utc());
    state.activeConnections = Bounded(user.value(u"active_cons"), kMaxListEntries);
    state.maxConnections = Bounded(user.value(u"max_connections"), kMaxListEntries);
    state.zone = ZoneOf(parsed.document.object().value(u"server_info").toObject());
    read.refusal = RefusalOfStatus(state.status);
    if (read.refusal == AccountRefusal::None && state.maxConnections > 0
        && state.activeConnections >= state.maxConnections)
        read.refusal = AccountRefusal::TooManyConnections;
    return read;
}

AccountRead<std::vector<AccountCategory>> Categories(const QByteArray& answer)
{
    return List<AccountCategory>(answer, [](const QJsonObject& o) {
        return AccountCategory{Text(o.value(u"category_id")), Text(o.value(u"category_name"))};
    });
}

AccountRead<std::vector<LiveStream>> Live(const QByteArray& answer)
{
    return List<LiveStream>(answer, [](const QJsonObject& o) {
        LiveStream stream;
        stream.id = Text(o.value(u"stream_id"));
        stream.name = Text(o.value(u"name"));
        stream.icon = Text(o.value(u"stream_icon"), kMaxAddress);
        stream.number = Text(o.value(u"num"));
        stream.guideId = Text(o.value(u"epg_channel_id"));
        stream.categoryId = Text(o.value(u"category_id"));
        if (Number(o.value(u"tv_archive")) == 1)
            stream.archiveDays = Bounded(o.value(u"tv_archive_duration"), kMaxDays);
        return stream;
    });
}

AccountRead<std::vector<FilmEntry>> Films(const QByteArray& answer)
{
    return List<FilmEntry>(answer, [](const QJsonObject& o) {
        FilmEntry film;
        film.id = Text(o.value(u"stream_id"));
        film.name = Text(o.value(u"name"));
        film.icon = Text(o.value(u"stream_icon"), kMaxAddress);
        film.categoryId = Text(o.value(u"category_id"));
        film.extension = Text(o.value(u"container_extension"));
        film.rating = Text(o.value(u"rating"));
        return film;
    });
}

AccountRead<std::vector<SeriesEntry>> Series(const QByteArray& answer)
{
    return List<SeriesEntry>(answer, [](const QJsonObject& o) {
        SeriesEntry series;
        series.id = Text(o.value(u"series_id"));
        series.name = Text(o.value(u"name"));
        series.cover = Text(o.value(u"cover"), kMaxAddress);
        series.categoryId = Text(o.value(u"category_id"));
        series.plot = Text(o.value(u"plot"), kMaxPlot);
        return series;
    });
}

AccountRead<FilmDetails> FilmInfo(const QByteArray& answer)
{
    AccountRead<FilmDetails> read;
    const Parsed parsed = Parse(answer);
    const QJsonValue info = parsed.document.object().value(u"info");
    if (!parsed.ok || !parsed.document.isObject()) {
        read.refusal = AccountRefusal::NotPanel;
        return read;
    }
    read.value = DetailsOf(info.toObject()); // a film without details has an empty info
    return read;
}

AccountRead<SeriesInfo> SeriesDetails(const QByteArray& answer)
{
    AccountRead<SeriesInfo> read;
    const Parsed parsed = Parse(answer);
    if (!parsed.ok || !parsed.document.isObject()) {
        read.refusal = AccountRefusal::NotPanel;
        return read;
    }
    const QJsonObject root = parsed.document.object();
    read.value.details = DetailsOf(root.value(u"info").toObject());
    // {"1": [episodes of season 1], ...}; some panels send a list of lists instead.
    const QJsonValue seasons = root.value(u"episodes");
    std::vector<QJsonValue> lists;
    if (seasons.isObject())
        for (const QJsonValue& season : seasons.toObject())
            lists.push_back(season);
    else
        for (const QJsonValue& season : seasons.toArray())
            lists.push_back(season);
    for (const QJsonValue& season : lists) {
        for (const QJsonValue& item : season.toArray()) {
            const QJsonObject o = item.toObject();
            SeriesEpisode episode{Text(o.value(u"id")), Text(o.value(u"title")), Text(o.value(u"container_extension")),
                                  Bounded(o.value(u"season"), kMaxSeason), Bounded(o.value(u"episode_num"), kMaxSeason)};
            if (episode.id.isEmpty())
                continue;
            if (read.value.episodes.size() >= static_cast<std::size_t>(kMaxListEntries)) {
                read.refusal = AccountRefusal::TooManyEntries;
                read.value.episodes.clear();
                return read;
            }
            read.value.episodes.push_back(std::move(episode));
        }
    }
    std::stable_sort(read.value.episodes.begin(), read.value.episodes.end(), [](const auto& a, const auto& b) {
        return std::pair(a.season, a.episode) < std::pair(b.season, b.episode);
    });
    return read;
}

AccountRead<std::vector<ShortProgramme>> ShortGuide(const QByteArray& answer)
{
    AccountRead<std::vector<ShortProgramme>> read;
    const Parsed parsed = Parse(answer);
    if (!parsed.ok || !parsed.document.isObject()) {
        read.refusal = AccountRefusal::NotPanel;
        return read;
    }
    for (const QJsonValue& item : parsed.document.object().value(u"epg_listings").toArray()) {
        const QJsonObject listing = item.toObject();
        const QString coded = Text(listing.value(u"title"), kMaxPlot);
        ShortProgramme programme{QString::fromUtf8(QByteArray::fromBase64(coded.toLatin1())).left(kMaxName),
                                 Number(listing.value(u"start_timestamp")), Number(listing.value(u"stop_timestamp"))};
        if (programme.stop <= programme.start)
            programme.stop = 0; // an end before the start is none
        if (!programme.title.isEmpty())
            read.value.push_back(std::move(programme));
    }
    return read;
}

} // namespace AccountReader
