// The clock behind Sleep, GetTickCount and the frame pacing: the real
// monotonic clock, or the tests' virtual one that only moves when waited on.
#pragma once

#include <cstdint>

namespace platform
{

class Clock
{
public:
    static std::uint64_t NowMicroseconds();
    // Waits (or, on the virtual clock, advances by whole milliseconds).
    static void SleepMicroseconds(std::uint64_t duration);

private:
    // The real wait: the thread sleeps, or, where that would stall the
    // browser, the program yields to it meanwhile. One per back end.
    static void SleepReal(std::uint64_t duration);
};

} // namespace platform
