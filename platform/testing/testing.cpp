// The test seams of the display, the input and the clock, and the reset of all
// seams between tests.
#include "platform/testing/testing.h"

#include "platform/ddraw/softwaresurface.h"
#include "platform/present/display.h"
#include "platform/win32/messagequeue.h"
#include "platform/win32/testseams.h"

#include <stdexcept>
#include <utility>

namespace platform::testing
{

void UseHeadless()
{
    TestSeams::Get().headless = true;
}

void UseVirtualClock()
{
    TestSeams::Get().virtualClock = true;
}

std::uint64_t VirtualMilliseconds()
{
    return TestSeams::Get().virtualMilliseconds;
}

void InjectEvent(const InputEvent& event)
{
    TestSeams::Get().injectedEvents.push_back(event);
}

void SetModalAnswerer(std::function<int(ModalBox&)> answerer)
{
    TestSeams::Get().modalAnswerer = std::move(answerer);
}

std::vector<ModalBox> TakeModalBoxes()
{
    return std::exchange(TestSeams::Get().modalBoxes, {});
}

std::vector<std::string> TakeDebugOutput()
{
    return std::exchange(TestSeams::Get().debugOutput, {});
}

void RefuseDisplayMode(bool refuse)
{
    TestSeams::Get().refuseDisplayMode = refuse;
}

void RefuseSurfaceCreation(bool refuse)
{
    TestSeams::Get().refuseSurfaceCreation = refuse;
}

void RefuseFrameCreation(bool refuse)
{
    TestSeams::Get().refuseFrameCreation = refuse;
}

void LoseAllSurfaces()
{
    Display::Instance().LoseSurfaces();
}

void UseGeneralBlits(bool general)
{
    TestSeams::Get().generalBlitsOnly = general;
}

std::uint32_t ReadPixel(IDirectDrawSurface4* surface, int x, int y)
{
    if (surface == nullptr)
        throw std::invalid_argument("ReadPixel: no surface");
    const PixelBuffer& pixels = static_cast<SoftwareSurface*>(surface)->Pixels();
    if (x < 0 || y < 0 || x >= pixels.Width() || y >= pixels.Height())
        throw std::out_of_range("ReadPixel: outside the surface");
    return pixels.Get(x, y);
}

const PixelBuffer* ShownPicture()
{
    return Display::Instance().ShownPicture();
}

int PictureUploads()
{
    return Display::Instance().PictureUploads();
}

void Reset()
{
    TestSeams& seams = TestSeams::Get();
    TestSeams fresh;
    fresh.headless = seams.headless;
    fresh.virtualClock = seams.virtualClock;
    fresh.virtualMilliseconds = seams.virtualMilliseconds;
    seams = std::move(fresh);
    Display::Instance().Reset();
    MessageQueue::Instance().Clear();
}

} // namespace platform::testing
