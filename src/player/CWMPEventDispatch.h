#pragma once
// The player's event sink. The engine adapter calls Invoke with the player's event ids;
// the three events the program cares about become UM_PLAYER_EVENT, sent synchronously to
// the target window, which has handled it before Invoke returns.

#include <QPointer>

#include <cstdint>
#include <vector>

class QObject;

using HRESULT = std::int32_t;
using DISPID = std::int32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003u);
constexpr HRESULT DISP_E_NONAMEDARGS = static_cast<HRESULT>(0x80020007u);

constexpr DISPID DISPID_PLAYSTATECHANGE = 5101;
constexpr DISPID DISPID_KEYDOWN = 6507;
constexpr DISPID DISPID_MOUSEDOWN = 6510;

// One argument slot. As with the platform's variants, a slot is read through the field of
// the type the event expects; a 32-bit value read as 16 bits keeps its low half.
struct DispArgument
{
    std::int32_t value = 0;

    std::int32_t AsLong() const { return value; }
    std::int16_t AsShort() const { return static_cast<std::int16_t>(value); }
};

// Positional arguments in reverse order: element 0 is the event's last argument.
struct DispParams
{
    std::vector<DispArgument> args;
    unsigned namedArgs = 0;
};

class CWMPEventDispatch
{
public:
    void SetTargetWindow(QObject* target) { targetWindow = target; }

    // Routes the event to its method; always DISP_E_MEMBERNOTFOUND after a dispatch.
    HRESULT Invoke(DISPID dispid, const DispParams* params);

    void PlayStateChange(std::int32_t newState);
    void KeyDown(std::int16_t keyCode, std::int16_t shiftState);
    void MouseDown(std::int16_t button, std::int16_t shiftState, std::int32_t x, std::int32_t y);
    // The player's other events; the program does nothing with them.
    void OtherEvent() {}

    // Whether the id is one of the player's 45 events.
    static bool IsPlayerEvent(DISPID dispid);

private:
    QPointer<QObject> targetWindow;
};
