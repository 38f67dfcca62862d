#pragma once
// What one probe found out about one stream address.

#include <QString>

#include <array>

enum class ProbeStatus { Ok, Dead, NotFound, Forbidden, Timeout, NotAStream, TlsError };

constexpr int kProbeStatusCount = 7;

// The names used in every report format; indexed by the enum's value.
constexpr std::array<const char*, kProbeStatusCount> kProbeStatusNames = {
    "ok", "dead", "not-found", "forbidden", "timeout", "not-a-stream", "tls-error",
};

inline QString ProbeStatusName(ProbeStatus status)
{
    return QString::fromLatin1(kProbeStatusNames[static_cast<int>(status)]);
}

struct ProbeResult
{
    ProbeStatus status = ProbeStatus::Dead;
    int httpCode = 0;        // of the address itself; 0 when no HTTP answer came
    qint64 firstByteMs = -1; // -1 when no byte of the answer arrived
    qint64 totalMs = 0;
    QString finalUrl;        // where redirects led; empty when there were none
    QString detail;          // the kind of stream, or why it is not one

    bool deepChecked = false; // the player was asked to open it
    qint64 firstFrameMs = -1; // -1 when the player showed no frame
};
