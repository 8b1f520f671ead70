// The pointer moved by controllers' sticks, the same for every back end:
// nothing in a dead zone around the centre, then faster the further a stick
// leans, in whole pixels with the fraction kept for the next step.
#pragma once

#include "platform/win32/win32.h"

#include <cstdint>
#include <span>

namespace platform
{

// Pointer motion in display pixels.
struct PointerMotion
{
    double x = 0;
    double y = 0;
};

// A left stick's lean, each axis -32768..32767.
struct StickLean
{
    int x = 0;
    int y = 0;
};

// The motion of the pointer with the left stick at (axisX, axisY) held for
// that many microseconds.
PointerMotion StickMotion(int axisX, int axisY, std::uint64_t microseconds);

class StickPointer
{
public:
    // Whole pixels the sticks moved the pointer since the last call; the
    // fraction is kept for the next one, so slow motion is smooth too.
    POINT Take(std::span<const StickLean> sticks, std::uint64_t nowMicroseconds);
    // A stick leaned beyond its dead zone at the last call: the pointer is
    // moving, also in frames where it moved less than a pixel.
    bool Leaning() const { return m_bLeaning; }

private:
    std::uint64_t m_nLastStep = 0;
    double m_dRestX = 0;
    double m_dRestY = 0;
    bool m_bLeaning = false;
};

} // namespace platform
