#pragma once
// Stands in for the main window: records the requests to start a channel the channel
// window sends it.

#include "ChannelRequest.h"

#include <QWidget>

#include <vector>

class MainWindowStub : public QWidget
{
public:
    std::vector<ChannelRequest> requests;

    int Starts() const { return static_cast<int>(requests.size()); }
    // The request last received; an empty one before any.
    ChannelRequest Last() const { return requests.empty() ? ChannelRequest() : requests.back(); }

protected:
    bool event(QEvent* event) override;
};
