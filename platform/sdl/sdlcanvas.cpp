// The renderer chosen for the machine, the texture uploads and the GPU's
// scaling, and the window surface lent out and sent.
#include "platform/sdl/sdlcanvas.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace platform
{

namespace
{

// Software GL costs tens of megabytes of mappings and redraws the whole
// window at every present; without a GPU device node it is all there is, so
// the picture goes to the window surface instead, rectangle by rectangle.
bool GpuDeviceExists()
{
    const char* software = std::getenv("LIBGL_ALWAYS_SOFTWARE");
    if (software != nullptr && *software != '\0' && std::strcmp(software, "0") != 0)
        return false;
    return access("/dev/dri", F_OK) == 0 || access("/dev/nvidia0", F_OK) == 0;
}

// A renderer that draws in software after all: SDL's own, or a GL driver
// that rasterizes on the CPU.
bool DrawsInSoftware(SDL_Renderer* renderer)
{
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || !(info.flags & SDL_RENDERER_ACCELERATED))
        return true;
    if (std::strncmp(info.name, "opengl", 6) != 0)
        return false;
    using GetString = const unsigned char* (*)(unsigned);
    constexpr unsigned kGlRenderer = 0x1F01;
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const auto* name = getString ? reinterpret_cast<const char*>(getString(kGlRenderer)) : nullptr;
    return name != nullptr && (std::strstr(name, "llvmpipe") || std::strstr(name, "softpipe") ||
                               std::strstr(name, "swrast"));
}

SDL_Rect ToSdl(const RECT& r)
{
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

} // namespace

bool SdlCanvas::CreateRenderer(bool rateKnown)
{
    m_bWindowSurface = !GpuDeviceExists();
    if (!m_bWindowSurface)
    {
        // Scaling must be nearest-neighbour before the texture exists.
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
        // Vsync only where the refresh rate is known; else the period is waited out.
        m_Renderer.reset(
            SDL_CreateRenderer(m_pWindow, -1, rateKnown ? SDL_RENDERER_PRESENTVSYNC : 0));
        m_bWindowSurface = !m_Renderer || DrawsInSoftware(m_Renderer.get());
    }
    if (m_bWindowSurface)
    {
        m_Renderer.reset();
        // Or SDL would put a renderer of its own behind the window surface.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        m_pSurface = nullptr;
        m_bVsync = false;
        const SDL_Surface* pixels = SDL_GetWindowSurface(m_pWindow);
        if (pixels != nullptr && pixels->format->BytesPerPixel == 4 && !SDL_MUSTLOCK(pixels))
            return true;
        // A window of another depth: SDL's own software renderer converts.
        m_bWindowSurface = false;
        m_Renderer.reset(SDL_CreateRenderer(m_pWindow, -1, SDL_RENDERER_SOFTWARE));
        if (!m_Renderer)
            return false;
    }
    SDL_RendererInfo info;
    m_bVsync = SDL_GetRendererInfo(m_Renderer.get(), &info) == 0 &&
               (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    return true;
}

bool SdlCanvas::Open(SDL_Window* window, int pictureWidth, int pictureHeight, bool rateKnown)
{
    if (window != m_pWindow)
    {
        Close();
        m_pWindow = window;
        if (!CreateRenderer(rateKnown))
        {
            Close();
            return false;
        }
    }
    if (m_bWindowSurface)
    {
        m_pSurface = nullptr; // the next picture is shown whole
        return true;
    }
    if (!m_Texture || m_nTextureWidth != pictureWidth || m_nTextureHeight != pictureHeight)
    {
        m_Texture.reset(SDL_CreateTexture(m_Renderer.get(), SDL_PIXELFORMAT_ARGB8888,
                                          SDL_TEXTUREACCESS_STREAMING, pictureWidth,
                                          pictureHeight));
        if (!m_Texture)
        {
            Close();
            return false;
        }
        m_nTextureWidth = pictureWidth;
        m_nTextureHeight = pictureHeight;
        m_WholeTexture.reset();
    }
    SDL_SetRenderDrawColor(m_Renderer.get(), 0, 0, 0, 255);
    SDL_RenderClear(m_Renderer.get());
    SDL_RenderPresent(m_Renderer.get());
    return true;
}

void SdlCanvas::Close()
{
    m_WholeTexture.reset();
    m_Texture.reset();
    m_nTextureWidth = m_nTextureHeight = 0;
    m_Renderer.reset();
    m_pSurface = nullptr;
    m_pWindow = nullptr;
}

void SdlCanvas::OutputSize(int& width, int& height) const
{
    width = height = 0;
    if (m_bWindowSurface)
        SDL_GetWindowSize(m_pWindow, &width, &height);
    else if (m_Renderer)
        SDL_GetRendererOutputSize(m_Renderer.get(), &width, &height);
}

bool SdlCanvas::Upload(const RECT& rect, const std::uint32_t* pixels, int pitch)
{
    const SDL_Rect r = ToSdl(rect);
    return m_Texture && SDL_UpdateTexture(m_Texture.get(), &r, pixels, pitch) == 0;
}

SDL_Texture* SdlCanvas::WholeMultiple(const View& view)
{
    if (!m_WholeTexture || m_nWholeTextureScale != view.whole)
    {
        m_WholeTexture.reset(
            SDL_CreateTexture(m_Renderer.get(), SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                              m_nTextureWidth * view.whole, m_nTextureHeight * view.whole));
        m_nWholeTextureScale = view.whole;
        if (m_WholeTexture)
            SDL_SetTextureScaleMode(m_WholeTexture.get(), SDL_ScaleModeLinear);
    }
    if (!m_WholeTexture || SDL_SetRenderTarget(m_Renderer.get(), m_WholeTexture.get()) != 0)
        return nullptr;
    SDL_SetTextureScaleMode(m_Texture.get(), SDL_ScaleModeNearest);
    SDL_RenderCopy(m_Renderer.get(), m_Texture.get(), nullptr, nullptr);
    SDL_SetRenderTarget(m_Renderer.get(), nullptr);
    return m_WholeTexture.get();
}

bool SdlCanvas::ShowPicture(const View& view)
{
    if (!m_Texture)
        return false;
    // Nearest neighbour up to the whole multiple, smoothed for the rest.
    const bool exact =
        view.width == m_nTextureWidth * view.whole && view.height == m_nTextureHeight * view.whole;
    SDL_Texture* scaled = nullptr;
    if (!exact && view.whole > 1 && SDL_RenderTargetSupported(m_Renderer.get()))
        scaled = WholeMultiple(view);
    if (scaled == nullptr)
    {
        scaled = m_Texture.get();
        SDL_SetTextureScaleMode(scaled, exact ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    }
    // After a present the renderer's buffer is undefined: the whole frame
    // every time, and the border around the picture stays black.
    const SDL_Rect place{view.x, view.y, view.width, view.height};
    SDL_RenderClear(m_Renderer.get());
    SDL_RenderCopy(m_Renderer.get(), scaled, nullptr, &place);
    SDL_RenderPresent(m_Renderer.get());
    return true;
}

bool SdlCanvas::LockArea(AreaPixels& area)
{
    // A new window surface (the first, or after a resize) is drawn whole.
    SDL_Surface* now = SDL_GetWindowSurface(m_pWindow);
    if (now == nullptr || now->format->BytesPerPixel != 4 || SDL_MUSTLOCK(now))
        return false;
    area.fresh = now != m_pSurface || now->w != m_nSurfaceWidth || now->h != m_nSurfaceHeight;
    m_pSurface = now;
    m_nSurfaceWidth = now->w;
    m_nSurfaceHeight = now->h;
    area.pixels = static_cast<std::uint8_t*>(now->pixels);
    area.pitch = now->pitch;
    area.width = now->w;
    area.height = now->h;
    area.format = {now->format->Rmask, now->format->Gmask, now->format->Bmask, now->format->Amask};
    return true;
}

bool SdlCanvas::ShowArea(std::span<const RECT> rects)
{
    if (rects.empty())
        return SDL_UpdateWindowSurface(m_pWindow) == 0;
    std::vector<SDL_Rect> shown;
    for (const RECT& r : rects)
        shown.push_back(ToSdl(r));
    return SDL_UpdateWindowSurfaceRects(m_pWindow, shown.data(), static_cast<int>(shown.size())) ==
           0;
}

} // namespace platform
