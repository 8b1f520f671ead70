// Gamepads through the browser's Gamepad API, which tells no presses: while
// one is connected it is looked at every frame. Its buttons become the keys
// the desktop's controller buttons are (the D-pad the arrows, A Space, B
// Escape, Start Enter); its left stick moves the pointer.
#pragma once

#include "platform/win32/inputevent.h"
#include "platform/win32/stickpointer.h"

#include <array>
#include <cstdint>
#include <vector>

namespace platform
{

class WebGamepads
{
public:
    // Listens for gamepads from now on.
    void Start();
    bool Connected() const { return m_nConnected > 0; }
    // The presses and releases since the last look, and the stick's step.
    void Look(std::vector<InputEvent>& events, std::uint64_t nowMicroseconds);

private:
    static constexpr int kPads = 4;
    static constexpr int kButtons = 17;

    int m_nConnected = 0;
    std::array<std::array<bool, kButtons>, kPads> m_Down{};
    StickPointer m_Pointer;
};

} // namespace platform
