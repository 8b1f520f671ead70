// The one picture area of the program and what is shown in it, the same for
// every back end: the shown picture and what changed of it, the picture's
// place in the area, pacing and idling, the input taken from the back end
// into the message queue, and the surfaces' loss.
// Used by the DirectDraw surfaces (present a flipped picture) and by the modal
// boxes and dialogs (show their own picture, read input in their own loop).
#pragma once

#include "platform/present/shownpicture.h"
#include "platform/win32/backend.h"
#include "platform/win32/pixelbuffer.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace platform
{

class Display
{
public:
    static Display& Instance()
    {
        // Never destroyed: surfaces released during the program's exit still find it.
        static Display* display = new Display;
        return *display;
    }

    // The back end from now on; until one is given, the headless one.
    void UseBackEnd(std::unique_ptr<BackEnd> backEnd);

    // True when nothing can be shown: no display server, or a test asked for it.
    bool IsHeadless() const;

    // Switches to a full-screen picture of the display mode; false when refused.
    bool OpenFullScreen(int width, int height, int bitsPerPixel);
    void Close();

    // Full screen to a window or back (Alt+Enter); the choice becomes the
    // screen mode that is remembered. Kept as it is when the system refuses.
    void SwitchScreenMode();

    // The area's icon (task bar, switcher): ARGB rows from the top.
    void SetWindowIcon(int width, int height, std::span<const std::uint32_t> argb);

    // Shows the picture at once (converted from its pixel format); with wait,
    // paces to the display's refresh. A picture equal to the one on screen is
    // not sent again, but the wait still happens. written: the rows written
    // into a flip chain's buffer since it was last presented (see ShownPicture).
    void Present(const PixelBuffer& picture, bool wait, std::optional<Rows> written = std::nullopt);

    // The picture shown last, or null before the first present.
    const PixelBuffer* ShownPicture() const;

    // Moves the input waiting at the back end into the message queue, waiting
    // up to timeoutMs (kWaitForever: no limit) for the first; true when any came.
    bool Pump(int timeoutMs);

    // Moves the one pointer (the message queue's) to that picture pixel,
    // clamped to the picture; the system's pointer follows once no mouse
    // input waits that came before.
    void WarpPointer(int x, int y);
    // The ShowCursor count: the cursor shows while it is 0 or more. Returns the new count.
    int ChangeCursorShowCount(bool show);

    // Surfaces made before the latest loss report it until they are restored.
    // A loss happens when the full-screen window loses the focus (a window on
    // the desktop loses nothing), or on a mode switch.
    std::uint64_t LossGeneration() const;
    void LoseSurfaces();

    // The back end's sound output (null: none) and its keeping of a
    // committed file (false: it may not be kept).
    std::unique_ptr<AudioOutput> OpenAudio(AudioOutput::Source source, void* context);
    bool KeepFile(const char* path);

    // How often a changed picture was taken over (identical ones are skipped).
    int PictureUploads() const;

    // Back to the state at start, for the next test: no picture, cursor count 0.
    void Reset();

    ~Display();

private:
    Display();
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};

} // namespace platform
