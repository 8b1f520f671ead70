// The real wait where the program has a thread of its own to put to sleep.
#include "platform/win32/clock.h"

#include <chrono>
#include <thread>

namespace platform
{

void Clock::SleepReal(std::uint64_t duration)
{
    std::this_thread::sleep_for(std::chrono::microseconds(duration));
}

} // namespace platform
