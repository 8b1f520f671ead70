// The page's input as the game's input events: the keys through one table,
// the mouse and the touches on the canvas, and the page's own events (focus,
// hiding, size). Positions are the canvas's device pixels.
#pragma once

#include "platform/win32/inputevent.h"

#include <vector>

namespace platform
{

class WebInput
{
public:
    // Listens from now on; each event wakes a wait for input.
    void Start();
    bool Waiting() const { return !m_Events.empty(); }
    void Take(std::vector<InputEvent>& events);
    void Add(const InputEvent& event);

private:
    std::vector<InputEvent> m_Events;
};

} // namespace platform
