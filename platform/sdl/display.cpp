// The window of the program and the presenting of its picture, the pointer,
// and the surfaces' loss when the full-screen window loses the focus.
#include "platform/sdl/display.h"

#include "platform/sdl/controllers.h"
#include "platform/sdl/inputtranslation.h"
#include "platform/sdl/sdlsubsystem.h"

#include "platform/win32/clock.h"
#include "platform/win32/screenmode.h"
#include "platform/win32/testseams.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace platform
{

namespace
{

struct WindowDeleter
{
    void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
};
struct RendererDeleter
{
    void operator()(SDL_Renderer* renderer) const { SDL_DestroyRenderer(renderer); }
};
struct TextureDeleter
{
    void operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }
};

constexpr int kDefaultRefreshRate = 60;

// Video drivers that draw nowhere a player could see.
bool IsInvisibleDriver(const char* driver)
{
    return SDL_strcasecmp(driver, "offscreen") == 0 || SDL_strcasecmp(driver, "dummy") == 0 ||
           SDL_strcasecmp(driver, "evdev") == 0;
}
// This many presents in a row that came back at once mean that the driver
// ignores vsync; the refresh period is then waited out by hand.
constexpr int kPresentsBeforeDistrustingVsync = 8;

} // namespace

struct Display::Impl
{
    bool videoTried = false;
    bool videoAvailable = false;
    std::unique_ptr<SDL_Window, WindowDeleter> window;
    std::unique_ptr<SDL_Renderer, RendererDeleter> renderer;
    std::unique_ptr<SDL_Texture, TextureDeleter> texture;
    int textureWidth = 0;
    int textureHeight = 0;
    int width = 640;
    int height = 480;
    int refreshRate = kDefaultRefreshRate;
    bool vsync = false;
    int quickPresents = 0;
    std::uint64_t lastPresentEnd = 0;
    bool minimised = false;

    std::optional<PixelBuffer> shown;
    int uploads = 0;
    std::uint64_t lossGeneration = 0;
    int cursorShowCount = 0;
    bool cursorVisible = true;
    POINT cursor{0, 0};
    // Where the pointer was warped to, until SDL reports the motion.
    std::optional<POINT> warped;
    Controllers controllers;
    std::vector<std::uint32_t> colours16; // RGB565 -> ARGB8888
    std::vector<std::uint32_t> colours8;  // 3-3-2 -> ARGB8888
    std::vector<std::uint32_t> icon;      // ARGB8888
    int iconWidth = 0;

    bool VideoAvailable();
    bool OpenWindow(int w, int h);
    void Render(const PixelBuffer& picture);
    void WaitForRefresh() const;
    const std::vector<std::uint32_t>& Colours(int bitsPerPixel);
    void Apply(const InputEvent& event);
    void ShowIcon();
    POINT Clamp(int x, int y) const
    {
        return {std::clamp(x, 0, width - 1), std::clamp(y, 0, height - 1)};
    }
};

bool Display::Impl::VideoAvailable()
{
    if (!videoTried)
    {
        videoTried = true;
        const char* requested = std::getenv("SDL_VIDEODRIVER");
        const bool server = std::getenv("DISPLAY") != nullptr ||
                            std::getenv("WAYLAND_DISPLAY") != nullptr || requested != nullptr;
        videoAvailable = server && InitSdlSubsystem(SDL_INIT_VIDEO);
        // A display server that is not there (a stale DISPLAY, a server not up
        // yet) makes SDL fall through to a driver that shows nothing; such a
        // game would wait where nobody sees it. Only asked for by name.
        const char* driver = videoAvailable ? SDL_GetCurrentVideoDriver() : nullptr;
        if (driver != nullptr && IsInvisibleDriver(driver) &&
            (requested == nullptr || SDL_strcasecmp(requested, driver) != 0))
        {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            videoAvailable = false;
        }
    }
    return videoAvailable;
}

bool Display::Impl::OpenWindow(int w, int h)
{
    width = w;
    height = h;
    if (!window)
    {
        // Made at the desktop's size and place already, so that the picture
        // covers the screen even where no window manager makes it full-screen.
        // A window is the largest whole multiple of the picture that fits.
        const bool inWindow = GetScreenMode() == ScreenMode::Window;
        SDL_Rect bounds{SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, w, h};
        if (!inWindow)
            SDL_GetDisplayBounds(0, &bounds);
        else if (SDL_GetDisplayUsableBounds(0, &bounds) == 0)
        {
            const int scale = std::max(1, std::min(bounds.w / w, bounds.h / h));
            bounds = {SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w * scale, h * scale};
        }
        window.reset(
            SDL_CreateWindow("TamZelon", bounds.x, bounds.y, bounds.w, bounds.h,
                             inWindow ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_FULLSCREEN_DESKTOP));
        if (!window)
            return false;
        SDL_DisplayMode mode;
        const bool rateKnown =
            SDL_GetDesktopDisplayMode(SDL_GetWindowDisplayIndex(window.get()), &mode) == 0 &&
            mode.refresh_rate > 0;
        refreshRate = rateKnown ? mode.refresh_rate : kDefaultRefreshRate;
        // Scaling must be nearest-neighbour before the texture exists.
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
        // Vsync only where the refresh rate is known; else the period is waited out.
        renderer.reset(
            SDL_CreateRenderer(window.get(), -1, rateKnown ? SDL_RENDERER_PRESENTVSYNC : 0));
        if (!renderer)
            renderer.reset(SDL_CreateRenderer(window.get(), -1, SDL_RENDERER_SOFTWARE));
        if (!renderer)
        {
            window.reset();
            return false;
        }
        SDL_RendererInfo info;
        vsync = SDL_GetRendererInfo(renderer.get(), &info) == 0 &&
                (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
        quickPresents = 0;
        minimised = false;
        ShowIcon();
        controllers.Start();
        SDL_ShowCursor(cursorVisible ? SDL_ENABLE : SDL_DISABLE);
    }
    SDL_RenderSetLogicalSize(renderer.get(), w, h);
    if (!texture || textureWidth != w || textureHeight != h)
    {
        texture.reset(SDL_CreateTexture(renderer.get(), SDL_PIXELFORMAT_ARGB8888,
                                        SDL_TEXTUREACCESS_STREAMING, w, h));
        if (!texture)
        {
            renderer.reset();
            window.reset();
            return false;
        }
        textureWidth = w;
        textureHeight = h;
    }
    SDL_SetRenderDrawColor(renderer.get(), 0, 0, 0, 255);
    SDL_RenderClear(renderer.get());
    SDL_RenderPresent(renderer.get());
    return true;
}

void Display::Impl::ShowIcon()
{
    if (!window || icon.empty())
        return;
    const int height = static_cast<int>(icon.size()) / iconWidth;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        icon.data(), iconWidth, height, 32, iconWidth * 4, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr)
        return;
    SDL_SetWindowIcon(window.get(), surface);
    SDL_FreeSurface(surface);
}

const std::vector<std::uint32_t>& Display::Impl::Colours(int bitsPerPixel)
{
    std::vector<std::uint32_t>& table = bitsPerPixel == 8 ? colours8 : colours16;
    if (table.empty())
    {
        table.resize(bitsPerPixel == 8 ? 256 : 65536);
        for (std::size_t value = 0; value < table.size(); ++value)
        {
            const Rgb c = PixelBuffer::ToRgb(static_cast<std::uint32_t>(value), bitsPerPixel);
            table[value] =
                0xFF000000u | (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
        }
    }
    return table;
}

void Display::Impl::Render(const PixelBuffer& picture)
{
    if (picture.Width() != textureWidth || picture.Height() != textureHeight)
        if (!OpenWindow(picture.Width(), picture.Height()))
            return;
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture.get(), nullptr, &pixels, &pitch) != 0)
        return;
    const std::vector<std::uint32_t>& colours = Colours(picture.BitsPerPixel());
    for (int y = 0; y < picture.Height(); ++y)
    {
        auto* out = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(pixels) +
                                                     static_cast<std::size_t>(y) * pitch);
        const std::uint8_t* in = picture.Row(y);
        if (picture.BitsPerPixel() == 8)
            for (int x = 0; x < picture.Width(); ++x)
                out[x] = colours[in[x]];
        else
            for (int x = 0; x < picture.Width(); ++x)
            {
                std::uint16_t value;
                std::memcpy(&value, in + 2 * x, sizeof value);
                out[x] = colours[value];
            }
    }
    SDL_UnlockTexture(texture.get());
    // The whole frame every time: the border around the picture stays black.
    SDL_RenderClear(renderer.get());
    SDL_RenderCopy(renderer.get(), texture.get(), nullptr, nullptr);
    SDL_RenderPresent(renderer.get());

    const std::uint64_t now = Clock::NowMicroseconds();
    if (vsync)
    {
        const std::uint64_t halfPeriod = 500000 / static_cast<std::uint64_t>(refreshRate);
        quickPresents = now - lastPresentEnd < halfPeriod ? quickPresents + 1 : 0;
        if (quickPresents >= kPresentsBeforeDistrustingVsync)
            vsync = false;
    }
    lastPresentEnd = now;
}

void Display::Impl::WaitForRefresh() const
{
    // Up to the next vertical blank of a display refreshing at refreshRate.
    const std::uint64_t period = 1000000 / static_cast<std::uint64_t>(refreshRate);
    const std::uint64_t now = Clock::NowMicroseconds();
    Clock::SleepMicroseconds((now / period + 1) * period - now);
}

void Display::Impl::Apply(const InputEvent& event)
{
    switch (event.kind)
    {
    case InputEvent::Kind::MouseMove:
    case InputEvent::Kind::MouseDown:
    case InputEvent::Kind::MouseUp:
        cursor = Clamp(event.x, event.y);
        warped.reset();
        break;
    case InputEvent::Kind::FocusLost:
        // As in exclusive mode: the video memory is gone, the mouse is free.
        ++lossGeneration;
        if (window)
            SDL_SetWindowGrab(window.get(), SDL_FALSE);
        break;
    case InputEvent::Kind::FocusGained:
        if (window)
            SDL_SetWindowGrab(window.get(), SDL_TRUE);
        break;
    case InputEvent::Kind::Hidden:
        minimised = true;
        break;
    case InputEvent::Kind::Exposed:
        minimised = false;
        if (shown)
            Render(*shown);
        break;
    default:
        break;
    }
}

Display::Display() : m_pImpl(std::make_unique<Impl>()) {}

Display::~Display() = default;

Display& Display::Instance()
{
    // Never destroyed: surfaces released during the program's exit still find it.
    static Display* display = new Display;
    return *display;
}

bool Display::IsHeadless() const
{
    return TestSeams::Get().headless || !m_pImpl->VideoAvailable();
}

bool Display::OpenFullScreen(int width, int height, int bitsPerPixel)
{
    if (width <= 0 || height <= 0 || (bitsPerPixel != 8 && bitsPerPixel != 16))
        return false;
    Impl& m = *m_pImpl;
    if (TestSeams::Get().headless)
    {
        m.width = width;
        m.height = height;
        return true;
    }
    // Without a display server there is no screen to switch: the mode is refused,
    // so the player learns why instead of a game running where nobody sees it.
    if (!m.VideoAvailable())
        return false;
    return m.OpenWindow(width, height);
}

void Display::Close()
{
    Impl& m = *m_pImpl;
    m.texture.reset();
    m.textureWidth = m.textureHeight = 0;
    m.renderer.reset();
    m.window.reset();
}

void Display::SetWindowIcon(int width, int height, std::span<const std::uint32_t> argb)
{
    Impl& m = *m_pImpl;
    if (width <= 0 || height <= 0 || argb.size() != static_cast<std::size_t>(width) * height)
        return;
    m.icon.assign(argb.begin(), argb.end());
    m.iconWidth = width;
    m.ShowIcon();
}

void Display::Present(const PixelBuffer& picture, bool wait)
{
    Impl& m = *m_pImpl;
    // The left stick moves the pointer a little every frame.
    if (m.window)
        if (const POINT step = m.controllers.TakePointerMotion(Clock::NowMicroseconds());
            step.x != 0 || step.y != 0)
        {
            const POINT at = CursorPosition();
            WarpPointer(at.x + step.x, at.y + step.y);
        }
    const bool same =
        m.shown && m.shown->Width() == picture.Width() && m.shown->Height() == picture.Height() &&
        m.shown->BitsPerPixel() == picture.BitsPerPixel() && m.shown->Bytes() == picture.Bytes();
    bool waitedForVsync = false;
    if (!same)
    {
        m.shown = picture;
        ++m.uploads;
        if (!m.window && !IsHeadless())
            m.OpenWindow(picture.Width(), picture.Height());
        // Nothing is drawn while minimised; the picture is shown on return.
        if (m.window && !m.minimised)
        {
            m.Render(*m.shown);
            waitedForVsync = m.vsync;
        }
    }
    if (wait && !waitedForVsync)
        m.WaitForRefresh();
}

const PixelBuffer* Display::ShownPicture() const
{
    return m_pImpl->shown ? &*m_pImpl->shown : nullptr;
}

InputEvent Display::NextEvent(int timeoutMs)
{
    Impl& m = *m_pImpl;
    auto& injected = TestSeams::Get().injectedEvents;
    if (!injected.empty())
    {
        InputEvent event = injected.front();
        injected.pop_front();
        m.Apply(event);
        return event;
    }
    if (!m.window)
    {
        if (timeoutMs > 0)
            Clock::SleepMicroseconds(static_cast<std::uint64_t>(timeoutMs) * 1000);
        return {};
    }
    const Uint64 deadline = SDL_GetTicks64() + static_cast<Uint64>(std::max(timeoutMs, 0));
    for (;;)
    {
        SDL_Event sdlEvent;
        const Uint64 now = SDL_GetTicks64();
        const int got = timeoutMs > 0 && now < deadline
                            ? SDL_WaitEventTimeout(&sdlEvent, static_cast<int>(deadline - now))
                            : SDL_PollEvent(&sdlEvent);
        if (!got)
            return {};
        m.controllers.Handle(sdlEvent);
        InputEvent event = TranslateEvent(sdlEvent);
        if (event.IsMouse())
        {
            const POINT p = m.Clamp(event.x, event.y);
            event.x = p.x;
            event.y = p.y;
        }
        m.Apply(event);
        if (event.kind != InputEvent::Kind::None && event.kind != InputEvent::Kind::Hidden &&
            event.kind != InputEvent::Kind::Exposed)
            return event;
    }
}

POINT Display::CursorPosition() const
{
    const Impl& m = *m_pImpl;
    if (!m.renderer)
        return m.cursor;
    if (m.warped)
        return *m.warped;
    // The mouse state is in window coordinates, not rescaled like the events.
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    float logicalX = 0, logicalY = 0;
    SDL_RenderWindowToLogical(m.renderer.get(), x, y, &logicalX, &logicalY);
    return m.Clamp(static_cast<int>(logicalX), static_cast<int>(logicalY));
}

void Display::WarpPointer(int x, int y)
{
    Impl& m = *m_pImpl;
    m.cursor = m.Clamp(x, y);
    if (!m.renderer)
        return;
    // To the middle of the logical pixel, so that reading it back gives it again.
    int windowX = 0, windowY = 0;
    SDL_RenderLogicalToWindow(m.renderer.get(), static_cast<float>(m.cursor.x) + 0.5f,
                              static_cast<float>(m.cursor.y) + 0.5f, &windowX, &windowY);
    SDL_WarpMouseInWindow(m.window.get(), windowX, windowY);
    m.warped = m.cursor;
}

void Display::SetSystemCursorVisible(bool visible)
{
    m_pImpl->cursorVisible = visible;
    if (m_pImpl->window)
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

int Display::ChangeCursorShowCount(bool show)
{
    const int count = m_pImpl->cursorShowCount += show ? 1 : -1;
    SetSystemCursorVisible(count >= 0);
    return count;
}

std::uint64_t Display::LossGeneration() const
{
    return m_pImpl->lossGeneration;
}

void Display::LoseSurfaces()
{
    ++m_pImpl->lossGeneration;
}

int Display::PictureUploads() const
{
    return m_pImpl->uploads;
}

void Display::Reset()
{
    Impl& m = *m_pImpl;
    m.shown.reset();
    m.uploads = 0;
    m.cursorShowCount = 0;
    m.cursor = {0, 0};
    m.warped.reset();
    SetSystemCursorVisible(true);
}

} // namespace platform
