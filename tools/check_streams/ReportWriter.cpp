#include "ReportWriter.h"

#include "ChannelCatalogue.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

#include <algorithm>

namespace {

QString SectionName(int section)
{
    if (section == kPlaylistSection)
        return QStringLiteral("Playlist");
    return QString::fromLatin1(kSectionElementNames[section - 1]);
}

QString SlotLabel(const ChannelSlot& slot)
{
    return SectionName(slot.section) + QLatin1Char(' ') + QString::number(slot.position);
}

QString Milliseconds(qint64 ms)
{
    return ms < 0 ? QStringLiteral("-") : QString::number(ms) + QStringLiteral(" ms");
}

// Keeps one record on one line whatever a server put in an error text.
QString OneLine(QString text)
{
    for (QChar& c : text) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    }
    return text;
}

QJsonValue NumberOrNull(qint64 value, qint64 none)
{
    return value == none ? QJsonValue() : QJsonValue(value);
}

using Counts = std::array<int, kVerdictCount>;

QString CountsText(const Counts& counts, bool withZeros)
{
    QStringList parts;
    for (int i = 0; i < kVerdictCount; ++i) {
        if (withZeros || counts[i] > 0)
            parts << QStringLiteral("%1 %2").arg(VerdictName(i)).arg(counts[i]);
    }
    return parts.isEmpty() ? QStringLiteral("none checked") : parts.join(QStringLiteral(", "));
}

// The text report's verdict column fits the longest name.
int VerdictWidth()
{
    static const int width = [] {
        qsizetype widest = 0;
        for (int i = 0; i < kVerdictCount; ++i)
            widest = std::max(widest, VerdictName(i).size());
        return static_cast<int>(widest);
    }();
    return width;
}

QJsonObject CountsObject(const Counts& counts)
{
    QJsonObject object;
    for (int i = 0; i < kVerdictCount; ++i)
        object.insert(VerdictName(i), counts[i]);
    return object;
}

QJsonObject SlotReference(const ChannelSlot& slot)
{
    return {{QStringLiteral("section"), slot.section},
            {QStringLiteral("sectionName"), SectionName(slot.section)},
            {QStringLiteral("position"), slot.position},
            {QStringLiteral("name"), slot.name}};
}

} // namespace

std::optional<ReportWriter::Format> ReportWriter::FormatNamed(const QString& name)
{
    if (name == QLatin1String("text"))
        return Format::Text;
    if (name == QLatin1String("json"))
        return Format::Json;
    if (name == QLatin1String("tsv"))
        return Format::Tsv;
    return std::nullopt;
}

ReportWriter::ReportWriter(const QList<ChannelSlot>& channelSlots,
                           const QHash<QString, ProbeResult>& results, bool interrupted,
                           qint64 elapsedMs, const SecretMask& mask)
    : channelSlots(channelSlots), results(results), interrupted(interrupted), elapsedMs(elapsedMs), mask(mask),
      addresses(ChannelListReader::DistinctAddresses(channelSlots))
{
}

QByteArray ReportWriter::Write(Format format) const
{
    switch (format) {
    case Format::Json:
        return Json();
    case Format::Tsv:
        return Tsv();
    case Format::Text:
        break;
    }
    return Text();
}

QByteArray ReportWriter::Text() const
{
    QString out;
    for (const ChannelSlot& slot : channelSlots) {
        const auto found = results.constFind(slot.url);
        if (found == results.cend())
            continue;
        const ProbeResult& r = *found;
        QString line = QStringLiteral("%1 %2 %3 %4 %5  %6  %7")
                           .arg(SlotLabel(slot), -17)
                           .arg(VerdictName(r), -VerdictWidth())
                           .arg(r.httpCode ? QString::number(r.httpCode) : QStringLiteral("-"), 3)
                           .arg(Milliseconds(r.firstByteMs), 8)
                           .arg(Milliseconds(r.totalMs), 8)
                           .arg(slot.name, mask.Address(slot.url));
        line += QStringLiteral("  (") + OneLine(mask.Text(r.detail));
        if (r.deepChecked && r.firstFrameMs >= 0)
            line += QStringLiteral("; first frame after ") + Milliseconds(r.firstFrameMs);
        line += QLatin1Char(')');
        if (!r.finalUrl.isEmpty())
            line += QStringLiteral(" -> ") + mask.Address(r.finalUrl);
        out += line + QLatin1Char('\n');
    }
    out += QLatin1Char('\n') + SummaryLines().join(QLatin1Char('\n')) + QLatin1Char('\n');
    return out.toUtf8();
}

QByteArray ReportWriter::Tsv() const
{
    QStringList lines;
    lines << QStringLiteral("section\tsection_name\tposition\tname\turl\tstatus\thttp_code\t"
                            "ttfb_ms\ttotal_ms\tfirst_frame_ms\tfinal_url\tdetail");
    const auto number = [](qint64 value, qint64 none) {
        return value == none ? QString() : QString::number(value);
    };
    for (const ChannelSlot& slot : channelSlots) {
        const auto found = results.constFind(slot.url);
        if (found == results.cend())
            continue;
        const ProbeResult& r = *found;
        lines << QStringList{QString::number(slot.section), SectionName(slot.section),
                             QString::number(slot.position), OneLine(slot.name), OneLine(mask.Address(slot.url)),
                             VerdictName(r), number(r.httpCode, 0),
                             number(r.firstByteMs, -1), QString::number(r.totalMs),
                             number(r.firstFrameMs, -1), OneLine(mask.Address(r.finalUrl)), OneLine(mask.Text(r.detail))}
                     .join(QLatin1Char('\t'));
    }
    // The summary as comment lines, so the file stays one table.
    for (const QString& line : SummaryLines())
        lines << QStringLiteral("# ") + line;
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

QByteArray ReportWriter::Json() const
{
    QJsonArray slotArray;
    for (const ChannelSlot& slot : channelSlots) {
        const auto found = results.constFind(slot.url);
        if (found != results.cend())
            slotArray.append(SlotObject(slot, *found));
    }

    QJsonArray sections;
    const QMap<int, int> slotCounts = SectionSlotCounts();
    const QMap<int, StatusCounts> sectionCounts = SectionCounts();
    for (auto it = slotCounts.cbegin(); it != slotCounts.cend(); ++it) {
        sections.append(QJsonObject{{QStringLiteral("section"), it.key()},
                                    {QStringLiteral("name"), SectionName(it.key())},
                                    {QStringLiteral("slots"), it.value()},
                                    {QStringLiteral("statuses"), CountsObject(sectionCounts.value(it.key()))}});
    }

    QJsonArray shared;
    for (const SharedAddress& address : SharedNotOk()) {
        QJsonArray refs;
        for (const ChannelSlot& slot : address.channelSlots)
            refs.append(SlotReference(slot));
        shared.append(QJsonObject{{QStringLiteral("url"), mask.Address(address.url)},
                                  {QStringLiteral("status"), VerdictName(address.verdict)},
                                  {QStringLiteral("slots"), refs}});
    }

    const QJsonObject summary{
        {QStringLiteral("slots"), static_cast<int>(channelSlots.size())},
        {QStringLiteral("addresses"), static_cast<int>(addresses.size())},
        {QStringLiteral("checked"), static_cast<int>(results.size())},
        {QStringLiteral("interrupted"), interrupted},
        {QStringLiteral("elapsedMs"), elapsedMs},
        {QStringLiteral("statuses"), CountsObject(AddressCounts())},
        {QStringLiteral("sections"), sections},
        {QStringLiteral("sharedNotOk"), shared},
    };
    const QJsonObject root{{QStringLiteral("slots"), slotArray}, {QStringLiteral("summary"), summary}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QJsonObject ReportWriter::SlotObject(const ChannelSlot& slot, const ProbeResult& r) const
{
    QJsonObject object = SlotReference(slot);
    object.insert(QStringLiteral("url"), mask.Address(slot.url));
    object.insert(QStringLiteral("status"), VerdictName(r));
    object.insert(QStringLiteral("httpCode"), NumberOrNull(r.httpCode, 0));
    object.insert(QStringLiteral("firstByteMs"), NumberOrNull(r.firstByteMs, -1));
    object.insert(QStringLiteral("totalMs"), r.totalMs);
    object.insert(QStringLiteral("firstFrameMs"), NumberOrNull(r.firstFrameMs, -1));
    object.insert(QStringLiteral("deepChecked"), r.deepChecked);
    object.insert(QStringLiteral("finalUrl"), r.finalUrl.isEmpty() ? QJsonValue() : QJsonValue(mask.Address(r.finalUrl)));
    object.insert(QStringLiteral("detail"), mask.Text(r.detail));
    return object;
}

QStringList ReportWriter::SummaryLines() const
{
    QStringList lines;
    lines << QStringLiteral("Checked %1 of %2 addresses (%3 slots) in %4 s.")
                 .arg(results.size())
                 .arg(addresses.size())
                 .arg(channelSlots.size())
                 .arg(elapsedMs / 1000.0, 0, 'f', 1);
    lines << QStringLiteral("Addresses by status: ") + CountsText(AddressCounts(), true);
    lines << QStringLiteral("Slots by section:");
    const QMap<int, int> slotCounts = SectionSlotCounts();
    const QMap<int, StatusCounts> sectionCounts = SectionCounts();
    for (auto it = slotCounts.cbegin(); it != slotCounts.cend(); ++it) {
        lines << QStringLiteral("  %1 %2 slots: %3")
                     .arg(SectionName(it.key()), -13)
                     .arg(it.value(), 3)
                     .arg(CountsText(sectionCounts.value(it.key()), false));
    }
    const QList<SharedAddress> shared = SharedNotOk();
    lines << (shared.isEmpty() ? QStringLiteral("Shared addresses that are not ok: none")
                               : QStringLiteral("Shared addresses that are not ok:"));
    for (const SharedAddress& address : shared) {
        QStringList labels;
        for (const ChannelSlot& slot : address.channelSlots)
            labels << SlotLabel(slot);
        lines << QStringLiteral("  %1 %2: %3")
                     .arg(VerdictName(address.verdict), mask.Address(address.url), labels.join(QStringLiteral(", ")));
    }
    if (interrupted) {
        lines << QStringLiteral("Interrupted: %1 addresses were not checked.")
                     .arg(addresses.size() - results.size());
    }
    return lines;
}

QList<ReportWriter::SharedAddress> ReportWriter::SharedNotOk() const
{
    QList<SharedAddress> shared;
    for (const QString& url : addresses) {
        const auto found = results.constFind(url);
        if (found == results.cend() || found->status == ProbeStatus::Ok)
            continue;
        SharedAddress address{url, VerdictIndex(*found), {}};
        for (const ChannelSlot& slot : channelSlots) {
            if (slot.url == url)
                address.channelSlots << slot;
        }
        if (address.channelSlots.size() > 1)
            shared << address;
    }
    return shared;
}

ReportWriter::StatusCounts ReportWriter::AddressCounts() const
{
    StatusCounts counts{};
    for (const ProbeResult& result : results)
        ++counts[VerdictIndex(result)];
    return counts;
}

QMap<int, ReportWriter::StatusCounts> ReportWriter::SectionCounts() const
{
    QMap<int, StatusCounts> counts;
    for (const ChannelSlot& slot : channelSlots) {
        const auto found = results.constFind(slot.url);
        StatusCounts& section = counts[slot.section]; // value-initialised: all zero
        if (found != results.cend())
            ++section[VerdictIndex(*found)];
    }
    return counts;
}

QMap<int, int> ReportWriter::SectionSlotCounts() const
{
    QMap<int, int> counts;
    for (const ChannelSlot& slot : channelSlots)
        ++counts[slot.section];
    return counts;
}
