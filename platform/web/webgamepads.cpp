// Looking at the connected gamepads of the standard layout.
#include "platform/web/webgamepads.h"

#include "platform/web/pagecalls.h"

#include <emscripten/html5.h>

#include <cstring>

namespace platform
{

namespace
{

struct Mapping
{
    int button; // in the browser's standard layout
    UINT virtualKey;
};

constexpr Mapping kButtonMap[] = {
    {0, VK_SPACE}, {1, VK_ESCAPE}, {9, VK_RETURN}, {12, VK_UP},
    {13, VK_DOWN}, {14, VK_LEFT},  {15, VK_RIGHT},
};

// Gamepad buttons are told from keys by ids from here on.
constexpr unsigned kGamepadKeyIds = 0x40000000;
constexpr double kAxisRange = 32767.0;

EM_BOOL OnConnection(int type, const EmscriptenGamepadEvent*, void* count)
{
    int& connected = *static_cast<int*>(count);
    connected += type == EMSCRIPTEN_EVENT_GAMEPADCONNECTED ? 1 : -1;
    // A wait without a limit now looks at the gamepads every refresh.
    tz_page_wake();
    return EM_FALSE;
}

} // namespace

void WebGamepads::Start()
{
    emscripten_set_gamepadconnected_callback(&m_nConnected, EM_TRUE, OnConnection);
    emscripten_set_gamepaddisconnected_callback(&m_nConnected, EM_TRUE, OnConnection);
}

void WebGamepads::Look(std::vector<InputEvent>& events, std::uint64_t nowMicroseconds)
{
    if (!Connected() || emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS)
        return;
    std::vector<StickLean> sticks;
    const int pads = std::min(emscripten_get_num_gamepads(), kPads);
    for (int pad = 0; pad < pads; ++pad)
    {
        EmscriptenGamepadEvent state;
        if (emscripten_get_gamepad_status(pad, &state) != EMSCRIPTEN_RESULT_SUCCESS ||
            !state.connected || std::strcmp(state.mapping, "standard") != 0)
            continue;
        for (const Mapping& mapping : kButtonMap)
        {
            const bool down =
                mapping.button < state.numButtons && state.digitalButton[mapping.button];
            bool& was = m_Down[pad][mapping.button];
            if (down == was)
                continue;
            was = down;
            InputEvent event;
            event.kind = down ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp;
            event.key = mapping.virtualKey;
            event.keyId = kGamepadKeyIds + static_cast<unsigned>(pad * kButtons + mapping.button);
            events.push_back(event);
        }
        if (state.numAxes >= 2)
            sticks.push_back({static_cast<int>(state.axis[0] * kAxisRange),
                              static_cast<int>(state.axis[1] * kAxisRange)});
    }
    if (const POINT step = m_Pointer.Take(sticks, nowMicroseconds); step.x != 0 || step.y != 0)
    {
        InputEvent event;
        event.kind = InputEvent::Kind::PointerStep;
        event.x = step.x;
        event.y = step.y;
        events.push_back(event);
    }
}

} // namespace platform
