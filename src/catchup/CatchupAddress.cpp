#include "CatchupAddress.h"

#include <optional>

namespace {

constexpr qint64 kSecondsPerDay = 24 * 60 * 60;
constexpr QStringView kShiftQuery = u"utc={utc}&lutc={lutc}";
constexpr QStringView kFlussonicTs = u"timeshift_abs-{utc}.ts";
constexpr QStringView kFlussonicHls = u"-{utc}-{duration}";
constexpr QStringView kXcTimeshift = u"/timeshift/%1/%2/{duration:60}/{Y}-{m}-{d}:{H}-{M}/%3";
constexpr qsizetype kXcPathParts = 3; // user, password, channel

struct Moments {
    QDateTime start, end, now;
    QTimeZone localZone;
    QTimeZone fieldZone;
};

// Where the path of an absolute address begins and ends (before its query or fragment);
// nullopt when it has no host part.
struct PathRange {
    qsizetype begin, end;
};

std::optional<PathRange> PathOf(const QString& address)
{
    const qsizetype authority = address.indexOf(u"://");
    if (authority < 0)
        return std::nullopt;
    qsizetype end = address.size();
    for (QChar stop : {QLatin1Char('?'), QLatin1Char('#')}) {
        const qsizetype at = address.indexOf(stop, authority + 3);
        if (at >= 0)
            end = std::min(end, at);
    }
    const qsizetype begin = address.indexOf(QLatin1Char('/'), authority + 3);
    if (begin < 0 || begin > end)
        return PathRange{end, end};
    return PathRange{begin, end};
}

// Y m d H M S in the pattern stand for the time's fields in zone; every other character stays.
QString FieldPattern(QStringView pattern, const QDateTime& time, const QTimeZone& zone)
{
    const QDateTime there = time.toTimeZone(zone);
    QString text;
    for (QChar c : pattern) {
        switch (c.unicode()) {
        case 'Y': text += there.toString(u"yyyy"); break;
        case 'm': text += there.toString(u"MM"); break;
        case 'd': text += there.toString(u"dd"); break;
        case 'H': text += there.toString(u"HH"); break;
        case 'M': text += there.toString(u"mm"); break;
        case 'S': text += there.toString(u"ss"); break;
        default: text += c;
        }
    }
    return text;
}

std::optional<qint64> Divisor(QStringView argument)
{
    if (argument.isNull())
        return 1;
    bool ok = false;
    const qint64 value = argument.toLongLong(&ok);
    return ok && value > 0 ? std::optional<qint64>(value) : std::nullopt;
}

// ${(b)yyyyMMddHHmmss} and ${(e)...}: the start or end in Qt's date format, in the
// viewer's local time unless the pattern ends in :UTC, as such templates are written.
std::optional<QString> FormattedTime(QStringView body, const Moments& m)
{
    const QDateTime& time = body.startsWith(u"(b)") ? m.start : m.end;
    QStringView format = body.mid(3);
    QTimeZone zone = m.localZone;
    if (format.endsWith(u":UTC", Qt::CaseInsensitive)) {
        format.chop(4);
        zone = QTimeZone::utc();
    }
    return time.toTimeZone(zone).toString(format);
}

std::optional<QString> Placeholder(QStringView body, const Moments& m)
{
    if (body.startsWith(u"(b)") || body.startsWith(u"(e)"))
        return FormattedTime(body, m);
    const qsizetype colon = body.indexOf(QLatin1Char(':'));
    const QStringView name = colon < 0 ? body : body.left(colon);
    const QStringView argument = colon < 0 ? QStringView() : body.mid(colon + 1);

    const QDateTime* time = nullptr;
    if (name == u"utc" || name == u"start")
        time = &m.start;
    else if (name == u"utcend" || name == u"end")
        time = &m.end;
    else if (name == u"lutc" || name == u"now" || name == u"timestamp")
        time = &m.now;
    if (time)
        return argument.isNull() ? QString::number(time->toSecsSinceEpoch()) : FieldPattern(argument, *time, m.fieldZone);

    if (argument.isNull() && name.size() == 1 && QStringView(u"YmdHMS").contains(name.front()))
        return FieldPattern(name, m.start, m.fieldZone);

    const std::optional<qint64> divisor = Divisor(argument);
    if (!divisor)
        return std::nullopt;
    if (name == u"duration")
        return QString::number(m.start.secsTo(m.end) / *divisor);
    if (name == u"offset")
        return QString::number(m.start.secsTo(m.now) / *divisor);
    return std::nullopt;
}

QString WithQuery(const QString& address, QStringView query)
{
    return address + (address.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?')) + query.toString();
}

// http://host/channel/index.m3u8?token=t -> http://host/channel/index-{utc}-{duration}.m3u8?token=t
// http://host/channel/mpegts -> http://host/channel/timeshift_abs-{utc}.ts
QString FlussonicPattern(const QString& address)
{
    const std::optional<PathRange> path = PathOf(address);
    if (!path)
        return {};
    const qsizetype nameAt = address.lastIndexOf(QLatin1Char('/'), path->end - 1) + 1;
    if (nameAt <= path->begin)
        return {};
    const QStringView name = QStringView(address).mid(nameAt, path->end - nameAt);
    QString pattern = address;
    if (name.endsWith(u".m3u8", Qt::CaseInsensitive))
        return pattern.insert(path->end - 5, kFlussonicHls);
    if (name == u"mpegts" || name.endsWith(u".ts", Qt::CaseInsensitive))
        return pattern.replace(nameAt, name.size(), kFlussonicTs.toString());
    return {};
}

// http://host:port[/live]/user/password/42[.ts] ->
// http://host:port/timeshift/user/password/{duration:60}/{Y}-{m}-{d}:{H}-{M}/42.ts
QString XcPattern(const QString& address)
{
    const std::optional<PathRange> path = PathOf(address);
    if (!path)
        return {};
    const QStringList parts =
        QStringView(address).mid(path->begin, path->end - path->begin).toString().split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.size() < kXcPathParts)
        return {};
    QString channel = parts.last();
    if (!channel.contains(QLatin1Char('.')))
        channel += QStringLiteral(".ts");
    const QString timeshift = kXcTimeshift.toString().arg(parts[parts.size() - 3], parts[parts.size() - 2], channel);
    return address.left(path->begin) + timeshift + address.mid(path->end);
}

QString PatternFor(const QString& address, const CatchupOffer& offer)
{
    switch (offer.mode) {
    case CatchupMode::None:
        return {};
    case CatchupMode::Append:
        return offer.source.isEmpty() ? QString() : address + offer.source;
    case CatchupMode::Default:
        return offer.source.isEmpty() ? address : offer.source;
    case CatchupMode::Shift:
    case CatchupMode::Flussonic:
    case CatchupMode::Xc:
        break;
    }
    if (!offer.source.isEmpty())
        return offer.source; // the provider's own template wins over the mode's
    if (offer.mode == CatchupMode::Shift)
        return WithQuery(address, kShiftQuery);
    return offer.mode == CatchupMode::Flussonic ? FlussonicPattern(address) : XcPattern(address);
}

} // namespace

QString CatchupAddress::Build(const QString& channelAddress, const CatchupOffer& offer, const ArchiveSpan& span,
                              const QDateTime& now, const QTimeZone& localZone)
{
    const QString pattern = PatternFor(channelAddress, offer);
    return pattern.isEmpty() ? pattern : Expand(pattern, span, now, localZone, offer.zone);
}

ChannelRequest CatchupAddress::Request(const ChannelRequest& channel, const ArchiveSpan& span, const QDateTime& now)
{
    if (!Reaches(channel.catchup, span.start, now))
        return {};
    ChannelRequest archived = channel.Live();
    archived.archiveAddress = Build(channel.address, channel.catchup, span, now);
    archived.archiveStart = span.start.toSecsSinceEpoch();
    return archived.FromArchive() ? archived : ChannelRequest();
}

bool CatchupAddress::Reaches(const CatchupOffer& offer, const QDateTime& start, const QDateTime& now)
{
    if (!offer.Offered() || !start.isValid() || start >= now)
        return false;
    return offer.days == 0 || start.secsTo(now) <= offer.days * kSecondsPerDay;
}

QString CatchupAddress::Expand(QStringView pattern, const ArchiveSpan& span, const QDateTime& now,
                               const QTimeZone& localZone, const QTimeZone& fieldZone)
{
    const Moments moments{span.start, span.end, now, localZone, fieldZone.isValid() ? fieldZone : QTimeZone::utc()};
    QString text;
    qsizetype done = 0;
    for (qsizetype open = pattern.indexOf(QLatin1Char('{')); open >= 0;
         open = pattern.indexOf(QLatin1Char('{'), open + 1)) {
        const qsizetype close = pattern.indexOf(QLatin1Char('}'), open + 1);
        if (close < 0)
            break;
        const std::optional<QString> value = Placeholder(pattern.mid(open + 1, close - open - 1), moments);
        if (!value)
            continue; // not ours: left as written
        const qsizetype begin = open > done && pattern[open - 1] == QLatin1Char('$') ? open - 1 : open;
        text += pattern.mid(done, begin - done);
        text += *value;
        done = close + 1;
        open = close;
    }
    return text + pattern.mid(done).toString();
}
