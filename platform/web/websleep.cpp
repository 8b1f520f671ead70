// The real wait in a page: the program yields to the browser meanwhile, so
// the page goes on drawing and taking input.
#include "platform/win32/clock.h"

#include "platform/web/pagecalls.h"

namespace platform
{

void Clock::SleepReal(std::uint64_t duration)
{
    tz_page_sleep(static_cast<int>((duration + 999) / 1000));
}

} // namespace platform
