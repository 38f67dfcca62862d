#pragma once
// Window messages, sent synchronously like SendMessageW through the application's event
// dispatch (so the invalid-argument guard applies), and routed by each window class to one
// handler each. The platform's messages travel as one QEvent type carrying (message,
// wParam, lParam); the private messages between the program's windows each carry a value
// of their own type.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <cstddef>
#include <cstdint>

using UINT = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// Platform messages the program's windows exchange besides the private ones.
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr WPARAM WA_INACTIVE = 0;
constexpr WPARAM WA_ACTIVE = 1;
constexpr WPARAM WA_CLICKACTIVE = 2;

// WM_COMMAND's wParam carries the command id in its low word and, from an accelerator,
// this flag in its high word.
constexpr WPARAM COMMAND_FROM_ACCELERATOR = WPARAM{1} << 16;
constexpr int LowWord(std::uintptr_t value) { return static_cast<int>(value & 0xFFFFu); }

constexpr UINT WM_USER = 0x400;
constexpr UINT UM_PLAY_STOP = WM_USER + 1;
constexpr UINT UM_MUTE = WM_USER + 2;
constexpr UINT UM_VOLUME = WM_USER + 3;
constexpr UINT UM_START_CHANNEL = WM_USER + 20;

class CWindowMessage : public QEvent
{
public:
    CWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);

    static QEvent::Type eventType();

    const UINT message;
    const WPARAM wParam;
    const LPARAM lParam;
    LRESULT result = 0;
};

// Delivers the message at once and returns the handler's result; 0 when unhandled.
LRESULT SendMessage(QObject* target, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// A private message: its number and the value it carries, e.g. PrivateMessage<UM_VOLUME, int>.
template <UINT Number, class Value>
struct PrivateMessage
{
    static constexpr UINT kNumber = Number;
    Value value;
};

template <class Message>
class CPrivateMessageEvent : public QEvent
{
public:
    explicit CPrivateMessageEvent(const Message& message) : QEvent(EventType()), message(message) {}

    static QEvent::Type EventType()
    {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

    const Message& message;
};

template <class Message>
void SendMessage(QObject* target, const Message& message)
{
    if (target == nullptr)
        return;
    CPrivateMessageEvent<Message> event(message);
    QCoreApplication::sendEvent(target, &event);
}

// For a class's event(): true when the event was a Message, which handler has taken.
template <class Message, class Handler>
bool ReceiveMessage(QEvent* event, Handler&& handler)
{
    if (event->type() != CPrivateMessageEvent<Message>::EventType())
        return false;
    handler(static_cast<const CPrivateMessageEvent<Message>*>(event)->message.value);
    return true;
}

template <class T>
struct MessageMapEntry
{
    UINT message;
    LRESULT (T::*handler)(WPARAM, LPARAM);
};

// For a class's event(): true when the event was a window message the table handles.
template <class T, std::size_t N>
bool DispatchMessage(T* self, QEvent* event, const MessageMapEntry<T> (&map)[N])
{
    if (event->type() != CWindowMessage::eventType())
        return false;
    auto* msg = static_cast<CWindowMessage*>(event);
    for (const auto& entry : map) {
        if (entry.message == msg->message) {
            msg->result = (self->*entry.handler)(msg->wParam, msg->lParam);
            return true;
        }
    }
    return false;
}
