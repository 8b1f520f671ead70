// The one choice of window or full screen, kept for the display.
#include "platform/win32/screenmode.h"

namespace platform
{

namespace
{

ScreenMode g_Mode = ScreenMode::FullScreen;

} // namespace

ScreenMode GetScreenMode()
{
    return g_Mode;
}

void SetScreenMode(ScreenMode mode)
{
    g_Mode = mode;
}

} // namespace platform
