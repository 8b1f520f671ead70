// Injected input and waits on the clock, with nothing to show.
#include "platform/present/headlessbackend.h"

#include "platform/win32/clock.h"
#include "platform/win32/testseams.h"

namespace platform
{

bool HeadlessBackEnd::WaitForInput(int timeoutMs)
{
    if (!TestSeams::Get().injectedEvents.empty())
        return true;
    if (timeoutMs != 0)
        Clock::SleepMicroseconds(
            static_cast<std::uint64_t>(timeoutMs > 0 ? timeoutMs : kLookAgainMs) * 1000);
    return false;
}

void HeadlessBackEnd::TakeInput(std::vector<InputEvent>& events)
{
    auto& injected = TestSeams::Get().injectedEvents;
    events.insert(events.end(), injected.begin(), injected.end());
    injected.clear();
}

} // namespace platform
