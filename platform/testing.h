// Seams for the tests: no window, no sound device, a virtual clock, injected
// input, answers for modal boxes, faults on purpose, and pixels read back.
// Nothing in the game includes this header.
#pragma once

#include "platform/ddraw.h"
#include "platform/inputevent.h"
#include "platform/pixelbuffer.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform::testing
{

// Headless: no window is opened even if an X display exists; presents keep the
// picture in memory. Call before anything else of the platform is used.
void UseHeadless();

// Virtual clock: Sleep and the frame pacing advance it instead of waiting.
void UseVirtualClock();
std::uint64_t VirtualMilliseconds();

// Input as if it came from the window system, read in order.
void InjectEvent(const InputEvent& event);

// Modal boxes: every box is recorded; the answerer, when set, gives the result
// (without one, headless boxes answer IDOK at once).
struct ModalBox
{
    std::string caption;
    std::string text;
};
void SetModalAnswerer(std::function<int(const ModalBox&)> answerer);
std::vector<ModalBox> TakeModalBoxes();

// Everything written with OutputDebugStringA since the last call.
std::vector<std::string> TakeDebugOutput();

// Faults.
void RefuseDisplayMode(bool refuse);      // SetDisplayMode fails
void RefuseSurfaceCreation(bool refuse);  // CreateSurface fails
void LoseAllSurfaces();                   // as when the full-screen window loses focus

// The raw pixel value of a surface at (x, y), and the picture last presented.
std::uint32_t ReadPixel(IDirectDrawSurface4* surface, int x, int y);
const PixelBuffer* ShownPicture();

// Resets every seam above to its default (between tests); headless mode and
// the virtual clock stay as they are.
void Reset();

} // namespace platform::testing
