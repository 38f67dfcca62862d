#include "MainWindowStub.h"

#include "CChannelDlg.h"

bool MainWindowStub::event(QEvent* event)
{
    return ReceiveMessage<StartChannelMessage>(event, [this](const ChannelRequest& request) { requests.push_back(request); }) ||
           QWidget::event(event);
}
