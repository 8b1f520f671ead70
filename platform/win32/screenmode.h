// Whether the game's picture fills the screen or shows in a window. The
// program chooses before its display opens; the display reads the choice when
// it makes the window, and the program remembers it for the next start.
#pragma once

namespace platform
{

enum class ScreenMode
{
    FullScreen,
    Window,
};

ScreenMode GetScreenMode();
void SetScreenMode(ScreenMode mode);

} // namespace platform
