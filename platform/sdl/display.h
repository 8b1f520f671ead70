// The one window of the program and what is on it. Owns the SDL window, the
// renderer and its textures, or nothing at all when headless.
// Used by the DirectDraw surfaces (present a flipped picture) and by the modal
// boxes and dialogs (show their own picture, read input in their own loop).
#pragma once

#include "platform/win32/inputevent.h"
#include "platform/win32/pixelbuffer.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

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

    // True when there is no window: no X display, or a test asked for it.
    bool IsHeadless() const;

    // Switches to the 640 x 480 full-screen picture; false when refused.
    bool OpenFullScreen(int width, int height, int bitsPerPixel);
    void Close();

    // Full screen to a window or back (Alt+Enter); the choice becomes the
    // screen mode that is remembered. Kept as it is when the system refuses.
    void SwitchScreenMode();

    // The window's icon (task bar, switcher): ARGB rows from the top. Kept
    // for a window made later.
    void SetWindowIcon(int width, int height, std::span<const std::uint32_t> argb);

    // Rows [top, bottom) of a picture.
    struct Rows
    {
        int top = 0;
        int bottom = 0;
    };

    // Shows the picture at once (converted from its pixel format); with wait,
    // paces to the display's refresh. A picture equal to the one on screen is
    // not uploaded again, but the wait still happens. A flip chain presents
    // its two buffers in turn and tells the rows written into each since it
    // was last presented: only those and the rows the last present changed can
    // differ from the screen, so only they are compared.
    void Present(const PixelBuffer& picture, bool wait, std::optional<Rows> written = std::nullopt);

    // The picture shown last, or null before the first present.
    const PixelBuffer* ShownPicture() const;

    // The next input event, waiting at most timeoutMs (0: do not wait).
    // Events are also turned into window messages by the message queue.
    InputEvent NextEvent(int timeoutMs);

    // The cursor in display pixels.
    POINT CursorPosition() const;
    // Moves the pointer to that display pixel (clamped to the picture).
    void WarpPointer(int x, int y);
    void SetSystemCursorVisible(bool visible);
    // The ShowCursor count: the cursor shows while it is 0 or more. Returns the new count.
    int ChangeCursorShowCount(bool show);

    // Surfaces made before the latest loss report it until they are restored.
    // A loss happens when the full-screen window loses the focus (a window on
    // the desktop loses nothing), or on a mode switch.
    std::uint64_t LossGeneration() const;
    void LoseSurfaces();

    // How often a changed picture was taken over (identical ones are skipped).
    int PictureUploads() const;
    // The rectangles of the picture that the last changed present showed again;
    // one rectangle of the whole picture when it was shown whole.
    const std::vector<RECT>& LastChanges() const;

    // Back to the state at start, for the next test: no picture, cursor count 0.
    void Reset();

    ~Display();

private:
    Display();
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};

} // namespace platform
