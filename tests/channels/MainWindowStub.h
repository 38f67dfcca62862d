#pragma once
// Stands in for the main window: records the requests to start a channel the channel
// window and the zapper send it.

#include "ChannelRequest.h"

#include <QWidget>

#include <vector>

class MainWindowStub : public QWidget
{
public:
    std::vector<ChannelRequest> requests;

    void Start(const ChannelRequest& request) { requests.push_back(request); }
    int Starts() const { return static_cast<int>(requests.size()); }
    // The request last received; an empty one before any.
    ChannelRequest Last() const { return requests.empty() ? ChannelRequest() : requests.back(); }
};
