#include "ProbeResult.h"

#include "BuiltinTexts.h"

namespace {
constexpr int kOkIndex = 0;
constexpr int kFirstUnavailableIndex = 1; // UnavailableReason::None
constexpr int kNotCheckedIndex = kVerdictCount - 1;
} // namespace

int VerdictIndex(const ProbeResult& result)
{
    switch (result.status) {
    case ProbeStatus::Ok:
        return kOkIndex;
    case ProbeStatus::NotChecked:
        return kNotCheckedIndex;
    case ProbeStatus::Unavailable:
        break;
    }
    return kFirstUnavailableIndex + static_cast<int>(result.reason);
}

QString VerdictName(int index)
{
    if (index == kOkIndex)
        return QStringLiteral("ok");
    if (index == kNotCheckedIndex)
        return QStringLiteral("not checked");
    const auto reason = static_cast<UnavailableReason>(index - kFirstUnavailableIndex);
    if (reason == UnavailableReason::None)
        return QStringLiteral("unavailable");
    return BuiltinTexts(StatusReasons)[ReasonTextIndex(reason)];
}
