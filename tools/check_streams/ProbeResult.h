#pragma once
// What one probe found out about one stream address. A stream that does not play is
// named by the reason the player's status line gives for it, in the same words.

#include "UnavailableReason.h"

#include <QString>

enum class ProbeStatus {
    Ok,
    Unavailable, // why: the result's reason (None when no reason is known)
    NotChecked,  // not an http(s) address: only those are fetched
};

struct ProbeResult
{
    ProbeStatus status = ProbeStatus::Unavailable;
    UnavailableReason reason = UnavailableReason::None;
    int httpCode = 0;        // of the address itself; 0 when no HTTP answer came
    qint64 firstByteMs = -1; // -1 when no byte of the answer arrived
    qint64 totalMs = 0;
    QString finalUrl;        // where redirects led; empty when there were none
    QString detail;          // the kind of stream, or why it is not one

    bool deepChecked = false; // the player was asked to open it
    qint64 firstFrameMs = -1; // -1 when the player showed no frame
};

// Reports count results by verdict: ok, unavailable for each reason (None first), not checked.
constexpr int kVerdictCount = kUnavailableReasonTexts + 3;

int VerdictIndex(const ProbeResult& result);
// "ok", the status line's English reason text, "unavailable" or "not checked".
QString VerdictName(int index);
inline QString VerdictName(const ProbeResult& result)
{
    return VerdictName(VerdictIndex(result));
}
