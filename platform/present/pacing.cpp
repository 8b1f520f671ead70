// Vsync that is trusted until it proves false, the refresh waited out by
// hand, and the count of still frames before idling.
#include "platform/present/pacing.h"

#include "platform/win32/clock.h"

namespace platform
{

namespace
{

// This many presents in a row that came back at once mean that the driver
// ignores vsync; the refresh period is then waited out by hand.
constexpr int kPresentsBeforeDistrustingVsync = 8;

constexpr int kStillFramesBeforeIdling = 2;

} // namespace

void FramePacer::Shown(bool pacedByVsync, int refreshRate, std::uint64_t nowMicroseconds)
{
    if (Trusts(pacedByVsync))
    {
        const std::uint64_t halfPeriod = 500000 / static_cast<std::uint64_t>(refreshRate);
        m_nQuickPresents = nowMicroseconds - m_nLastShown < halfPeriod ? m_nQuickPresents + 1 : 0;
        m_bVsyncIgnored = m_nQuickPresents >= kPresentsBeforeDistrustingVsync;
    }
    m_nLastShown = nowMicroseconds;
}

void FramePacer::WaitForRefresh(int refreshRate)
{
    const std::uint64_t period = 1000000 / static_cast<std::uint64_t>(refreshRate);
    const std::uint64_t now = Clock::NowMicroseconds();
    Clock::SleepMicroseconds((now / period + 1) * period - now);
}

void IdlePolicy::Presented(bool pictureStood)
{
    m_nStillFrames = pictureStood && !m_bInputSincePresent ? m_nStillFrames + 1 : 0;
    m_bInputSincePresent = false;
}

bool IdlePolicy::MayIdle() const
{
    return m_nStillFrames >= kStillFramesBeforeIdling;
}

} // namespace platform
