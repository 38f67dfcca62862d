#pragma once
// Where a provider's archive holds a past stretch of a channel: its address built from
// the channel's address and what the playlist says about the archive.

#include "CatchupOffer.h"
#include "ChannelRequest.h"

#include <QDateTime>
#include <QString>
#include <QTimeZone>

struct ArchiveSpan {
    QDateTime start;
    QDateTime end;

    // From seconds since 1970 (UTC).
    static ArchiveSpan Between(qint64 start, qint64 end)
    {
        return {QDateTime::fromSecsSinceEpoch(start, QTimeZone::utc()), QDateTime::fromSecsSinceEpoch(end, QTimeZone::utc())};
    }
};

class CatchupAddress
{
public:
    // now: when the archive is asked; localZone: the viewer's, for templates that ask for
    // local times. Empty when the channel offers no archive or its address does not have
    // the shape the mode needs.
    static QString Build(const QString& channelAddress, const CatchupOffer& offer, const ArchiveSpan& span,
                         const QDateTime& now, const QTimeZone& localZone = QTimeZone::systemTimeZone());

    // The channel played from its archive over span, headers and all; empty when the
    // archive does not reach back to span's start or has no address for it.
    static ChannelRequest Request(const ChannelRequest& channel, const ArchiveSpan& span, const QDateTime& now);

    // Whether the archive still holds what began at start.
    static bool Reaches(const CatchupOffer& offer, const QDateTime& start, const QDateTime& now);

    // The template with its placeholders filled in; fieldZone is the clock of {Y}, {H}, ...
    static QString Expand(QStringView pattern, const ArchiveSpan& span, const QDateTime& now,
                          const QTimeZone& localZone, const QTimeZone& fieldZone = QTimeZone::utc());
};
