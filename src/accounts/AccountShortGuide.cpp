#include "AccountShortGuide.h"

#include "AccountAddress.h"
#include "AccountReader.h"

#include <QDateTime>
#include <QUrl>

#include <algorithm>

namespace {

constexpr int kProgrammesAsked = 2; // now and next

QString KeyOf(const QString& source, const QString& streamId)
{
    return source + QLatin1Char('\n') + streamId;
}

qint64 Now()
{
    return QDateTime::currentSecsSinceEpoch();
}

// When the first programme ends: its own end, else the next one's start.
qint64 EndOfFirst(const std::vector<ShortProgramme>& programmes)
{
    if (programmes.empty())
        return 0;
    if (programmes.front().stop > 0)
        return programmes.front().stop;
    return programmes.size() > 1 ? programmes[1].start : 0;
}

} // namespace

void AccountShortGuide::Ask(const AccountLogin& login, const QString& source, const QString& streamId, Answered answered)
{
    const QString key = KeyOf(source, streamId);
    if (IsCurrent(source, streamId)) {
        answered(Known(source, streamId));
        return;
    }
    std::vector<Answered>& asked = waiting[key];
    asked.push_back(std::move(answered));
    if (asked.size() > 1)
        return; // the answer under way serves this ask too
    client.Get(AccountAddress::Api(login, QStringLiteral("get_short_epg"),
                                   QStringLiteral("stream_id=") + QString::fromUtf8(QUrl::toPercentEncoding(streamId))
                                       + QStringLiteral("&limit=%1").arg(kProgrammesAsked)),
               [this, source, streamId](const QByteArray& body, AccountRefusal refusal) {
                   if (refusal != AccountRefusal::None) {
                       Keep(source, streamId, {});
                       return;
                   }
                   reading.Run([body] { return AccountReader::ShortGuide(body).value; },
                               [this, source, streamId](std::vector<ShortProgramme> programmes) {
                                   Keep(source, streamId, std::move(programmes));
                               });
               });
}

void AccountShortGuide::Keep(const QString& source, const QString& streamId, std::vector<ShortProgramme> programmes)
{
    const QString key = KeyOf(source, streamId);
    const qint64 now = Now();
    const qint64 end = EndOfFirst(programmes);
    // An answer whose programme has already ended is not asked again at once.
    told.insert(key, {std::move(programmes), std::max(end > 0 ? end : now + kAskAgainSeconds, now + kShortestKeepSeconds)});
    for (const Answered& answered : waiting.take(key))
        answered(Known(source, streamId));
}

std::vector<ShortProgramme> AccountShortGuide::Known(const QString& source, const QString& streamId) const
{
    const auto found = told.constFind(KeyOf(source, streamId));
    if (found == told.constEnd())
        return {};
    // Those that ended since are gone; one without an end ends where the next begins.
    const qint64 now = Now();
    std::vector<ShortProgramme> left;
    const std::vector<ShortProgramme>& all = found->programmes;
    for (std::size_t k = 0; k < all.size(); ++k) {
        const qint64 end = all[k].stop > 0 ? all[k].stop : (k + 1 < all.size() ? all[k + 1].start : 0);
        if (end == 0 || end > now)
            left.push_back(all[k]);
    }
    return left;
}

bool AccountShortGuide::IsAsked(const QString& source, const QString& streamId) const
{
    return waiting.contains(KeyOf(source, streamId));
}

bool AccountShortGuide::IsCurrent(const QString& source, const QString& streamId) const
{
    const auto found = told.constFind(KeyOf(source, streamId));
    return found != told.constEnd() && found->until > Now();
}
