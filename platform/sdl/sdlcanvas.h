// Where the picture goes in the window: a streaming texture that the GPU
// scales (nearest neighbour to the whole multiple, then smoothly to the
// view), or, without a GPU, the window surface, which the presenting room
// scales into and of which only the drawn rectangles go to the X server.
#pragma once

#include "platform/win32/backend.h"

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <span>

namespace platform
{

class SdlCanvas
{
public:
    // Ready for a picture of that size in window, choosing the way with a
    // new window; false when neither way works there.
    bool Open(SDL_Window* window, int pictureWidth, int pictureHeight, bool rateKnown);
    void Close();

    bool ScalesItself() const { return !m_bWindowSurface; }
    bool PacedByVsync() const { return m_bVsync; }
    // The pixels the view is fitted into.
    void OutputSize(int& width, int& height) const;

    bool Upload(const RECT& rect, const std::uint32_t* pixels, int pitch);
    bool ShowPicture(const View& view);
    bool LockArea(AreaPixels& area);
    bool ShowArea(std::span<const RECT> rects);

private:
    struct RendererDeleter
    {
        void operator()(SDL_Renderer* renderer) const { SDL_DestroyRenderer(renderer); }
    };
    struct TextureDeleter
    {
        void operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }
    };
    using Texture = std::unique_ptr<SDL_Texture, TextureDeleter>;
    bool CreateRenderer(bool rateKnown);
    // The picture at view's whole multiple, where there is one to make.
    SDL_Texture* WholeMultiple(const View& view);

    SDL_Window* m_pWindow = nullptr;
    std::unique_ptr<SDL_Renderer, RendererDeleter> m_Renderer;
    Texture m_Texture;
    int m_nTextureWidth = 0;
    int m_nTextureHeight = 0;
    // The picture at the whole multiple, smoothed from there to the view;
    // none where the whole multiple is 1 or fills the view exactly.
    Texture m_WholeTexture;
    int m_nWholeTextureScale = 0;
    bool m_bVsync = false;
    // Without a renderer: the window surface last drawn into.
    bool m_bWindowSurface = false;
    SDL_Surface* m_pSurface = nullptr;
    int m_nSurfaceWidth = 0;
    int m_nSurfaceHeight = 0;
};

} // namespace platform
