#pragma once
// A stand-in main window: records every report of the player's event sink, and can run a
// reaction inside the report, as the real main window does.

#include "CWMPEventDispatch.h"
#include "ChannelRequest.h"

#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

class PlayerEventRecorder : public QWidget
{
public:
    enum class Kind { MouseDown, PlayState, KeyDown };
    // The state's number; for a key, its combination with its modifiers.
    using Event = std::pair<Kind, int>;

    std::vector<Event> events;
    std::vector<PlayState> states;
    std::function<void(const Event&)> reaction;

    void Listen(CWMPEventDispatch& sink)
    {
        connect(&sink, &CWMPEventDispatch::PlayStateChanged, this, [this](const PlayState& state) {
            states.push_back(state);
            Record({Kind::PlayState, state.state});
        });
        connect(&sink, &CWMPEventDispatch::KeyPressed, this,
                [this](QKeyCombination key) { Record({Kind::KeyDown, key.toCombined()}); });
        connect(&sink, &CWMPEventDispatch::MousePressed, this, [this] { Record({Kind::MouseDown, 0}); });
    }

    void Clear()
    {
        events.clear();
        states.clear();
    }

    std::vector<int> States() const
    {
        std::vector<int> numbers;
        for (const PlayState& state : states)
            numbers.push_back(state.state);
        return numbers;
    }

    int LastState() const { return states.empty() ? -1 : states.back().state; }
    UnavailableReason LastReason() const { return states.empty() ? UnavailableReason::None : states.back().reason; }

    bool Saw(int state) const
    {
        for (const PlayState& seen : states) {
            if (seen.state == state)
                return true;
        }
        return false;
    }

private:
    void Record(const Event& event)
    {
        events.push_back(event);
        if (reaction)
            reaction(event);
    }
};
