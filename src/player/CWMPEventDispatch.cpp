#include "CWMPEventDispatch.h"

#include "WindowMessage.h"

#include <algorithm>
#include <array>

namespace {
// The player's core events (5001..5823) and control events (6501..6512).
constexpr std::array<DISPID, 45> kPlayerEvents = {
    5001, 5002, 5101, 5102, 5201, 5202, 5203, 5204, 5301, 5401, 5402, 5403,
    5501, 5601, 5701, 5801, 5802, 5803, 5804, 5805, 5806, 5807, 5808, 5809,
    5810, 5811, 5812, 5818, 5819, 5820, 5821, 5822, 5823,
    6501, 6502, 6503, 6504, 6505, 6506, 6507, 6508, 6509, 6510, 6511, 6512,
};

// Argument i counted from the end, or 0 when the caller passed too few.
DispArgument FromEnd(const DispParams& params, std::size_t i)
{
    return i < params.args.size() ? params.args[i] : DispArgument{};
}
} // namespace

bool CWMPEventDispatch::IsPlayerEvent(DISPID dispid)
{
    return std::find(kPlayerEvents.begin(), kPlayerEvents.end(), dispid) != kPlayerEvents.end();
}

HRESULT CWMPEventDispatch::Invoke(DISPID dispid, const DispParams* params)
{
    if (params == nullptr)
        return E_POINTER;
    if (params->namedArgs != 0)
        return DISP_E_NONAMEDARGS;
    switch (dispid) {
    case DISPID_PLAYSTATECHANGE:
        PlayStateChange(FromEnd(*params, 0).AsLong());
        break;
    case DISPID_KEYDOWN:
        KeyDown(FromEnd(*params, 1).AsShort(), FromEnd(*params, 0).AsShort());
        break;
    case DISPID_MOUSEDOWN:
        MouseDown(FromEnd(*params, 3).AsShort(), FromEnd(*params, 2).AsShort(),
                  FromEnd(*params, 1).AsLong(), FromEnd(*params, 0).AsLong());
        break;
    default:
        if (IsPlayerEvent(dispid))
            OtherEvent();
        break;
    }
    return DISP_E_MEMBERNOTFOUND;
}

void CWMPEventDispatch::PlayStateChange(std::int32_t newState)
{
    SendMessage(targetWindow, UM_PLAYER_EVENT, PLAYER_EVENT_PLAY_STATE, newState);
}

void CWMPEventDispatch::KeyDown(std::int16_t keyCode, std::int16_t shiftState)
{
    const auto low = static_cast<std::uint16_t>(keyCode);
    const auto high = static_cast<std::uint16_t>(shiftState);
    SendMessage(targetWindow, UM_PLAYER_EVENT, PLAYER_EVENT_KEY_DOWN,
                static_cast<LPARAM>((std::uint32_t(high) << 16) | low));
}

void CWMPEventDispatch::MouseDown(std::int16_t, std::int16_t, std::int32_t, std::int32_t)
{
    SendMessage(targetWindow, UM_PLAYER_EVENT, PLAYER_EVENT_MOUSE_DOWN, 0);
}
