// The framework's point: a POINT that can be built from two numbers or from
// the packed coordinates of a mouse message.
#pragma once

#include "platform/win32/win32.h"

class CPoint : public POINT
{
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int initX, int initY) : POINT{initX, initY} {}
    // Low word x, high word y, both signed.
    explicit CPoint(LPARAM packed)
        : POINT{static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(packed))),
                static_cast<std::int16_t>(HIWORD(static_cast<std::uintptr_t>(packed)))}
    {
    }

    friend bool operator==(const CPoint& a, const CPoint& b) { return a.x == b.x && a.y == b.y; }
};
