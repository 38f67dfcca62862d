#pragma once
// Writes the results as one line per slot and a summary: counts per status and per
// section, and the slots that share an address that is not ok (mending one mends both).

#include "ChannelListReader.h"
#include "ProbeResult.h"
#include "SecretMask.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QStringList>

#include <array>
#include <optional>

class QJsonObject;

class ReportWriter
{
public:
    enum class Format { Text, Json, Tsv };
    static std::optional<Format> FormatNamed(const QString& name);

    // results: by address; addresses without a result were not checked (interrupted run).
    // Addresses and details are written as mask shows them.
    ReportWriter(const QList<ChannelSlot>& channelSlots, const QHash<QString, ProbeResult>& results,
                 bool interrupted, qint64 elapsedMs, const SecretMask& mask = SecretMask());

    QByteArray Write(Format format) const;

private:
    using StatusCounts = std::array<int, kVerdictCount>;
    struct SharedAddress
    {
        QString url;
        int verdict; // VerdictIndex
        QList<ChannelSlot> channelSlots;
    };

    QByteArray Text() const;
    QByteArray Json() const;
    QByteArray Tsv() const;
    QStringList SummaryLines() const;
    QJsonObject SlotObject(const ChannelSlot& slot, const ProbeResult& result) const;
    QList<SharedAddress> SharedNotOk() const;
    StatusCounts AddressCounts() const;
    // By section number; only sections that have slots.
    QMap<int, StatusCounts> SectionCounts() const;
    QMap<int, int> SectionSlotCounts() const;

    const QList<ChannelSlot>& channelSlots;
    const QHash<QString, ProbeResult>& results;
    const bool interrupted;
    const qint64 elapsedMs;
    const SecretMask mask;
    const QStringList addresses; // distinct, in list order
};
