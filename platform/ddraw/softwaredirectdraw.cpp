// The DirectDraw object in software: cooperative level, display mode, surface creation.
#include "platform/ddraw/softwaredirectdraw.h"

#include "platform/ddraw/softwaresurface.h"
#include "platform/present/display.h"
#include "platform/win32/testseams.h"

const IID IID_IDirectDraw4 = {
    0x9c59509a, 0x39bd, 0x11d1, {0x8c, 0x4a, 0x00, 0xc0, 0x4f, 0xd9, 0x30, 0xc5}};

namespace
{

// Surfaces and display modes larger than this are refused: sizes can come
// from image files, and no picture of the game comes near it.
constexpr DWORD kMaxSurfaceSide = 4096;

} // namespace

HRESULT DirectDrawCreate(GUID* driver, IDirectDraw** directDraw, IUnknown* outer)
{
    if (directDraw == nullptr)
        return DDERR_INVALIDPARAMS;
    *directDraw = nullptr;
    if (outer != nullptr)
        return CLASS_E_NOAGGREGATION;
    // Only the default display driver exists.
    if (driver != nullptr)
        return DDERR_INVALIDDIRECTDRAWGUID;
    *directDraw = new platform::SoftwareDirectDraw;
    return DD_OK;
}

namespace platform
{

HRESULT SoftwareDirectDraw::QueryInterface(const IID& riid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (!(riid == IID_IDirectDraw4))
        return E_NOINTERFACE;
    *object = static_cast<IDirectDraw4*>(this);
    AddRef();
    return S_OK;
}

HRESULT SoftwareDirectDraw::SetCooperativeLevel(HWND, DWORD flags)
{
    const bool fullScreen = (flags & DDSCL_FULLSCREEN) != 0;
    const bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
    const bool normal = (flags & DDSCL_NORMAL) != 0;
    // Full screen and exclusive go together; normal excludes both.
    if (fullScreen != exclusive || (normal && fullScreen) || (!normal && !fullScreen))
        return DDERR_INVALIDPARAMS;
    m_bCooperativeLevelSet = true;
    m_bExclusive = exclusive;
    return DD_OK;
}

HRESULT SoftwareDirectDraw::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD,
                                           DWORD)
{
    if (!m_bExclusive)
        return DDERR_NOEXCLUSIVEMODE;
    if (width == 0 || height == 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide ||
        (bitsPerPixel != 16 && bitsPerPixel != 8))
        return DDERR_INVALIDMODE;
    if (TestSeams::Get().refuseDisplayMode)
        return DDERR_INVALIDMODE;
    Display& display = Display::Instance();
    if (!display.OpenFullScreen(static_cast<int>(width), static_cast<int>(height),
                                static_cast<int>(bitsPerPixel)))
        return DDERR_INVALIDMODE;
    const bool changed = !m_bModeSet || m_nBitsPerPixel != static_cast<int>(bitsPerPixel);
    m_bModeSet = true;
    m_nWidth = static_cast<int>(width);
    m_nHeight = static_cast<int>(height);
    m_nBitsPerPixel = static_cast<int>(bitsPerPixel);
    // A mode switch takes the video memory of every surface.
    if (changed)
        display.LoseSurfaces();
    return DD_OK;
}

HRESULT SoftwareDirectDraw::RestoreDisplayMode()
{
    if (m_bModeSet)
        Display::Instance().Close();
    m_bModeSet = false;
    return DD_OK;
}

HRESULT SoftwareDirectDraw::CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface4** surface,
                                          IUnknown* outer)
{
    if (desc == nullptr || surface == nullptr)
        return DDERR_INVALIDPARAMS;
    *surface = nullptr;
    if (outer != nullptr)
        return CLASS_E_NOAGGREGATION;
    if (!m_bCooperativeLevelSet)
        return DDERR_NOCOOPERATIVELEVELSET;
    const DWORD caps = (desc->dwFlags & DDSD_CAPS) ? desc->ddsCaps.dwCaps : 0;
    if ((caps & DDSCAPS_VIDEOMEMORY) && (caps & DDSCAPS_SYSTEMMEMORY))
        return DDERR_INVALIDCAPS;
    if (TestSeams::Get().refuseSurfaceCreation)
        return (caps & DDSCAPS_SYSTEMMEMORY) ? DDERR_OUTOFMEMORY : DDERR_OUTOFVIDEOMEMORY;
    if (caps & DDSCAPS_PRIMARYSURFACE)
        return CreatePrimary(*desc, surface);
    if (caps & (DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_BACKBUFFER | DDSCAPS_FRONTBUFFER))
        return DDERR_INVALIDCAPS;

    if ((desc->dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT) ||
        desc->dwWidth == 0 || desc->dwHeight == 0)
        return DDERR_INVALIDPARAMS;
    if (desc->dwWidth > kMaxSurfaceSide)
        return DDERR_TOOBIGWIDTH;
    if (desc->dwHeight > kMaxSurfaceSide)
        return DDERR_TOOBIGHEIGHT;
    // Where no placement is asked for, the surface goes to video memory.
    DWORD placement = caps & (DDSCAPS_VIDEOMEMORY | DDSCAPS_SYSTEMMEMORY);
    if (placement == 0)
        placement = DDSCAPS_VIDEOMEMORY;
    *surface =
        new SoftwareSurface(this, static_cast<int>(desc->dwWidth), static_cast<int>(desc->dwHeight),
                            m_nBitsPerPixel, DDSCAPS_OFFSCREENPLAIN | placement);
    return DD_OK;
}

HRESULT SoftwareDirectDraw::CreatePrimary(const DDSURFACEDESC2& desc, IDirectDrawSurface4** surface)
{
    const DWORD caps = desc.ddsCaps.dwCaps;
    const bool flipChain = (caps & DDSCAPS_FLIP) != 0;
    if (m_pPrimary != nullptr)
        return DDERR_PRIMARYSURFACEALREADYEXISTS;
    if (flipChain)
    {
        if (!(caps & DDSCAPS_COMPLEX) || !(desc.dwFlags & DDSD_BACKBUFFERCOUNT))
            return DDERR_INVALIDCAPS;
        if (!m_bExclusive)
            return DDERR_NOEXCLUSIVEMODE;
        // The game's chain has exactly one back buffer.
        if (desc.dwBackBufferCount != 1)
            return DDERR_INVALIDPARAMS;
    }
    auto* primary =
        new SoftwareSurface(this, m_nWidth, m_nHeight, m_nBitsPerPixel,
                            DDSCAPS_PRIMARYSURFACE | DDSCAPS_FRONTBUFFER | DDSCAPS_VIDEOMEMORY |
                                (flipChain ? DDSCAPS_FLIP | DDSCAPS_COMPLEX : 0));
    if (flipChain)
        primary->CreateBackBuffer();
    m_pPrimary = primary;
    *surface = primary;
    return DD_OK;
}

HRESULT SoftwareDirectDraw::FlipToGDISurface()
{
    // The desktop surface is the front buffer's picture itself: the picture
    // shown last stays visible and dialogs are drawn over it.
    return DD_OK;
}

void SoftwareDirectDraw::ForgetPrimary(const SoftwareSurface* primary)
{
    if (m_pPrimary == primary)
        m_pPrimary = nullptr;
}

} // namespace platform
