#include "RecordingTail.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

constexpr qint64 kPacketBytes = 188;
constexpr uchar kSyncByte = 0x47;
constexpr uchar kPayloadStart = 0x40;
constexpr uchar kHasPts = 0x80;
constexpr int kPesHeaderBytes = 14; // through the time stamp
constexpr double kTicksPerSecond = 90000;
constexpr qint64 kTickWrap = qint64(1) << 33;
// The last seconds of high-definition video; a deeper cut reads twice as far back, and so on.
constexpr qint64 kFirstWindowBytes = 4 * 1024 * 1024;
constexpr qint64 kReadBlockBytes = 1024 * kPacketBytes;

struct PesStart {
    qint64 offset = 0; // of the transport packet it begins in
    int pid = 0;
    bool video = false;
    qint64 pts = 0;
};

bool IsSound(int streamId)
{
    constexpr int kPrivateStream = 0xBD; // AC-3 and the like
    return (streamId >= 0xC0 && streamId <= 0xDF) || streamId == kPrivateStream;
}

// The time-stamped sound or video PES packet that begins in this transport packet.
std::optional<PesStart> StartIn(const uchar* packet, qint64 offset)
{
    if ((packet[1] & kPayloadStart) == 0)
        return std::nullopt;
    const int control = (packet[3] >> 4) & 3;
    if ((control & 1) == 0)
        return std::nullopt; // no payload
    const int at = 4 + ((control & 2) != 0 ? 1 + packet[4] : 0);
    if (at + kPesHeaderBytes > kPacketBytes)
        return std::nullopt;
    const uchar* pes = packet + at;
    const bool video = (pes[3] & 0xF0) == 0xE0;
    if (pes[0] != 0 || pes[1] != 0 || pes[2] != 1 || (pes[7] & kHasPts) == 0 || (!video && !IsSound(pes[3])))
        return std::nullopt;
    const qint64 pts = (qint64((pes[9] >> 1) & 7) << 30) | (qint64(pes[10]) << 22) | (qint64(pes[11] >> 1) << 15) |
                       (qint64(pes[12]) << 7) | (pes[13] >> 1);
    return PesStart{offset, ((packet[1] & 0x1F) << 8) | packet[2], video, pts};
}

// Every start from offset from to the end; nullopt when the bytes are no transport packets.
std::optional<std::vector<PesStart>> StartsFrom(QFile& file, qint64 from)
{
    std::vector<PesStart> starts;
    if (!file.seek(from))
        return std::nullopt;
    for (qint64 offset = from;;) {
        const QByteArray block = file.read(kReadBlockBytes);
        const auto* bytes = reinterpret_cast<const uchar*>(block.constData());
        for (qint64 at = 0; at + kPacketBytes <= block.size(); at += kPacketBytes, offset += kPacketBytes) {
            if (bytes[at] != kSyncByte)
                return std::nullopt;
            if (const std::optional<PesStart> start = StartIn(bytes + at, offset))
                starts.push_back(*start);
        }
        if (block.size() < kReadBlockBytes)
            return starts;
    }
}

// The starts of the first video stream among them, else of the first stream.
std::vector<PesStart> OneStream(const std::vector<PesStart>& starts)
{
    const auto video = std::find_if(starts.begin(), starts.end(), [](const PesStart& s) { return s.video; });
    const int pid = video != starts.end() ? video->pid : starts.front().pid;
    std::vector<PesStart> chosen;
    std::copy_if(starts.begin(), starts.end(), std::back_inserter(chosen), [pid](const PesStart& s) { return s.pid == pid; });
    return chosen;
}

// Ticks from reference to pts, across the 33-bit wrap.
qint64 Since(qint64 pts, qint64 reference)
{
    const qint64 ticks = (pts - reference) % kTickWrap;
    const qint64 positive = ticks < 0 ? ticks + kTickWrap : ticks;
    return positive >= kTickWrap / 2 ? positive - kTickWrap : positive;
}

} // namespace

namespace RecordingTail {

bool Cut(const QString& path, double seconds)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const qint64 size = file.size();
    const qint64 cutTicks = std::llround(seconds * kTicksPerSecond);
    for (qint64 window = kFirstWindowBytes;; window *= 2) {
        const qint64 from = std::max<qint64>(0, (size - window) / kPacketBytes * kPacketBytes);
        const std::optional<std::vector<PesStart>> all = StartsFrom(file, from);
        if (!all)
            return false;
        if (all->empty()) {
            if (from == 0)
                return false;
            continue;
        }
        const std::vector<PesStart> starts = OneStream(*all);
        const qint64 reference = starts.back().pts;
        qint64 newest = 0;
        for (const PesStart& start : starts)
            newest = std::max(newest, Since(start.pts, reference));
        const qint64 cut = newest - cutTicks;
        if (from > 0 && Since(starts.front().pts, reference) > cut)
            continue; // the cut lies further back
        const auto after = std::find_if(starts.begin() + 1, starts.end(),
                                        [&](const PesStart& s) { return Since(s.pts, reference) > cut; });
        return after == starts.end() || file.resize(after->offset);
    }
}

} // namespace RecordingTail
