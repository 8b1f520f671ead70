// Input made to order for the platform tests, as the SDL back end would
// deliver it, and where on the picture to aim it.
#pragma once

#include "platform/testing/testing.h"
#include "platform/win32/win32.h"

#include <cstdlib>

namespace events
{

using platform::InputEvent;
using Kind = InputEvent::Kind;

inline InputEvent Event(Kind kind, int x = 0, int y = 0)
{
    InputEvent e;
    e.kind = kind;
    e.x = x;
    e.y = y;
    return e;
}

inline InputEvent Key(UINT key, bool shift = false)
{
    InputEvent e = Event(Kind::KeyDown);
    e.key = key;
    e.shift = shift;
    return e;
}

inline InputEvent Mouse(Kind kind, POINT p)
{
    return Event(kind, p.x, p.y);
}

inline POINT Centre(const RECT& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

inline bool CentredIn(const RECT& r, int width, int height)
{
    return std::abs(r.left + r.right - width) <= 1 && std::abs(r.top + r.bottom - height) <= 1;
}

// Queued, and taken into the message queue by the next look at it.
inline void Deliver(const InputEvent& e)
{
    platform::testing::InjectEvent(e);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
}

} // namespace events
