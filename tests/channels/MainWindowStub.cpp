#include "MainWindowStub.h"

#include "WindowMessage.h"

bool MainWindowStub::event(QEvent* event)
{
    if (event->type() == CWindowMessage::eventType()) {
        if (static_cast<CWindowMessage*>(event)->message == UM_START_CHANNEL) {
            ++startRequests;
            addressAtStart = streamAddress;
        }
        return true;
    }
    return QWidget::event(event);
}
