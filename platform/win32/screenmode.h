// Whether the game's picture fills the screen or shows in a window. The
// program chooses before its display opens; the display reads the choice when
// it makes the window, and the program remembers it for the next start.
#pragma once

namespace platform
{

// The desktop's size, where the platform needs a picture size before the
// game has set a display mode (a box shown before the display opened).
constexpr int kDesktopWidth = 640;
constexpr int kDesktopHeight = 480;

enum class ScreenMode
{
    FullScreen,
    Window,
};

ScreenMode GetScreenMode();
void SetScreenMode(ScreenMode mode);

} // namespace platform
