#include "WindowMessage.h"

#include <QCoreApplication>

CWindowMessage::CWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
    : QEvent(eventType()), message(message), wParam(wParam), lParam(lParam)
{
}

QEvent::Type CWindowMessage::eventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

LRESULT SendMessage(QObject* target, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (target == nullptr)
        return 0;
    CWindowMessage msg(message, wParam, lParam);
    QCoreApplication::sendEvent(target, &msg);
    return msg.result;
}
