// The game's one SDL window: over the whole desktop, or a window of the
// largest whole multiple of the picture that fits; switched between the two,
// held within the size limit, holding the mouse while it fills the screen
// with the focus; its icon and the pointer's visibility kept for a window
// made later.
#pragma once

#include "platform/win32/screenmode.h"

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace platform
{

class SdlWindow
{
public:
    // SDL's video started, on a display a player can see; tried once.
    bool VideoAvailable();
    // Makes the window for a picture of that size, unless it is there;
    // false when the system refused.
    bool Create(int pictureWidth, int pictureHeight);
    void Destroy() { m_Window.reset(); }
    SDL_Window* Get() const { return m_Window.get(); }

    // The desktop's refresh rate, and whether the display told it.
    int RefreshRate() const { return m_nRefreshRate; }
    bool RateKnown() const { return m_bRateKnown; }

    // Takes the window to that mode; false when the system refused.
    bool Switch(ScreenMode mode);
    // The window within the size limit; else asked back to it, and false.
    bool WithinSizeLimit();
    // The focus came or went: the mouse is held only by a full screen with the focus.
    void Focus(bool gained);
    void SetIcon(int width, std::span<const std::uint32_t> argb);
    void ShowPointer(bool visible);

private:
    struct WindowDeleter
    {
        void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
    };
    SDL_Rect FullScreenBounds(int displayIndex) const;
    SDL_Rect WindowBounds(int displayIndex) const;
    void ShowIcon();

    bool m_bVideoTried = false;
    bool m_bVideoAvailable = false;
    std::unique_ptr<SDL_Window, WindowDeleter> m_Window;
    int m_nPictureWidth = 0;
    int m_nPictureHeight = 0;
    int m_nRefreshRate = 0;
    bool m_bRateKnown = false;
    std::vector<std::uint32_t> m_Icon; // ARGB8888
    int m_nIconWidth = 0;
    bool m_bPointerVisible = true;
};

} // namespace platform
