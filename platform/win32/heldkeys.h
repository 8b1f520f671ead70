// Which keys are down and where each was pressed. A key acts only where it was
// pressed: held down while a box opens or closes or the screen changes under
// it, its repeats (and the characters they type) do nothing there until it
// has been let go and pressed again. Decided in the order the input is taken.
#pragma once

#include "platform/win32/inputevent.h"

#include <cstdint>
#include <unordered_map>

namespace platform
{

class HeldKeys
{
public:
    // Whether the event acts where it is taken now; notes presses and releases.
    // Taking the same event twice decides the same way.
    bool Admit(const InputEvent& event);
    // Input from now on goes to another place: a box opened or closed, or the
    // screen changed.
    void NewContext();
    // Forgets every key (between tests).
    void Clear();

private:
    std::uint64_t m_nContext = 0;
    std::unordered_map<unsigned, std::uint64_t> m_PressedIn; // key id -> its context
    bool m_bDropText = false; // the characters of a dropped repeat follow it
};

} // namespace platform
