// The real and the virtual clock.
#include "platform/win32/clock.h"

#include "platform/win32/testseams.h"

#include <chrono>

namespace platform
{

std::uint64_t Clock::NowMicroseconds()
{
    const TestSeams& seams = TestSeams::Get();
    if (seams.virtualClock)
        return seams.virtualMilliseconds * 1000;
    static const auto start = std::chrono::steady_clock::now();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                          std::chrono::steady_clock::now() - start)
                                          .count());
}

void Clock::SleepMicroseconds(std::uint64_t duration)
{
    TestSeams& seams = TestSeams::Get();
    if (seams.virtualClock)
    {
        seams.virtualMilliseconds += (duration + 999) / 1000;
        return;
    }
    SleepReal(duration);
}

} // namespace platform
