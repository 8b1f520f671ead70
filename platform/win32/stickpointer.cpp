// The stick's dead zone and speed, and the pointer's steps from it.
#include "platform/win32/stickpointer.h"

#include <algorithm>
#include <cmath>

namespace platform
{

namespace
{

// A stick at rest is rarely centred exactly: this much of its travel does nothing.
constexpr double kDeadZone = 0.25;
// Display pixels a second at full lean: across the picture in about 1.3 s.
constexpr double kFullSpeed = 480.0;
// A longer gap between frames (a dialog, a stall) does not become a jump.
constexpr std::uint64_t kLongestStepMicroseconds = 100000;
constexpr double kAxisRange = 32767.0;

} // namespace

PointerMotion StickMotion(int axisX, int axisY, std::uint64_t microseconds)
{
    const double x = std::clamp(axisX / kAxisRange, -1.0, 1.0);
    const double y = std::clamp(axisY / kAxisRange, -1.0, 1.0);
    const double lean = std::hypot(x, y);
    if (lean <= kDeadZone)
        return {};
    // Squared beyond the dead zone: fine aim near the centre, speed at the rim.
    const double strength = std::min(1.0, (lean - kDeadZone) / (1.0 - kDeadZone));
    const double seconds =
        static_cast<double>(std::min(microseconds, kLongestStepMicroseconds)) / 1e6;
    const double distance = strength * strength * kFullSpeed * seconds;
    return {x / lean * distance, y / lean * distance};
}

POINT StickPointer::Take(std::span<const StickLean> sticks, std::uint64_t nowMicroseconds)
{
    const std::uint64_t elapsed = m_nLastStep == 0 ? 0 : nowMicroseconds - m_nLastStep;
    m_nLastStep = nowMicroseconds;
    PointerMotion motion;
    for (const StickLean& stick : sticks)
    {
        const PointerMotion step = StickMotion(stick.x, stick.y, elapsed);
        motion.x += step.x;
        motion.y += step.y;
    }
    m_bLeaning = motion.x != 0 || motion.y != 0;
    if (!m_bLeaning)
    {
        // A released stick leaves no fraction behind to drift with later.
        m_dRestX = m_dRestY = 0;
        return {0, 0};
    }
    m_dRestX += motion.x;
    m_dRestY += motion.y;
    const POINT whole{static_cast<LONG>(m_dRestX), static_cast<LONG>(m_dRestY)};
    m_dRestX -= whole.x;
    m_dRestY -= whole.y;
    return whole;
}

} // namespace platform
