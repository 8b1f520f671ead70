// When presents follow one another: paced to the display's refresh, by its
// vertical blank while that can be trusted, else by waiting out the period;
// and idling, where a settled picture waits for input instead.
#pragma once

#include <cstdint>

namespace platform
{

class FramePacer
{
public:
    // After the back end showed a picture at nowMicroseconds. A back end's
    // vsync that keeps coming back at once is not trusted again.
    void Shown(bool pacedByVsync, int refreshRate, std::uint64_t nowMicroseconds);
    // Whether a show waits for the vertical blank.
    bool Trusts(bool pacedByVsync) const { return pacedByVsync && !m_bVsyncIgnored; }
    // A new area: its vsync is trusted again.
    void Reset() { *this = {}; }

    // Up to the next vertical blank of a display refreshing at refreshRate.
    static void WaitForRefresh(int refreshRate);

private:
    int m_nQuickPresents = 0;
    std::uint64_t m_nLastShown = 0;
    bool m_bVsyncIgnored = false;
};

// A picture that stood this many frames with no input between them stands
// until input comes: nothing but input changes a settled picture, so once
// nothing waits to be handled either, the loop waits for the next input
// instead of waking every refresh.
class IdlePolicy
{
public:
    void InputCame() { m_bInputSincePresent = true; }
    // After a present: whether its picture stood (unchanged, and shown).
    void Presented(bool pictureStood);
    // Whether the next wait may be for input rather than the refresh.
    bool MayIdle() const;

private:
    int m_nStillFrames = 0;
    bool m_bInputSincePresent = false;
};

} // namespace platform
