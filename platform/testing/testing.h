// Seams for the tests: no window, no sound device, a virtual clock, injected
// input, answers for modal boxes, faults on purpose, and pixels read back.
// Nothing in the game includes this header.
#pragma once

#include "platform/ddraw/ddraw.h"
#include "platform/win32/inputevent.h"
#include "platform/win32/pixelbuffer.h"
#include "platform/win32/testseams.h"

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

// Modal boxes and dialogs: every one is recorded; the answerer, when set, gives
// the result (without one, headless message boxes answer IDOK at once and
// headless dialogs IDCANCEL).
// A dialog's answer is the control id to press (IDCANCEL: Escape); the dialog
// takes editText into its edit field, then acts as on a real press, and asks
// again while it stays open.
void SetModalAnswerer(std::function<int(ModalBox&)> answerer);
std::vector<ModalBox> TakeModalBoxes();

// Everything written with OutputDebugStringA since the last call.
std::vector<std::string> TakeDebugOutput();

// Faults.
void RefuseDisplayMode(bool refuse);     // SetDisplayMode fails
void RefuseSurfaceCreation(bool refuse); // CreateSurface fails
void RefuseFrameCreation(bool refuse);   // CFrameWnd::OnCreate fails (returns -1)
void LoseAllSurfaces();                  // as when the full-screen window loses focus
// The CFile::Write that passes this many more bytes writes up to there, then
// fails once (disk full).
void FailFileWritesAfter(std::uint64_t bytes);
void FailNextFileClose(); // the next CFile::Close closes, then reports a failure

// Sound: headless, the device plays only when a test pulls the mix, in
// stereo at kMixRate frames per second (out holds 2 * frames samples).
void MixAudio(std::int16_t* out, int frames);
void RefuseSoundDevice(bool refuse);           // DirectSoundCreate fails
void RefuseSoundCooperativeLevel(bool refuse); // IDirectSound::SetCooperativeLevel fails
void RefuseSoundBuffer(bool refuse);           // CreateSoundBuffer fails
void RefuseSoundDuplicate(bool refuse);        // DuplicateSoundBuffer fails
void LoseSoundBuffers(); // every sound buffer stops and reports its memory lost

// Fills and copies take the general per-pixel path, to hold the fast paths to it.
void UseGeneralBlits(bool general);

// The raw pixel value of a surface at (x, y), and the picture last presented.
std::uint32_t ReadPixel(IDirectDrawSurface4* surface, int x, int y);
const PixelBuffer* ShownPicture();
// How many presents brought a changed picture (an identical one is not uploaded).
int PictureUploads();

// Resets every seam above to its default (between tests), and empties the
// message queue, the shown picture and the cursor's show count; headless mode
// and the virtual clock stay as they are.
void Reset();

} // namespace platform::testing
