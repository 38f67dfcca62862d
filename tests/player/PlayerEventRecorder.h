#pragma once
// A stand-in main window: records every UM_PLAYER_EVENT it is sent, and can run a
// reaction inside the handler, as the real main window does.

#include "WindowMessage.h"

#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

class PlayerEventRecorder : public QWidget
{
public:
    std::vector<std::pair<WPARAM, LPARAM>> events;
    std::function<void(WPARAM, LPARAM)> reaction;

    std::vector<int> States() const
    {
        std::vector<int> states;
        for (const auto& [kind, value] : events) {
            if (kind == PLAYER_EVENT_PLAY_STATE)
                states.push_back(static_cast<int>(value));
        }
        return states;
    }

    int LastState() const
    {
        const auto states = States();
        return states.empty() ? -1 : states.back();
    }

    bool Saw(int state) const
    {
        for (int s : States()) {
            if (s == state)
                return true;
        }
        return false;
    }

    bool event(QEvent* e) override { return DispatchMessage(this, e, kMap) || QWidget::event(e); }

private:
    LRESULT OnPlayerEvent(WPARAM kind, LPARAM value)
    {
        events.emplace_back(kind, value);
        if (reaction)
            reaction(kind, value);
        return 0;
    }

    static constexpr MessageMapEntry<PlayerEventRecorder> kMap[] = {
        {UM_PLAYER_EVENT, &PlayerEventRecorder::OnPlayerEvent},
    };
};
