// Making the window in the screen mode chosen, and switching it.
#include "platform/sdl/sdlwindow.h"

#include "platform/sdl/sdlsubsystem.h"
#include "platform/sdl/windowlimit.h"
#include "platform/win32/backend.h"

#include <algorithm>
#include <cstdlib>

namespace platform
{

namespace
{

// Video drivers that draw nowhere a player could see.
bool IsInvisibleDriver(const char* driver)
{
    return SDL_strcasecmp(driver, "offscreen") == 0 || SDL_strcasecmp(driver, "dummy") == 0 ||
           SDL_strcasecmp(driver, "evdev") == 0;
}

} // namespace

bool SdlWindow::VideoAvailable()
{
    if (!m_bVideoTried)
    {
        m_bVideoTried = true;
        const char* requested = std::getenv("SDL_VIDEODRIVER");
        const bool server = std::getenv("DISPLAY") != nullptr ||
                            std::getenv("WAYLAND_DISPLAY") != nullptr || requested != nullptr;
        m_bVideoAvailable = server && InitSdlSubsystem(SDL_INIT_VIDEO);
        // A display server that is not there (a stale DISPLAY, a server not up
        // yet) makes SDL fall through to a driver that shows nothing; such a
        // game would wait where nobody sees it. Only asked for by name.
        const char* driver = m_bVideoAvailable ? SDL_GetCurrentVideoDriver() : nullptr;
        if (driver != nullptr && IsInvisibleDriver(driver) &&
            (requested == nullptr || SDL_strcasecmp(requested, driver) != 0))
        {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            m_bVideoAvailable = false;
        }
    }
    return m_bVideoAvailable;
}

SDL_Rect SdlWindow::FullScreenBounds(int displayIndex) const
{
    // The desktop's size and place, so that the picture covers the screen even
    // where no window manager makes the window full-screen.
    SDL_Rect bounds{0, 0, m_nPictureWidth, m_nPictureHeight};
    SDL_GetDisplayBounds(displayIndex, &bounds);
    return bounds;
}

SDL_Rect SdlWindow::WindowBounds(int displayIndex) const
{
    // The largest whole multiple of the picture that fits, centred.
    SDL_Rect bounds{0, 0, m_nPictureWidth, m_nPictureHeight};
    SDL_GetDisplayUsableBounds(displayIndex, &bounds);
    const int scale =
        std::max(1, std::min(bounds.w / m_nPictureWidth, bounds.h / m_nPictureHeight));
    const auto centred = static_cast<int>(SDL_WINDOWPOS_CENTERED_DISPLAY(displayIndex));
    return {centred, centred, m_nPictureWidth * scale, m_nPictureHeight * scale};
}

bool SdlWindow::Create(int pictureWidth, int pictureHeight)
{
    m_nPictureWidth = pictureWidth;
    m_nPictureHeight = pictureHeight;
    if (m_Window)
        return true;
    const bool inWindow = GetScreenMode() == ScreenMode::Window;
    const SDL_Rect bounds = inWindow ? WindowBounds(0) : FullScreenBounds(0);
    m_Window.reset(
        SDL_CreateWindow("TamZelon", bounds.x, bounds.y, bounds.w, bounds.h,
                         inWindow ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_FULLSCREEN_DESKTOP));
    if (!m_Window)
        return false;
    // A window manager keeps to this; the limit is enforced where one does not.
    SDL_SetWindowMaximumSize(m_Window.get(), kLongestWindowSide, kLongestWindowSide);
    SDL_DisplayMode mode;
    m_bRateKnown =
        SDL_GetDesktopDisplayMode(SDL_GetWindowDisplayIndex(m_Window.get()), &mode) == 0 &&
        mode.refresh_rate > 0;
    m_nRefreshRate = m_bRateKnown ? mode.refresh_rate : kDefaultRefreshRate;
    ShowIcon();
    ShowPointer(m_bPointerVisible);
    return true;
}

bool SdlWindow::Switch(ScreenMode mode)
{
    SDL_Window* const w = m_Window.get();
    const int displayIndex = std::max(0, SDL_GetWindowDisplayIndex(w));
    if (mode == ScreenMode::Window)
    {
        if (SDL_SetWindowFullscreen(w, 0) != 0)
            return false;
        SDL_SetWindowGrab(w, SDL_FALSE);
        SDL_SetWindowResizable(w, SDL_TRUE);
        const SDL_Rect bounds = WindowBounds(displayIndex);
        SDL_SetWindowSize(w, bounds.w, bounds.h);
        SDL_SetWindowPosition(w, bounds.x, bounds.y);
        return true;
    }
    // Covering the screen first, for where no window manager does it.
    const SDL_Rect bounds = FullScreenBounds(displayIndex);
    SDL_SetWindowPosition(w, bounds.x, bounds.y);
    SDL_SetWindowSize(w, bounds.w, bounds.h);
    if (SDL_SetWindowFullscreen(w, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
        return false;
    if (SDL_GetWindowFlags(w) & SDL_WINDOW_INPUT_FOCUS)
        SDL_SetWindowGrab(w, SDL_TRUE);
    return true;
}

bool SdlWindow::WithinSizeLimit()
{
    int w = 0, h = 0;
    SDL_GetWindowSize(m_Window.get(), &w, &h);
    const WindowSize allowed = AllowedWindowSize(w, h);
    if (allowed.width == w && allowed.height == h)
        return true;
    // Its size change brings the picture back.
    SDL_SetWindowSize(m_Window.get(), allowed.width, allowed.height);
    return false;
}

void SdlWindow::Focus(bool gained)
{
    // A window on the desktop never holds the mouse.
    if (m_Window && GetScreenMode() == ScreenMode::FullScreen)
        SDL_SetWindowGrab(m_Window.get(), gained ? SDL_TRUE : SDL_FALSE);
}

void SdlWindow::SetIcon(int width, std::span<const std::uint32_t> argb)
{
    m_Icon.assign(argb.begin(), argb.end());
    m_nIconWidth = width;
    ShowIcon();
}

void SdlWindow::ShowIcon()
{
    if (!m_Window || m_Icon.empty())
        return;
    const int height = static_cast<int>(m_Icon.size()) / m_nIconWidth;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        m_Icon.data(), m_nIconWidth, height, 32, m_nIconWidth * 4, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr)
        return;
    SDL_SetWindowIcon(m_Window.get(), surface);
    SDL_FreeSurface(surface);
}

void SdlWindow::ShowPointer(bool visible)
{
    m_bPointerVisible = visible;
    if (m_Window)
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

} // namespace platform
